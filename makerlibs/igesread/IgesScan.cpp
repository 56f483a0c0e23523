#include "IgesScan.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace igesread {

namespace {

constexpr int64_t kMaxCount = 100'000'000;

struct Record {
  std::string_view text;  // without its line end
};

std::string Num(int64_t v) { return std::to_string(v); }

// Splits the file into records at LF, CR LF or CR.
void SplitRecords(std::string_view bytes, std::vector<std::string_view>& lines, bool& unusualEnds) {
  size_t i = 0, n = bytes.size();
  while (i < n) {
    size_t j = i;
    while (j < n && bytes[j] != '\n' && bytes[j] != '\r') ++j;
    lines.push_back(bytes.substr(i, j - i));
    if (j < n && bytes[j] == '\r') {
      unusualEnds = true;
      if (j + 1 < n && bytes[j + 1] == '\n') ++j;
    }
    i = j + 1;
  }
}

bool ParseInt(std::string_view field, int64_t& value) {
  size_t a = 0, b = field.size();
  while (a < b && field[a] == ' ') ++a;
  while (b > a && field[b - 1] == ' ') --b;
  if (a == b) {
    value = 0;
    return true;
  }
  if (field[a] == '+') ++a;
  auto [ptr, ec] = std::from_chars(field.data() + a, field.data() + b, value);
  return ec == std::errc() && ptr == field.data() + b;
}

// Integer value of a parameter; reals with an integral value are accepted.
bool ParamInt(const std::vector<std::string>& params, size_t index, int64_t& value) {
  if (index >= params.size()) return false;
  if (ParseInt(params[index], value)) return true;
  std::string s = params[index];
  for (char& c : s)
    if (c == 'D' || c == 'd') c = 'E';
  char* end = nullptr;
  double d = std::strtod(s.c_str(), &end);
  if (end == s.c_str() || d != static_cast<double>(static_cast<int64_t>(d))) return false;
  value = static_cast<int64_t>(d);
  return true;
}

// A parameter that is neither empty nor a Hollerith string must be a number;
// Open CASCADE's readers crash on some that are not.
bool IsNumberOrString(std::string_view p) {
  if (p.empty()) return true;
  size_t i = 0, n = p.size();
  while (i < n && p[i] >= '0' && p[i] <= '9') ++i;
  if (i > 0 && i < n && (p[i] == 'H' || p[i] == 'h')) return true;
  i = 0;
  if (p[i] == '+' || p[i] == '-') ++i;
  size_t digits = 0;
  while (i < n && p[i] >= '0' && p[i] <= '9') ++i, ++digits;
  if (i < n && p[i] == '.') {
    ++i;
    while (i < n && p[i] >= '0' && p[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (p[i] == 'E' || p[i] == 'e' || p[i] == 'D' || p[i] == 'd')) {
    ++i;
    if (i < n && (p[i] == '+' || p[i] == '-')) ++i;
    size_t exp = 0;
    while (i < n && p[i] >= '0' && p[i] <= '9') ++i, ++exp;
    if (exp == 0) return false;
  }
  return i == n;
}

std::string_view Field(std::string_view line, size_t col, size_t width) {
  return line.substr(col, width);
}

}  // namespace

bool SplitParameters(std::string_view text, char pd, char rd, std::vector<std::string>& params) {
  params.clear();
  size_t i = 0, n = text.size();
  while (i <= n) {
    // Skip leading blanks of a parameter.
    size_t start = i;
    while (i < n && text[i] == ' ') ++i;
    // Hollerith string: digits, 'H', then exactly that many characters.
    size_t j = i;
    while (j < n && text[j] >= '0' && text[j] <= '9') ++j;
    if (j > i && j < n && (text[j] == 'H' || text[j] == 'h')) {
      int64_t count = 0;
      if (!ParseInt(text.substr(i, j - i), count) || count < 0) return false;
      if (static_cast<uint64_t>(count) > n - (j + 1)) return false;
      params.emplace_back(text.substr(i, j + 1 + static_cast<size_t>(count) - i));
      i = j + 1 + static_cast<size_t>(count);
      while (i < n && text[i] == ' ') ++i;
      if (i >= n) return true;
      if (text[i] == rd) return true;
      if (text[i] != pd) return false;
      ++i;
      continue;
    }
    j = start;
    while (j < n && text[j] != pd && text[j] != rd) ++j;
    std::string_view p = text.substr(start, j - start);
    size_t a = 0, b = p.size();
    while (a < b && p[a] == ' ') ++a;
    while (b > a && p[b - 1] == ' ') --b;
    params.emplace_back(p.substr(a, b - a));
    if (j >= n || text[j] == rd) return true;
    i = j + 1;
  }
  return true;
}

namespace {

// The parameters that an entity needs at least, from the counts it
// declares; -1 when a count is impossible.
int64_t RequiredParameters(int type, const std::vector<std::string>& p) {
  auto get = [&](size_t i) -> int64_t {
    int64_t v = 0;
    if (!ParamInt(p, i, v)) return -1;
    return v;
  };
  auto count = [&](size_t i) -> int64_t {
    int64_t v = get(i);
    return (v < 0 || v > kMaxCount) ? -1 : v;
  };
  switch (type) {
    case 102: { int64_t n = count(1); return n < 0 ? -1 : 1 + n; }
    case 106: {
      int64_t ip = get(1), n = count(2);
      if (n < 0) return -1;
      int64_t per = ip == 1 ? 2 : ip == 2 ? 3 : ip == 3 ? 6 : -1;
      if (per < 0) return -1;
      return 2 + (ip == 1 ? 1 : 0) + n * per;
    }
    case 112: { int64_t n = count(4); return n < 1 ? -1 : 4 + (n + 1) + 12 * n; }
    case 114: {
      int64_t m = count(3), n = count(4);
      if (m < 1 || n < 1 || m * n > kMaxCount) return -1;
      return 4 + (m + 1) + (n + 1) + 48 * m * n;
    }
    case 126: {
      int64_t k = count(1), m = count(2);
      if (k < 0 || m < 1 || k < m) return -1;
      // The parameter range and normal that follow are often left out.
      return 7 + (k + m + 2) + (k + 1) + 3 * (k + 1);
    }
    case 128: {
      int64_t k1 = count(1), k2 = count(2), m1 = count(3), m2 = count(4);
      if (k1 < 0 || k2 < 0 || m1 < 1 || m2 < 1 || k1 < m1 || k2 < m2) return -1;
      if ((k1 + 1) * (k2 + 1) > kMaxCount) return -1;
      return 10 + (k1 + m1 + 2) + (k2 + m2 + 2) + 4 * (k1 + 1) * (k2 + 1);
    }
    case 141: { int64_t n = count(4); return n < 0 ? -1 : 4 + 3 * n; }
    case 143: { int64_t n = count(3); return n < 0 ? -1 : 3 + n; }
    case 144: { int64_t n = count(3); return n < 0 ? -1 : 4 + n; }
    case 186: { int64_t n = count(3); return n < 0 ? -1 : 3 + 2 * n; }
    case 310: {
      // A font without characters makes Open CASCADE's reader crash.
      int64_t n = count(5);
      return n < 1 ? -1 : 5 + 4 * n;
    }
    case 212: { int64_t n = count(1); return n < 0 ? -1 : 1 + 12 * n; }
    case 214: { int64_t n = count(1); return n < 0 ? -1 : 6 + 2 * n; }
    case 308: { int64_t n = count(3); return n < 0 ? -1 : 3 + n; }
    case 320: { int64_t n = count(3); return n < 0 ? -1 : 3 + n; }
    case 402: { int64_t n = count(1); return n < 0 ? -1 : 1 + n; }
    case 404: { int64_t n = count(1); return n < 0 ? -1 : 1 + 3 * n; }
    case 406: { int64_t n = count(1); return n < 0 ? -1 : 1 + n; }
    case 502: { int64_t n = count(1); return n < 0 ? -1 : 1 + 3 * n; }
    case 504: { int64_t n = count(1); return n < 0 ? -1 : 1 + 5 * n; }
    case 508: { int64_t n = count(1); return n < 0 ? -1 : 1 + 5 * n; }
    case 510: { int64_t n = count(2); return n < 0 ? -1 : 3 + n; }
    case 514: { int64_t n = count(1); return n < 0 ? -1 : 1 + 2 * n; }
    default: return 0;
  }
}

// Parameters (1-based entity parameter numbers) that point at other
// entities and whose cycles would make the reading recurse for ever.
void ReferenceParameters(int type, int form, const std::vector<std::string>& p, std::vector<size_t>& refs) {
  refs.clear();
  auto n = [&](size_t i) -> int64_t {
    int64_t v = 0;
    return ParamInt(p, i, v) ? v : 0;
  };
  auto range = [&](size_t first, int64_t count) {
    for (int64_t k = 0; k < count && first + static_cast<size_t>(k) < p.size(); ++k)
      refs.push_back(first + static_cast<size_t>(k));
  };
  switch (type) {
    case 102: range(2, n(1)); break;
    case 142: range(2, 3); break;
    case 144: refs.push_back(1); refs.push_back(4); range(5, n(3)); break;
    case 308: range(4, n(3)); break;
    case 320: range(4, n(3)); break;
    case 402:
      if (form == 1 || form == 7 || form == 14 || form == 15) range(2, n(1));
      break;
    case 408: refs.push_back(1); break;
    case 420: refs.push_back(1); break;
    default: break;
  }
}

}  // namespace

bool ScanIges(std::string_view bytes, ScanResult& result, std::string& reason) {
  result = ScanResult();
  if (bytes.empty()) {
    reason = "is empty";
    return false;
  }
  // IGES is text: a control character (a NUL above all) cuts Open CASCADE's
  // records short and makes its readers misread what follows.
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", c);
      reason = "is damaged: it holds the control character " + std::string(hex) + " at byte " +
               Num(static_cast<int64_t>(i));
      return false;
    }
  }
  std::vector<std::string_view> lines;
  bool unusualEnds = false;
  SplitRecords(bytes, lines, unusualEnds);

