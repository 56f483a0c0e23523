#include "dxf/DocumentWriter.h"

#include "win32/atomicfile.h"

namespace arxhost::dxf {

std::string WriteDocument(const DrawingView& view, const EntityEmitter& emitEntity) {
  Handles handles;
  // Sections are written out of file order: entities first, since writing
  // them makes blocks (dimension graphics) that the BLOCKS section and the
  // block-record table must hold; the header last, once the next free
  // handle is known. Handles are given on first use, so the order does not
  // change them.
  WriteContext ctx{view, handles, emitEntity};
  WriteEntitiesSection(ctx);
  std::string entities = ctx.out.take();
  WriteBlocksSection(ctx);
  std::string blocks = ctx.out.take();
  WriteClassesSection(ctx);
  WriteTablesSection(ctx);
  std::string tables = ctx.out.take();
  WriteObjectsSection(ctx);
  ctx.out.type("EOF");
  std::string objects = ctx.out.take();
  WriteHeaderSection(ctx, handles.seed());

  std::string text = ctx.out.take();
  text.reserve(text.size() + tables.size() + blocks.size() + entities.size() + objects.size());
  for (const auto* part : {&tables, &blocks, &entities, &objects}) text += *part;
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
