#pragma once
// The parts of a DXF file the host reads, each a record of groups: the
// table records (layers, linetypes, text styles, dimension styles), the
// block definitions with their entities, and the entities. A POLYLINE or
// INSERT keeps its VERTEX or ATTRIB records as children (SEQEND dropped).
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/DxfReader.h"

namespace arxhost::dxf {

struct DxfRecord {
  std::string_view type;
  std::size_t line = 0;
  std::span<const DxfGroup> groups;  // after group 0
  std::vector<DxfRecord> children;

  const DxfGroup* find(int code) const;
  std::string_view text(int code, std::string_view fallback = {}) const;
  double real(int code, double fallback = 0.0) const;
  long long integer(int code, long long fallback = 0) const;
  bool has(int code) const { return find(code) != nullptr; }
  // "line N: the TYPE " + what.
  [[noreturn]] void fail(const std::string& what) const;
};

struct DxfBlock {
  DxfRecord head;  // BLOCK
  std::vector<DxfRecord> entities;
};

struct DxfDocument {
  std::vector<DxfRecord> linetypes, layers, textStyles, dimStyles;
  std::vector<DxfBlock> blocks;
  std::vector<DxfRecord> entities;
};

// Checks the structure (sections, tables, blocks, the EOF marker) and
// splits the groups; the groups must outlive the document.
DxfDocument ParseDxfDocument(const std::vector<DxfGroup>& groups);

}  // namespace arxhost::dxf
