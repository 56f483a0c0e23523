#include "dxf/DxfOut.h"

#include "dxf/DatabaseView.h"
#include "dxf/DocumentWriter.h"
#include "dxf/EntityWriter.h"

namespace arxhost::dxf {

std::string SaveAsDxf(const AcDbDatabase& db, const std::string& nativePath) {
  DrawingView view = CollectDrawing(db);
  return SaveDocument(view, EmitDatabaseEntity, nativePath);
}

std::string DxfText(const AcDbDatabase& db) {
  DrawingView view = CollectDrawing(db);
  return WriteDocument(view, EmitDatabaseEntity);
}

}  // namespace arxhost::dxf
