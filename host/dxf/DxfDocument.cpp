#include "dxf/DxfDocument.h"

namespace arxhost::dxf {

const DxfGroup* DxfRecord::find(int code) const {
  for (const auto& g : groups)
    if (g.code == code) return &g;
  return nullptr;
}

std::string_view DxfRecord::text(int code, std::string_view fallback) const {
  const DxfGroup* g = find(code);
  return g ? g->value : fallback;
}

double DxfRecord::real(int code, double fallback) const {
  const DxfGroup* g = find(code);
  return g ? g->real : fallback;
}

long long DxfRecord::integer(int code, long long fallback) const {
  const DxfGroup* g = find(code);
  return g ? g->integer : fallback;
}

void DxfRecord::fail(const std::string& what) const { FailAt(line, "the " + std::string(type) + " " + what); }

namespace {

class Cursor {
 public:
  explicit Cursor(const std::vector<DxfGroup>& groups) : g_(groups) {}

  bool done() const { return pos_ >= g_.size(); }
  const DxfGroup& peek() const { return g_[pos_]; }
  std::size_t line() const { return done() ? (g_.empty() ? 1 : g_.back().line) : peek().line; }
  bool at(std::string_view type) const { return !done() && peek().code == 0 && peek().value == type; }

  // One record: group 0 and the groups up to the next group 0.
  DxfRecord record() {
    if (done()) Truncated();
    if (peek().code != 0) FailAt(peek().line, "group code " + std::to_string(peek().code) + " where a new object (group 0) was expected");
    DxfRecord r;
    r.type = peek().value;
    r.line = peek().line;
    std::size_t begin = ++pos_;
    while (pos_ < g_.size() && g_[pos_].code != 0) ++pos_;
    r.groups = std::span<const DxfGroup>(g_.data() + begin, pos_ - begin);
    return r;
  }

  [[noreturn]] void Truncated() const {
    FailAt(line(), "the file ends before its EOF marker (it may be truncated)");
  }

 private:
  const std::vector<DxfGroup>& g_;
  std::size_t pos_ = 0;
};

// An entity and, for those that own a sequence, its children up to SEQEND.
DxfRecord Entity(Cursor& c) {
  DxfRecord r = c.record();
  bool sequence = r.type == "POLYLINE" || (r.type == "INSERT" && r.integer(66) == 1);
  if (!sequence) return r;
  std::string_view childType = r.type == "POLYLINE" ? "VERTEX" : "ATTRIB";
  for (;;) {
    if (c.done()) c.Truncated();
    if (c.at("SEQEND")) {
      c.record();
      return r;
    }
    if (!c.at(childType)) r.fail("lacks its SEQEND");
    r.children.push_back(c.record());
  }
}

void Tables(Cursor& c, DxfDocument& doc) {
  while (!c.at("ENDSEC")) {
    if (c.done()) c.Truncated();
    DxfRecord table = c.record();
    if (table.type != "TABLE") table.fail("is not a TABLE in the TABLES section");
    std::string_view name = table.text(2);
    std::vector<DxfRecord>* into = name == "LAYER"      ? &doc.layers
                                   : name == "LTYPE"    ? &doc.linetypes
                                   : name == "STYLE"    ? &doc.textStyles
                                   : name == "DIMSTYLE" ? &doc.dimStyles
                                                        : nullptr;
    for (;;) {
      if (c.done()) c.Truncated();
      if (c.at("ENDTAB")) {
        c.record();
        break;
      }
      if (c.at("ENDSEC") || c.at("TABLE")) table.fail(std::string(name) + " lacks its ENDTAB");
      DxfRecord record = c.record();
      if (into && record.type == name) into->push_back(record);
    }
  }
}

void Blocks(Cursor& c, DxfDocument& doc) {
  while (!c.at("ENDSEC")) {
    if (c.done()) c.Truncated();
    DxfBlock block;
    block.head = c.record();
    if (block.head.type != "BLOCK") block.head.fail("is not a BLOCK in the BLOCKS section");
    if (block.head.text(2).empty()) block.head.fail("has no name");
    for (;;) {
      if (c.done()) c.Truncated();
      if (c.at("ENDBLK")) {
        c.record();
        break;
      }
      if (c.at("BLOCK") || c.at("ENDSEC")) block.head.fail("lacks its ENDBLK");
      block.entities.push_back(Entity(c));
    }
    doc.blocks.push_back(std::move(block));
  }
}

}  // namespace

DxfDocument ParseDxfDocument(const std::vector<DxfGroup>& groups) {
  if (groups.empty()) throw DxfReadError("the file holds no DXF data");
  if (groups.front().code != 0) FailAt(groups.front().line, "this is not a DXF file (it does not begin with a SECTION)");
  Cursor c(groups);
  DxfDocument doc;
  bool sawSection = false;
  for (;;) {
    if (c.done()) c.Truncated();
    DxfRecord r = c.record();
    if (r.type == "EOF") break;
    if (r.type != "SECTION") {
      if (!sawSection) FailAt(r.line, "this is not a DXF file (it does not begin with a SECTION)");
      r.fail("stands outside any section");
    }
    sawSection = true;
    std::string_view name = r.text(2);
    if (name == "TABLES") {
      Tables(c, doc);
    } else if (name == "BLOCKS") {
      Blocks(c, doc);
    } else if (name == "ENTITIES") {
      while (!c.at("ENDSEC")) {
        if (c.done()) c.Truncated();
        doc.entities.push_back(Entity(c));
      }
    } else {
      // HEADER, CLASSES, OBJECTS, THUMBNAILIMAGE and the like: skipped.
      while (!c.at("ENDSEC")) {
        if (c.done()) c.Truncated();
        if (c.at("EOF")) FailAt(c.line(), "the " + std::string(name) + " section lacks its ENDSEC");
        c.record();
      }
    }
    c.record();  // ENDSEC
  }
  return doc;
}

}  // namespace arxhost::dxf
