// Tokenising, renumbering and writing ACIS SAT records.
#include "acis/AcisRecords.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string_view>
#include <type_traits>

namespace arxhost::sat {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits the next line off text at pos.
bool NextLine(const std::string& text, size_t& pos, std::string& line) {
  if (pos >= text.size()) return false;
  size_t end = text.find('\n', pos);
  if (end == std::string::npos) end = text.size();
  line = text.substr(pos, end - pos);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  pos = end + 1;
  return true;
}

bool ParseLong(std::string_view s, long& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

}  // namespace

std::vector<long> Record::pointers() const {
  std::vector<long> ps;
  for (const Field& f : fields)
    if (f.isPointer()) ps.push_back(f.pointer);
  return ps;
}

std::optional<Document> Parse(const std::string& text, std::string& error) {
  Document doc;
  size_t pos = 0;
  std::string line;
  // Version line: version, record count, body count, history flag.
  do {
    if (!NextLine(text, pos, line)) {
      error = "the file is empty";
      return std::nullopt;
    }
  } while (std::all_of(line.begin(), line.end(), IsSpace));
  {
    std::istringstream in(line);
    long version = 0;
    std::string word;
    if (!(in >> word) || !ParseLong(word, version) || version < 100 || version > 100000) {
      error = "the first line does not start with a SAT version number";
      return std::nullopt;
    }
    doc.version = static_cast<int>(version);
  }
  if (doc.version >= 200) {
    if (!NextLine(text, pos, doc.productLine) || doc.productLine.find('@') == std::string::npos) {
      error = "the product line is missing";
      return std::nullopt;
    }
  }
  if (!NextLine(text, pos, doc.unitsLine)) {
    error = "the units line is missing";
    return std::nullopt;
  }
  {
    std::istringstream in(doc.unitsLine);
    std::string a, b, c;
    if (!(in >> a >> b >> c)) {
      error = "the units line does not hold units and resolutions";
      return std::nullopt;
    }
  }

  // Records up to the end marker (or the end of the text). The fields of
  // the record being read gather in one vector that keeps its room; each
  // record gets them in one piece of its own size.
  Record current;
  std::vector<Field> fields;
  bool inRecord = false;
  bool ended = false;
  size_t i = pos;
  while (i < text.size()) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i >= text.size()) break;
    if (text[i] == '#') {
      if (!inRecord) {
        error = "a record ends before it starts";
        return std::nullopt;
      }
      current.fields.assign(std::make_move_iterator(fields.begin()), std::make_move_iterator(fields.end()));
      fields.clear();
      doc.records.push_back(std::move(current));
      current = Record();
      inRecord = false;
      ++i;
      continue;
    }
    // A counted string "@n text" is one field whatever it holds.
    if (text[i] == '@' && inRecord) {
      size_t j = i + 1;
      while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
      long count = 0;
      if (!ParseLong(text.substr(i + 1, j - i - 1), count) || count < 0 || j >= text.size()) {
        error = "a counted string is malformed";
        return std::nullopt;
      }
      size_t start = j + 1;
      if (start + static_cast<size_t>(count) > text.size()) {
        error = "a counted string runs past the end of the file";
        return std::nullopt;
      }
      fields.push_back({text.substr(i, start + static_cast<size_t>(count) - i), -2});
      i = start + static_cast<size_t>(count);
      continue;
    }
    size_t j = i;
    while (j < text.size() && !IsSpace(text[j]) && text[j] != '#') ++j;
    const std::string_view token(text.data() + i, j - i);
    i = j;
    if (!inRecord) {
      if (token.starts_with("End-of-")) {
        ended = true;
        break;
      }
      // An entity index written before the record.
      long index = 0;
      if (token.size() > 1 && token[0] == '-' && ParseLong(token.substr(1), index)) continue;
      if (!std::isalpha(static_cast<unsigned char>(token[0]))) {
        error = "a record does not start with a type name (found \"" + std::string(token) + "\")";
        return std::nullopt;
      }
      current.type = token;
      inRecord = true;
      continue;
    }
    long pointer = -2, target = 0;
    if (token.size() > 1 && token[0] == '$' && ParseLong(token.substr(1), target)) {
      if (target < -1) {
        error = "a pointer field is negative";
        return std::nullopt;
      }
      pointer = target;
    }
    fields.push_back({std::string(token), pointer});
  }
  if (inRecord) {
    error = "the last record is not ended by '#'";
    return std::nullopt;
  }
  (void)ended;
  long count = static_cast<long>(doc.records.size());
  for (const Record& r : doc.records)
    for (long p : r.pointers())
      if (p >= count) {
        error = "a pointer names record " + std::to_string(p) + " of " + std::to_string(count);
        return std::nullopt;
      }
  return doc;
}

