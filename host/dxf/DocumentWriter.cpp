#include "dxf/DocumentWriter.h"

#include "dxf/AtomicFile.h"

namespace arxhost::dxf {

std::string WriteDocument(const DrawingView& view, const EntityEmitter& emitEntity) {
  Handles handles;
  GroupWriter body;
  WriteContext ctx{view, body, handles, emitEntity};
  // The header comes first in the file but is written last: only then is
  // the next free handle known.
  WriteClassesSection(ctx);
  WriteTablesSection(ctx);
  WriteBlocksSection(ctx);
  WriteEntitiesSection(ctx);
  WriteObjectsSection(ctx);
  body.type("EOF");

  GroupWriter header;
  WriteContext headerCtx{view, header, handles, emitEntity};
  WriteHeaderSection(headerCtx, handles.seed());
  std::string text = header.take();
  text += body.str();
  return text;
}

std::string SaveDocument(const DrawingView& view, const EntityEmitter& emitEntity, const std::string& nativePath) {
  std::string text;
  try {
    text = WriteDocument(view, emitEntity);
  } catch (const DxfWriteError& e) {
    return "Cannot save " + nativePath + ": " + e.what() + ".";
  } catch (const std::bad_alloc&) {
    return "Cannot save " + nativePath + ": out of memory.";
  }
  return WriteFileAtomically(nativePath, text);
}

}  // namespace arxhost::dxf