  // Sections in order S, G, D, P, T; a line without a section letter ends
  // nothing but is refused unless it is blank after the Terminate record.
  const std::string order = "SGDPT";
  int section = -1;
  int counts[5] = {0, 0, 0, 0, 0};
  std::vector<std::string_view> records[5];
  bool afterTerminate = false, padded = false;
  for (size_t li = 0; li < lines.size(); ++li) {
    std::string_view line = lines[li];
    if (afterTerminate) {
      result.needsNormalizedCopy = true;  // anything after T is dropped
      continue;
    }
    if (line.find_first_not_of(' ') == std::string_view::npos && li + 1 == lines.size()) break;
    if (line.size() > 80) {
      if (line.substr(80).find_first_not_of(' ') != std::string_view::npos) {
        reason = "is not an IGES file: line " + Num(static_cast<int64_t>(li + 1)) + " is longer than 80 columns";
        return false;
      }
      line = line.substr(0, 80);
      padded = true;
    }
    if (line.size() < 73) {
      reason = (section < 0 ? "is not an IGES file: line " : "is damaged: line ") + Num(static_cast<int64_t>(li + 1)) +
               " has no section letter in column 73";
      return false;
    }
    if (line.size() < 80) padded = true;
    char letter = line[72];
    if (letter == 'F' || letter == 'C' || letter == 'B') {
      reason = "is a compressed or binary IGES file, which cannot be read";
      return false;
    }
    size_t s = order.find(letter);
    if (s == std::string::npos) {
      reason = (section < 0 ? "is not an IGES file: line " : "is damaged: line ") + Num(static_cast<int64_t>(li + 1)) +
               " has no section letter in column 73";
      return false;
    }
    if (static_cast<int>(s) < section) {
      reason = "is damaged: its sections are out of order at line " + Num(static_cast<int64_t>(li + 1));
      return false;
    }
    section = static_cast<int>(s);
    int64_t seq = 0;
    std::string_view seqField = line.size() > 73 ? line.substr(73) : std::string_view();
    // Some writers leave the Terminate record unnumbered.
    const bool blank = seqField.find_first_not_of(' ') == std::string_view::npos;
    if (letter == 'T' && blank) seq = counts[s] + 1;
    else if (blank || !ParseInt(seqField, seq)) {
      reason = "has no sequence number in columns 74 to 80 of line " + Num(static_cast<int64_t>(li + 1));
      return false;
    }
    if (seq != counts[s] + 1) {
      reason = "is damaged: line " + Num(static_cast<int64_t>(li + 1)) + " has sequence number " + Num(seq) +
               " where " + Num(counts[s] + 1) + " was expected";
      return false;
    }
    ++counts[s];
    records[s].push_back(line);
    if (letter == 'T') afterTerminate = true;
  }
  if (section < 0 || (counts[1] == 0 && counts[2] == 0)) {
    reason = "is not an IGES file";
    return false;
  }
  if (counts[4] == 0) {
    reason = "is truncated: it has no Terminate record";
    return false;
  }
  {
    std::string_view t = records[4][0];
    const char letters[4] = {'S', 'G', 'D', 'P'};
    for (int k = 0; k < 4; ++k) {
      std::string_view f = Field(t, static_cast<size_t>(k) * 8, 8);
      int64_t declared = 0;
      if (f.empty() || f[0] != letters[k] || !ParseInt(f.substr(1), declared)) {
        reason = "is damaged: its Terminate record cannot be read";
        return false;
      }
      if (declared != counts[k]) {
        static const char* names[4] = {"start", "global", "directory", "parameter"};
        reason = "is truncated or damaged: its Terminate record counts " + Num(declared) + " " + names[k] +
                 " lines, but the file holds " + Num(counts[k]);
        return false;
      }
    }
  }
  result.start = counts[0];
  result.global = counts[1];
  result.directory = counts[2];
  result.parameter = counts[3];
  if (counts[2] % 2 != 0) {
    reason = "is damaged: its directory section has an odd number of lines";
    return false;
  }

