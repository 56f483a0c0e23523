#pragma once
// The table records of a DXF file as new database records, built (and so
// checked) before the database is touched.
#include <memory>
#include <string>
#include <vector>

#include "dxf/DxfDocument.h"

class AcDbSymbolTableRecord;
class AcDbDimStyleTableRecord;

namespace arxhost::dxf {

struct RecordDeleter {
  void operator()(AcDbSymbolTableRecord* record) const;
};
using RecordPtr = std::unique_ptr<AcDbSymbolTableRecord, RecordDeleter>;

struct BuiltLayer {
  RecordPtr record;
  std::wstring linetype;
};

struct BuiltDimStyle {
  RecordPtr record;
  std::string textStyleHandle;  // of its text style (340), when it names one
};

struct BuiltTables {
  std::vector<RecordPtr> linetypes, textStyles;
  std::vector<BuiltLayer> layers;
  std::vector<BuiltDimStyle> dimStyles;
  std::vector<std::pair<std::string, std::wstring>> textStyleHandles;  // handle, style name
};

BuiltTables BuildTables(const DxfDocument& doc);

}  // namespace arxhost::dxf
