#include "dxf/DocumentWriter.h"

#include "win32/atomicfile.h"

namespace arxhost::dxf {

namespace {

// The sections in file order: header, then the classes and tables, blocks,
// entities and objects, each in the pieces it was written in.
struct DocumentParts {
  std::vector<std::string> header, tables, blocks, entities, objects;
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
  parts.entities = ctx.out.takePieces();
  WriteBlocksSection(ctx);
  parts.blocks = ctx.out.takePieces();
  WriteClassesSection(ctx);
  WriteTablesSection(ctx);
  parts.tables = ctx.out.takePieces();
  WriteObjectsSection(ctx);
  ctx.out.type("EOF");
  parts.objects = ctx.out.takePieces();
  WriteHeaderSection(ctx, handles.seed());
  parts.header = ctx.out.takePieces();
  return parts;
}

std::vector<std::string_view> InFileOrder(const DocumentParts& parts) {
  std::vector<std::string_view> pieces;
  for (const auto* part : {&parts.header, &parts.tables, &parts.blocks, &parts.entities, &parts.objects})
    for (const auto& piece : *part) pieces.push_back(piece);
  return pieces;
}

}  // namespace

std::string WriteDocument(const DrawingView& view, const EntityEmitter& emitEntity) {
  DocumentParts parts = WriteParts(view, emitEntity);
  const std::vector<std::string_view> pieces = InFileOrder(parts);
  std::size_t size = 0;
  for (auto piece : pieces) size += piece.size();
  std::string text;
  text.reserve(size);
  for (auto piece : pieces) text += piece;
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
  // The sections go to the file one piece after the other, not joined first.
  const std::vector<std::string_view> pieces = InFileOrder(parts);
  return WriteFileAtomically(nativePath, std::span<const std::string_view>(pieces));
}

}  // namespace arxhost::dxf
