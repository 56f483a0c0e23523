// STRINGTABLE [options] BEGIN id, "text" ... END: strings go into blocks of
// sixteen (block id/16 + 1), one resource per block and language.
#include <map>

#include "rcparser.h"

namespace arxrc {
namespace {

// Each language's blocks, gathered over every STRINGTABLE of the file, are
// written as one resource per block when the statement ends; a later table
// adds to blocks an earlier one began.
bool CompileStringTable(Parser& parser, std::uint32_t, std::vector<arxhost::ResourceBlob>& out) {
  // Options such as CHARACTERISTICS or VERSION may precede BEGIN.
  while (!parser.IsBegin() && !parser.AtEnd()) parser.Next();
  if (!parser.ExpectBegin()) return false;
  std::map<std::uint32_t, std::wstring> strings;
  while (!parser.IsEnd()) {
    if (parser.AtEnd()) return parser.Error(L"STRINGTABLE has no END");
    auto id = parser.Number();
    if (!id) return false;
    if (*id < 0 || *id > 0xFFFF) return parser.Error(L"string id " + std::to_wstring(*id) + L" is out of range");
    parser.SkipComma();
    auto text = parser.String();
    if (!text) return false;
    if (text->size() > 0xFFFF) return parser.Error(L"string " + std::to_wstring(*id) + L" is too long");
    if (!strings.emplace(static_cast<std::uint32_t>(*id), *text).second)
      return parser.Error(L"string id " + std::to_wstring(*id) + L" is defined twice");
  }
  parser.ExpectEnd();

  std::map<std::uint32_t, std::map<std::uint32_t, std::wstring>> blocks;
  for (auto& [id, text] : strings) blocks[arxhost::StringBlockId(id)][id % 16] = text;
  for (auto& [blockId, entries] : blocks) {
    arxhost::ResourceBlob* blob = nullptr;
    for (auto& b : out)
      if (b.type == arxhost::kResourceTypeString && b.id == blockId && b.language == parser.Language()) blob = &b;
    // Merge with a block an earlier table of the same language began.
    std::map<std::uint32_t, std::wstring> merged;
    if (blob) {
      for (std::uint32_t index = 0; index < 16; ++index) {
        const std::uint32_t id = (blockId - 1) * 16 + index;
        if (auto old = arxhost::StringFromBlock(blob->data, id)) {
          if (entries.count(index)) return parser.Error(L"string id " + std::to_wstring(id) + L" is defined twice");
          merged[index] = *old;
        }
      }
    }
    for (auto& [index, text] : entries) merged[index] = text;
    std::vector<unsigned char> data;
    for (std::uint32_t index = 0; index < 16; ++index) {
      auto it = merged.find(index);
      std::vector<unsigned char> units;
      const std::size_t count = it == merged.end() ? 0 : arxhost::PutUtf16(units, it->second);
      arxhost::PutU16(data, static_cast<std::uint16_t>(count));
      data.insert(data.end(), units.begin(), units.end());
    }
    if (blob) blob->data = std::move(data);
    else out.push_back({arxhost::kResourceTypeString, blockId, parser.Language(), std::move(data)});
  }
  return true;
}

StatementRegistrar stringtable(L"STRINGTABLE", CompileStringTable);

}  // namespace
}  // namespace arxrc