  // Delimiters from the global section.
  {
    std::string g;
    for (auto r : records[1]) g.append(r.substr(0, 72));
    size_t i = 0;
    auto delimiter = [&](char fallback, char& out) {
      while (i < g.size() && g[i] == ' ') ++i;
      if (i + 2 < g.size() && g[i] == '1' && (g[i + 1] == 'H' || g[i + 1] == 'h')) {
        out = g[i + 2];
        i += 3;
      } else {
        out = fallback;
      }
    };
    char pd = ',', rd = ';';
    delimiter(',', pd);
    while (i < g.size() && g[i] == ' ') ++i;
    if (i < g.size() && (g[i] == pd || g[i] == ';')) ++i;
    delimiter(';', rd);
    if (pd == rd || pd == ' ' || rd == ' ') {
      reason = "is damaged: its global section names unusable delimiters";
      return false;
    }
    result.paramDelimiter = pd;
    result.recordDelimiter = rd;
  }

  // Directory entries.
  const int entryCount = counts[2] / 2;
  const int64_t dCount = counts[2];
  result.entries.resize(static_cast<size_t>(entryCount));
  auto pointerOk = [&](int64_t p) { return p == 0 || (p > 0 && p <= dCount && (p % 2) == 1); };
  for (int e = 0; e < entryCount; ++e) {
    std::string_view l1 = records[2][static_cast<size_t>(2 * e)];
    std::string_view l2 = records[2][static_cast<size_t>(2 * e + 1)];
    int64_t type = 0, pstart = 0, structure = 0, font = 0, level = 0, view = 0, xform = 0, label = 0;
    int64_t type2 = 0, color = 0, plines = 0, form = 0;
    const int64_t deNumber = 2 * e + 1;
    if (!ParseInt(Field(l1, 0, 8), type) || !ParseInt(Field(l1, 8, 8), pstart) ||
        !ParseInt(Field(l1, 16, 8), structure) || !ParseInt(Field(l1, 24, 8), font) ||
        !ParseInt(Field(l1, 32, 8), level) || !ParseInt(Field(l1, 40, 8), view) ||
        !ParseInt(Field(l1, 48, 8), xform) || !ParseInt(Field(l1, 56, 8), label) ||
        !ParseInt(Field(l2, 0, 8), type2) || !ParseInt(Field(l2, 16, 8), color) ||
        !ParseInt(Field(l2, 24, 8), plines) || !ParseInt(Field(l2, 32, 8), form)) {
      reason = "is damaged: directory entry " + Num(deNumber) + " cannot be read";
      return false;
    }
    if (type <= 0 || type > 9999 || type2 != type) {
      reason = "is damaged: directory entry " + Num(deNumber) + " has no valid entity type";
      return false;
    }
    if (pstart < 1 || plines < 1 || pstart + plines - 1 > counts[3]) {
      reason = "is damaged: directory entry " + Num(deNumber) + " points at parameter lines " + Num(pstart) +
               " to " + Num(pstart + plines - 1) + ", outside the parameter section";
      return false;
    }
    if (!pointerOk(xform) || !pointerOk(view) || !pointerOk(label) || (structure < 0 && !pointerOk(-structure)) ||
        (font < 0 && !pointerOk(-font)) || (level < 0 && !pointerOk(-level)) || (color < 0 && !pointerOk(-color))) {
      reason = "has a pointer out of range in directory entry " + Num(deNumber);
      return false;
    }
    DirectoryEntry& d = result.entries[static_cast<size_t>(e)];
    d.type = static_cast<int>(type);
    d.form = static_cast<int>(form);
    d.paramStart = static_cast<int>(pstart);
    d.paramLines = static_cast<int>(plines);
    d.transform = static_cast<int>(xform);
    d.structure = static_cast<int>(structure);
    d.level = static_cast<int>(level);
    d.color = static_cast<int>(color);
  }

