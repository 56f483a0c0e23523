#pragma once
// The state shared by the section writers of one save.
#include <algorithm>
#include <cwctype>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "dxf/DrawingView.h"
#include "dxf/GroupWriter.h"
#include "dxf/Handles.h"

namespace arxhost::dxf {

struct WriteContext;
// Writes one entity (given by its object id) owned by the block record
// with the handle owner. Entities that cannot be written are skipped by it.
using EntityEmitter = std::function<void(WriteContext& ctx, std::uint64_t entity, Handle owner)>;

// A block the writer makes itself (the graphics of a dimension), with its
// entities already written.
struct MadeBlock {
  std::wstring name;
  std::string body;
};

struct WriteContext {
  WriteContext(const DrawingView& v, Handles& h, EntityEmitter emit) : view(v), handles(h), emitEntity(std::move(emit)) {}

  const DrawingView& view;
  Handles& handles;
  EntityEmitter emitEntity;
  GroupWriter out;  // where the section being written goes
  std::vector<MadeBlock> madeBlocks;
  Extents extents;  // of model space, once its entities are written
  int anonymousCounter = 0;

  // A name "*D<n>" that no block of the drawing has.
  std::wstring NewAnonymousName(std::wstring_view prefix);
  // Whether the drawing has a block of this name: model space, paper space
  // or a definition. Looked up per dimension and insert, so hashed.
  bool HasBlock(std::wstring_view name);

  // Symbol names compare without case in DXF.
  static std::string Key(std::string_view kind, std::wstring_view name) {
    std::string key(kind);
    key += ':';
    // Keys need only be unique, not readable: each character as its four
    // bytes after the separator.
    key.reserve(key.size() + name.size() * sizeof(std::uint32_t));
    for (wchar_t c : name) {
      auto u = static_cast<std::uint32_t>(std::towupper(static_cast<wint_t>(c)));
      for (int shift = 0; shift < 32; shift += 8) key += static_cast<char>((u >> shift) & 0xFF);
    }
    return key;
  }
  Handle table(std::string_view name) { return handles.of(std::string("table:") + std::string(name)); }
  Handle record(std::string_view kind, std::wstring_view name) { return handles.of(Key(kind, name)); }
  Handle object(std::string_view name) { return handles.of(std::string("object:") + std::string(name)); }
  Handle block(const BlockInfo& b) { return record("BLOCK_RECORD", b.name); }

 private:
  std::unordered_set<std::string> blockKeys_;  // of the view's blocks, made on first use
};

void WriteHeaderSection(WriteContext& ctx, Handle handseed);
void WriteClassesSection(WriteContext& ctx);
void WriteTablesSection(WriteContext& ctx);
void WriteBlocksSection(WriteContext& ctx);
void WriteEntitiesSection(WriteContext& ctx);
void WriteObjectsSection(WriteContext& ctx);

}  // namespace arxhost::dxf
