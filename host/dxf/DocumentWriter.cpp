#include "dxf/DocumentWriter.h"

#include "win32/atomicfile.h"

namespace arxhost::dxf {

namespace {

// The sections in file order: header, then the classes and tables, blocks,
// entities and objects.
struct DocumentParts {
  std::string header, tables, blocks, entities, objects;
};

DocumentParts WriteParts(const DrawingView& view, const EntityEmitter& emitEntity) {
  Handles handles;
  // Sections are written out of file order: entities first, since writing
  // them makes blocks (dimension graphics) that the BLOCKS section and the
  // block-record table must hold; the header last, once the next free
  // handle is known. Handles are given on first use, so the order does not
  // change them.
  WriteContext ctx{view, handles, emitEntity};
  DocumentParts parts;
  WriteEntitiesSection(ctx);
  parts.entities = ctx.out.take();
  WriteBlocksSection(ctx);
  parts.blocks = ctx.out.take();
  WriteClassesSection(ctx);
  WriteTablesSection(ctx);
  parts.tables = ctx.out.take();
  WriteObjectsSection(ctx);
  ctx.out.type("EOF");
  parts.objects = ctx.out.take();
  WriteHeaderSection(ctx, handles.seed());
  parts.header = ctx.out.take();
  return parts;
}

}  // namespace

std::string WriteDocument(const DrawingView& view, const EntityEmitter& emitEntity) {
  DocumentParts parts = WriteParts(view, emitEntity);
  std::string text = std::move(parts.header);
  text.reserve(text.size() + parts.tables.size() + parts.blocks.size() + parts.entities.size() + parts.objects.size());
  for (const auto* part : {&parts.tables, &parts.blocks, &parts.entities, &parts.objects}) text += *part;
  return text;
}

std::string SaveDocument(const DrawingView& view, const EntityEmitter& emitEntity, const std::string& nativePath) {
  DocumentParts parts;
  try {
    parts = WriteParts(view, emitEntity);
  } catch (const DxfWriteError& e) {
    return "Cannot save " + nativePath + ": " + e.what() + ".";
  } catch (const std::bad_alloc&) {
    return "Cannot save " + nativePath + ": out of memory.";
  }
  // The sections go to the file one after the other, not joined first.
  return WriteFileAtomically(nativePath, {parts.header, parts.tables, parts.blocks, parts.entities, parts.objects});
}

}  // namespace arxhost::dxf