  // Transformation chains must end.
  {
    std::vector<uint8_t> state(static_cast<size_t>(entryCount), 0);  // 0 new, 1 on path, 2 done
    for (int e = 0; e < entryCount; ++e) {
      std::vector<int> path;
      int cur = e;
      while (cur >= 0 && state[static_cast<size_t>(cur)] == 0) {
        state[static_cast<size_t>(cur)] = 1;
        path.push_back(cur);
        int t = result.entries[static_cast<size_t>(cur)].transform;
        cur = t ? (t - 1) / 2 : -1;
      }
      if (cur >= 0 && state[static_cast<size_t>(cur)] == 1) {
        reason = "has a cycle of transformation matrices at directory entry " + Num(2 * cur + 1);
        return false;
      }
      for (int k : path) state[static_cast<size_t>(k)] = 2;
    }
  }

  // Parameters: declared counts against what is there, references in range,
  // and no entity that contains itself.
  std::vector<std::vector<int>> children(static_cast<size_t>(entryCount));
  {
    std::vector<std::string> params;
    std::vector<size_t> refs;
    std::string text;
    for (int e = 0; e < entryCount; ++e) {
      const DirectoryEntry& d = result.entries[static_cast<size_t>(e)];
      text.clear();
      const int64_t deNumber = 2 * e + 1;
      // Some writers count the lines short; the back pointers in columns 66
      // to 72 say which lines belong to the entity.
      for (size_t k = static_cast<size_t>(d.paramStart - 1); k < records[3].size(); ++k) {
        std::string_view line = records[3][k];
        int64_t back = 0;
        bool counted = static_cast<int>(k) < d.paramStart - 1 + d.paramLines;
        if (!counted && !(ParseInt(Field(line, 65, 7), back) && back == deNumber)) break;
        // Column 65 should be blank; some writers spill data into it.
        text.append(line.substr(0, 65));
      }
      if (!SplitParameters(text, result.paramDelimiter, result.recordDelimiter, params)) {
        reason = "is damaged: the parameters of entity " + Num(deNumber) + " (type " + Num(d.type) +
                 ") hold a broken Hollerith string";
        return false;
      }
      int64_t first = 0;
      if (params.empty() || !ParamInt(params, 0, first) || first != d.type) {
        reason = "is damaged: the parameters of entity " + Num(deNumber) + " do not begin with its type " + Num(d.type);
        return false;
      }
      for (size_t k = 1; k < params.size(); ++k)
        if (!IsNumberOrString(params[k])) {
          reason = "is damaged: parameter " + Num(static_cast<int64_t>(k)) + " of entity " + Num(deNumber) + " (type " +
                   Num(d.type) + ") is neither a number nor a string";
          return false;
        }
      int64_t need = RequiredParameters(d.type, params);
      if (need < 0) {
        reason = "is damaged: entity " + Num(deNumber) + " (type " + Num(d.type) + ") declares an impossible count" +
                 (d.type == 126 || d.type == 128 ? " (degenerate B-spline)" : "");
        return false;
      }
      if (need > static_cast<int64_t>(params.size())) {
        reason = "is damaged: entity " + Num(deNumber) + " (type " + Num(d.type) + ") declares " + Num(need - 1) +
                 " parameters but has only " + Num(static_cast<int64_t>(params.size()) - 1);
        return false;
      }
      if (d.type == 220) result.rawParameters[e] = params;
      ReferenceParameters(d.type, d.form, params, refs);
      for (size_t r : refs) {
        int64_t p = 0;
        if (!ParamInt(params, r, p)) continue;
        if (p < 0) p = -p;
        if (!pointerOk(p)) {
          reason = "has a pointer out of range in entity " + Num(deNumber) + " (type " + Num(d.type) + ")";
          return false;
        }
        if (p) children[static_cast<size_t>(e)].push_back(static_cast<int>((p - 1) / 2));
      }
    }
  }
  {
    std::vector<uint8_t> state(static_cast<size_t>(entryCount), 0);
    std::vector<std::pair<int, size_t>> stack;
    for (int root = 0; root < entryCount; ++root) {
      if (state[static_cast<size_t>(root)]) continue;
      stack.push_back({root, 0});
      state[static_cast<size_t>(root)] = 1;
      while (!stack.empty()) {
        auto& [node, next] = stack.back();
        const auto& kids = children[static_cast<size_t>(node)];
        if (next < kids.size()) {
          int child = kids[next++];
          if (state[static_cast<size_t>(child)] == 1) {
            const DirectoryEntry& d = result.entries[static_cast<size_t>(child)];
            reason = "has an entity that contains itself: entity " + Num(2 * child + 1) + " (type " + Num(d.type) + ")";
            return false;
          }
          if (state[static_cast<size_t>(child)] == 0) {
            state[static_cast<size_t>(child)] = 1;
            stack.push_back({child, 0});
          }
        } else {
          state[static_cast<size_t>(node)] = 2;
          stack.pop_back();
        }
      }
    }
  }

  if (unusualEnds || padded) result.needsNormalizedCopy = true;
  if (result.needsNormalizedCopy) {
    result.normalized.reserve(static_cast<size_t>(counts[0] + counts[1] + counts[2] + counts[3] + 1) * 81);
    for (int s = 0; s < 5; ++s) {
      for (auto r : records[s]) {
        result.normalized.append(r);
        if (r.size() < 80) result.normalized.append(80 - r.size(), ' ');
        result.normalized.push_back('\n');
      }
    }
  }
  return true;
}

}  // namespace igesread