std::string Write(const Document& doc) {
  long bodies = 0;
  size_t size = 64 + doc.productLine.size() + doc.unitsLine.size();
  for (const Record& r : doc.records) {
    if (r.type == "body") ++bodies;
    size += r.type.size() + 3;
    for (const Field& f : r.fields) size += f.text.size() + 1;
  }
  std::string out;
  out.reserve(size);
  out += std::to_string(doc.version) + " " + std::to_string(doc.records.size()) + " " + std::to_string(bodies) +
         " 0\n";
  if (doc.version >= 200) out += doc.productLine + "\n";
  out += doc.unitsLine + "\n";
  for (const Record& r : doc.records) {
    out += r.type;
    for (const Field& f : r.fields) {
      out += ' ';
      out += f.text;
    }
    out += " #\n";
  }
  out += doc.version >= 21800 ? "End-of-ASM-data\n" : "End-of-ACIS-data\n";
  return out;
}

std::vector<long> Reachable(const Document& doc, long root) {
  const long count = static_cast<long>(doc.records.size());
  std::vector<char> seen(doc.records.size(), 0);
  std::vector<long> stack{root};
  while (!stack.empty()) {
    long r = stack.back();
    stack.pop_back();
    if (r < 0 || r >= count || seen[static_cast<size_t>(r)]) continue;
    seen[static_cast<size_t>(r)] = 1;
    for (const Field& f : doc.records[static_cast<size_t>(r)].fields)
      if (f.isPointer()) stack.push_back(f.pointer);
  }
  std::vector<long> out;
  for (long r = 0; r < count; ++r)
    if (seen[static_cast<size_t>(r)]) out.push_back(r);
  return out;
}

namespace {

// Records are copied from a document that stays, moved from one that goes.
template <class Doc>
Document ExtractFrom(Doc&& doc, const std::vector<long>& keep) {
  Document out;
  out.version = doc.version;
  out.productLine = doc.productLine;
  out.unitsLine = doc.unitsLine;
  // The new index of every kept record; -1 for the others.
  std::vector<long> index(doc.records.size(), -1);
  long next = 0;
  for (long k : keep)
    if (index[static_cast<size_t>(k)] < 0) index[static_cast<size_t>(k)] = next++;
  out.records.reserve(keep.size());
  for (long k : keep) {
    Record r;
    if constexpr (std::is_const_v<std::remove_reference_t<Doc>>)
      r = doc.records[static_cast<size_t>(k)];
    else
      r = std::move(doc.records[static_cast<size_t>(k)]);
    for (Field& f : r.fields) {
      if (!f.isPointer() || f.pointer < 0) continue;
      f.pointer = f.pointer < static_cast<long>(index.size()) ? index[static_cast<size_t>(f.pointer)] : -1;
      f.text = "$" + std::to_string(f.pointer);
    }
    out.records.push_back(std::move(r));
  }
  return out;
}

}  // namespace

Document Extract(const Document& doc, const std::vector<long>& keep) { return ExtractFrom(doc, keep); }

// Each kept record is taken once, so keep must not repeat an index.
Document Extract(Document&& doc, const std::vector<long>& keep) { return ExtractFrom(doc, keep); }

}  // namespace arxhost::sat
