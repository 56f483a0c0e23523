#include "IgesScan.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <span>

#include "IgesTypes.h"
#include "InParallel.h"

namespace igesread {

namespace {

constexpr size_t kRecordWidth = 80;
constexpr size_t kParamColumns = 64;  // parameter text; the DE pointer follows in 66 to 72

std::string Num(int64_t v) { return std::to_string(v); }

bool IsBSpline(int type) {
  return ToIgesType(type) == IgesType::RationalBSplineCurve || ToIgesType(type) == IgesType::RationalBSplineSurface;
}

using Lines = std::span<const std::string_view>;

// Below this many bytes a part of the check is not worth a thread.
constexpr size_t kBytesPerPart = size_t{1} << 20;

// How many parts work on data of the given size shares out.
int PartsFor(size_t bytes) { return igesread::PartsFor(bytes, kBytesPerPart); }

// Runs check(part, i, reason) for every i in [0, count), in 'parts' runs
// of consecutive i at once; false with the reason of the first i that
// fails, as checking them one after another gives. A run stops at its
// first failure, or once an earlier i is known to fail.
template <class Check>
bool FirstFailureInOrder(int count, int parts, const Check& check, std::string& reason) {
  parts = std::clamp(parts, 1, std::max(count, 1));
  std::vector<int> failedAt(static_cast<size_t>(parts), -1);
  std::vector<std::string> reasons(static_cast<size_t>(parts));
  std::atomic<int> firstFailure{count};
  InParallel(parts, [&](int part) {
    const int from = static_cast<int>(static_cast<int64_t>(count) * part / parts);
    const int to = static_cast<int>(static_cast<int64_t>(count) * (part + 1) / parts);
    for (int i = from; i < to && i < firstFailure.load(std::memory_order_relaxed); ++i) {
      if (check(part, i, reasons[static_cast<size_t>(part)])) continue;
      failedAt[static_cast<size_t>(part)] = i;
      int known = firstFailure.load();
      while (i < known && !firstFailure.compare_exchange_weak(known, i)) {
      }
      return;
    }
  });
  // Runs before the first failure ran whole, so the first run that failed
  // holds it.
  for (int part = 0; part < parts; ++part)
    if (failedAt[static_cast<size_t>(part)] >= 0) {
      reason = std::move(reasons[static_cast<size_t>(part)]);
      return false;
    }
  return true;
}

// The bytes cut into about 'parts' pieces, each ending after a line feed
// (the last at the end), so that no line end is split: the starts of the
// pieces and the end.
std::vector<size_t> CutAtLineFeeds(std::string_view bytes, int parts) {
  std::vector<size_t> cuts{0};
  for (int k = 1; k < parts; ++k) {
    const size_t from = std::max(cuts.back(), bytes.size() / static_cast<size_t>(parts) * static_cast<size_t>(k));
    const void* lf = from < bytes.size() ? std::memchr(bytes.data() + from, '\n', bytes.size() - from) : nullptr;
    if (!lf) break;
    const size_t cut = static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) + 1;
    if (cut > cuts.back() && cut < bytes.size()) cuts.push_back(cut);
  }
  cuts.push_back(bytes.size());
  return cuts;
}

// Splits the file into records at LF, CR LF or CR. A line longer than 80
// columns whose rest is not blank is a run of records written without line
// feeds and is cut every 80 columns.
void SplitPiece(std::string_view bytes, std::vector<std::string_view>& lines, bool& unusual) {
  lines.reserve(lines.size() + bytes.size() / (kRecordWidth + 1) + 2);
  size_t i = 0;
  const size_t n = bytes.size();
  const char* const data = bytes.data();
  while (i < n) {
    const void* lf = std::memchr(data + i, '\n', n - i);
    size_t j = lf ? static_cast<size_t>(static_cast<const char*>(lf) - data) : n;
    if (const void* cr = std::memchr(data + i, '\r', j - i))
      j = static_cast<size_t>(static_cast<const char*>(cr) - data);
    std::string_view line = bytes.substr(i, j - i);
    if (line.size() > kRecordWidth &&
        line.find_first_not_of(' ', kRecordWidth) != std::string_view::npos) {
      unusual = true;
      while (line.size() > kRecordWidth) {
        lines.push_back(line.substr(0, kRecordWidth));
        line.remove_prefix(kRecordWidth);
      }
      if (line.find_first_not_of(' ') != std::string_view::npos) lines.push_back(line);
    } else {
      lines.push_back(line);
    }
    if (j < n && bytes[j] == '\r') {
      unusual = true;
      if (j + 1 < n && bytes[j + 1] == '\n') ++j;
    }
    i = j + 1;
  }
}

// The same for the whole file, its pieces split at once where it is large.
void SplitRecords(std::string_view bytes, std::vector<std::string_view>& lines, bool& unusual) {
  const std::vector<size_t> cuts = CutAtLineFeeds(bytes, PartsFor(bytes.size()));
  const int parts = static_cast<int>(cuts.size()) - 1;
  if (parts == 1) {
    SplitPiece(bytes, lines, unusual);
    return;
  }
  std::vector<std::vector<std::string_view>> pieces(static_cast<size_t>(parts));
  std::vector<uint8_t> odd(static_cast<size_t>(parts), 0);
  InParallel(parts, [&](int k) {
    bool u = false;
    SplitPiece(bytes.substr(cuts[k], cuts[k + 1] - cuts[k]), pieces[static_cast<size_t>(k)], u);
    odd[static_cast<size_t>(k)] = u;
  });
  size_t total = 0;
  for (const auto& piece : pieces) total += piece.size();
  lines.reserve(total);
  for (int k = 0; k < parts; ++k) {
    lines.insert(lines.end(), pieces[static_cast<size_t>(k)].begin(), pieces[static_cast<size_t>(k)].end());
    std::vector<std::string_view>().swap(pieces[static_cast<size_t>(k)]);
    unusual = unusual || odd[static_cast<size_t>(k)];
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
  // Most fields are a few plain digits.
  if (b > a && b - a <= 18) {
    int64_t v = 0;
    size_t i = a;
    while (i < b && field[i] >= '0' && field[i] <= '9') v = v * 10 + (field[i++] - '0');
    if (i == b) {
      value = v;
      return true;
    }
  }
  auto [ptr, ec] = std::from_chars(field.data() + a, field.data() + b, value);
  return ec == std::errc() && ptr == field.data() + b;
}

// Integer value of a parameter; reals with an integral value in range are
// accepted.
bool ParamInt(const std::vector<std::string_view>& params, size_t index, int64_t& value) {
  if (index >= params.size()) return false;
  if (ParseInt(params[index], value)) return true;
  std::string s(params[index]);
  for (char& c : s)
    if (c == 'D' || c == 'd') c = 'E';
  char* end = nullptr;
  const double d = std::strtod(s.c_str(), &end);
  if (end == s.c_str() || *end != '\0' || !(std::fabs(d) < 9.0e18) || d != std::trunc(d)) return false;
  value = static_cast<int64_t>(d);
  return true;
}

enum class Token { Empty, String, Integer, BigInteger, Real, Overflow, Bad };

// What a parameter is: Open CASCADE's readers crash on some that are not a
// number or a string, spin on reals beyond the double range, and take
// integers beyond 32 bits modulo 2^32.
Token Classify(std::string_view p) {
  const size_t n = p.size();
  if (n == 0) return Token::Empty;
  size_t i = 0;
  while (i < n && p[i] >= '0' && p[i] <= '9') ++i;
  if (i > 0 && i < n && (p[i] == 'H' || p[i] == 'h')) return Token::String;
  i = 0;
  if (p[i] == '+' || p[i] == '-') ++i;
  int64_t intDigits = 0, intLength = 0;  // significant digits before the point
  while (i < n && p[i] >= '0' && p[i] <= '9') {
    if (intDigits > 0 || p[i] != '0') ++intDigits;
    ++intLength, ++i;
  }
  bool real = false, significant = intDigits > 0;
  int64_t fracZeros = 0, fracLength = 0;
  if (i < n && p[i] == '.') {
    real = true;
    ++i;
    while (i < n && p[i] >= '0' && p[i] <= '9') {
      if (!significant) {
        if (p[i] == '0') ++fracZeros;
        else significant = true;
      }
      ++fracLength, ++i;
    }
  }
  if (intLength + fracLength == 0) return Token::Bad;
  int64_t exponent = 0;
  if (i < n && (p[i] == 'E' || p[i] == 'e' || p[i] == 'D' || p[i] == 'd')) {
    real = true;
    ++i;
    bool negative = false;
    if (i < n && (p[i] == '+' || p[i] == '-')) negative = p[i++] == '-';
    size_t digits = 0;
    for (; i < n && p[i] >= '0' && p[i] <= '9'; ++i, ++digits)
      exponent = std::min<int64_t>(exponent * 10 + (p[i] - '0'), 1'000'000'000);
    if (digits == 0) return Token::Bad;
    if (negative) exponent = -exponent;
  }
  if (i != n) return Token::Bad;
  if (!real) {
    if (intDigits < 10) return Token::Integer;
    int64_t v = 0;
    if (intDigits > 10 || !ParseInt(p, v) || v > std::numeric_limits<int32_t>::max() ||
        v < std::numeric_limits<int32_t>::min())
      return Token::BigInteger;
    return Token::Integer;
  }
  if (!significant) return Token::Real;  // zero
  // The decimal exponent of the leading digit decides; only near the edge
  // of the range does the value itself.
  const int64_t magnitude = intDigits > 0 ? intDigits - 1 + exponent : exponent - fracZeros - 1;
  if (magnitude < 300) return Token::Real;
  if (magnitude > 310) return Token::Overflow;
  std::string s(p);
  for (char& c : s)
    if (c == 'D' || c == 'd') c = 'E';
  return std::isfinite(std::strtod(s.c_str(), nullptr)) ? Token::Real : Token::Overflow;
}

std::string_view Field(std::string_view line, size_t col, size_t width) {
  return col < line.size() ? line.substr(col, width) : std::string_view();
}

// The parameters of one entity, split from its joined parameter text.
struct EntityText {
  std::string text;               // columns 1 to 64 of each record, joined
  std::vector<size_t> ends;       // where each record's text ends in 'text'
  std::vector<std::string_view> params;
  std::vector<uint8_t> strings;   // params[k] is a Hollerith string
  bool readsDifferently = false;  // Open CASCADE would split it otherwise
};

// Splits parameter text into its parameters, up to the record delimiter.
// Hollerith strings keep delimiters inside. Returns false on a malformed
// Hollerith string. Notes where Open CASCADE, which ends every parameter
// but a string at the end of a record and reads each record up to its
// record delimiter, would read something else.
bool SplitParameters(EntityText& e, char pd, char rd) {
  e.params.clear();
  e.strings.clear();
  const std::string_view text = e.text;
  const size_t n = text.size();
  // Open CASCADE takes a record that ends without a delimiter (a blank one
  // too) as the end of a parameter and drops what the next record holds
  // before its first delimiter: a parameter with raw start 'start' and text
  // [a, b) reads differently when a record end falls inside its text or a
  // whole record lies between the delimiter before it and its text.
  // Parameters come in order, so one cursor over the record ends serves.
  size_t cursor = 0;
  auto check = [&](size_t start, size_t a, size_t b) {
    while (cursor < e.ends.size() && e.ends[cursor] < start) ++cursor;
    size_t k = cursor;
    while (k < e.ends.size() && e.ends[k] <= a) ++k;
    if (k - cursor + (start == 0 ? 1 : 0) >= 2 || (b > a && k < e.ends.size() && e.ends[k] < b))
      e.readsDifferently = true;
  };
  auto finish = [&](size_t delimiter) {
    // Text after the record delimiter on later records would be read as
    // more parameters.
    auto end = std::upper_bound(e.ends.begin(), e.ends.end(), delimiter);
    if (end != e.ends.end() && text.find_first_not_of(' ', *end) != std::string_view::npos)
      e.readsDifferently = true;
    return true;
  };
  size_t i = 0;
  while (i <= n) {
    size_t start = i;
    while (i < n && text[i] == ' ') ++i;
    // Hollerith string: digits, 'H', then exactly that many characters.
    size_t j = i;
    while (j < n && text[j] >= '0' && text[j] <= '9') ++j;
    if (j > i && j < n && (text[j] == 'H' || text[j] == 'h')) {
      int64_t count = 0;
      if (!ParseInt(text.substr(i, j - i), count) || count < 0) return false;
      if (static_cast<uint64_t>(count) > n - (j + 1)) return false;
      check(start, i, j + 1);
      e.params.push_back(text.substr(i, j + 1 + static_cast<size_t>(count) - i));
      e.strings.push_back(1);
      i = j + 1 + static_cast<size_t>(count);
      while (i < n && text[i] == ' ') ++i;
      if (i >= n) return true;
      if (text[i] == rd) return finish(i);
      if (text[i] != pd) return false;
      ++i;
      continue;
    }
    j = start;
    while (j < n && text[j] != pd && text[j] != rd) ++j;
    size_t a = start, b = j;
    while (a < b && text[a] == ' ') ++a;
    while (b > a && text[b - 1] == ' ') --b;
    check(start, a, b);
    e.params.push_back(text.substr(a, b - a));
    e.strings.push_back(0);
    if (j >= n) return true;
    if (text[j] == rd) return finish(j);
    i = j + 1;
  }
  return true;
}

// The parameters that an entity needs at least, from the counts it
// declares; -1 when a count is impossible. A count larger than the entity's
// parameters (and so than the file) makes the result exceed them, and is
// kept in 'excess'.
int64_t RequiredParameters(int type, const std::vector<std::string_view>& p, int64_t& excess) {
  const int64_t cap = static_cast<int64_t>(p.size());
  excess = 0;
  auto get = [&](size_t i) -> int64_t {
    int64_t v = 0;
    if (!ParamInt(p, i, v)) return -1;
    return v;
  };
  auto count = [&](size_t i) -> int64_t {
    int64_t v = get(i);
    if (v < 0) return -1;
    if (v > cap) {
      excess = std::max(excess, v);
      return cap + 1;
    }
    return v;
  };
  // Products saturate where they pass what the parameters can hold.
  auto mul = [&](int64_t a, int64_t b) -> int64_t { return (a != 0 && b > cap / a) ? cap + 1 : a * b; };
  switch (ToIgesType(type)) {
    case IgesType::CompositeCurve: { int64_t n = count(1); return n < 0 ? -1 : 1 + n; }
    case IgesType::CopiousData: {
      int64_t ip = get(1), n = count(2);
      if (n < 0) return -1;
      int64_t per = ip == 1 ? 2 : ip == 2 ? 3 : ip == 3 ? 6 : -1;
      if (per < 0) return -1;
      return 2 + (ip == 1 ? 1 : 0) + mul(n, per);
    }
    case IgesType::ParametricSplineCurve: { int64_t n = count(4); return n < 1 ? -1 : 4 + (n + 1) + mul(12, n); }
    case IgesType::ParametricSplineSurface: {
      int64_t m = count(3), n = count(4);
      if (m < 1 || n < 1) return -1;
      return 4 + (m + 1) + (n + 1) + mul(48, mul(m, n));
    }
    case IgesType::RationalBSplineCurve: {
      int64_t k = count(1), m = count(2);
      if (k < 0 || m < 1 || k < m) return -1;
      // The parameter range and normal that follow are often left out.
      return 7 + (k + m + 2) + (k + 1) + mul(3, k + 1);
    }
    case IgesType::RationalBSplineSurface: {
      int64_t k1 = count(1), k2 = count(2), m1 = count(3), m2 = count(4);
      if (k1 < 0 || k2 < 0 || m1 < 1 || m2 < 1 || k1 < m1 || k2 < m2) return -1;
      return 10 + (k1 + m1 + 2) + (k2 + m2 + 2) + mul(4, mul(k1 + 1, k2 + 1));
    }
    case IgesType::Boundary: { int64_t n = count(4); return n < 0 ? -1 : 4 + mul(3, n); }
    case IgesType::BoundedSurface: { int64_t n = count(3); return n < 0 ? -1 : 3 + n; }
    case IgesType::TrimmedSurface: { int64_t n = count(3); return n < 0 ? -1 : 4 + n; }
    case IgesType::BooleanTree: { int64_t n = count(1); return n < 0 ? -1 : 1 + n; }
    case IgesType::SolidAssembly: { int64_t n = count(1); return n < 0 ? -1 : 1 + mul(2, n); }
    case IgesType::ManifoldSolid: { int64_t n = count(3); return n < 0 ? -1 : 3 + mul(2, n); }
    case IgesType::TextFontDefinition: {
      // A font without characters makes Open CASCADE's reader crash.
      int64_t n = count(5);
      return n < 1 ? -1 : 5 + mul(4, n);
    }
    case IgesType::GeneralNote: { int64_t n = count(1); return n < 0 ? -1 : 1 + mul(12, n); }
    case IgesType::LeaderArrow: { int64_t n = count(1); return n < 0 ? -1 : 6 + mul(2, n); }
    case IgesType::SubfigureDefinition: { int64_t n = count(3); return n < 0 ? -1 : 3 + n; }
    case IgesType::UnitsData: { int64_t n = count(1); return n < 0 ? -1 : 1 + mul(3, n); }
    case IgesType::NetworkSubfigureDefinition: { int64_t n = count(3); return n < 0 ? -1 : 3 + n; }
    case IgesType::AssociativityInstance: { int64_t n = count(1); return n < 0 ? -1 : 1 + n; }
    case IgesType::Drawing: { int64_t n = count(1); return n < 0 ? -1 : 1 + mul(3, n); }
    case IgesType::Property: { int64_t n = count(1); return n < 0 ? -1 : 1 + n; }
    case IgesType::Vertex: { int64_t n = count(1); return n < 0 ? -1 : 1 + mul(3, n); }
    case IgesType::Edge: { int64_t n = count(1); return n < 0 ? -1 : 1 + mul(5, n); }
    case IgesType::Loop: { int64_t n = count(1); return n < 0 ? -1 : 1 + mul(5, n); }
    case IgesType::Face: { int64_t n = count(2); return n < 0 ? -1 : 3 + n; }
    case IgesType::Shell: { int64_t n = count(1); return n < 0 ? -1 : 1 + mul(2, n); }
    default: return 0;
  }
}

// A parameter (1-based entity parameter number) that points at another
// entity, with the entity types it may point at (none: any).
struct Reference {
  size_t index;
  IgesType type;
};

constexpr IgesType kAny = IgesType::Null;

// The references through which Open CASCADE's reading and transfer recurse:
// a cycle among them recurses for ever, a long chain overflows the stack,
// and a topology pointer to the wrong kind of entity is dereferenced as the
// right one.
void ReferenceParameters(int type, int form, const std::vector<std::string_view>& p, std::vector<Reference>& refs) {
  refs.clear();
  auto n = [&](size_t i) -> int64_t {
    int64_t v = 0;
    return ParamInt(p, i, v) ? v : 0;
  };
  auto range = [&](size_t first, int64_t count, size_t step = 1, IgesType types = kAny) {
    for (int64_t k = 0; k < count && first + static_cast<size_t>(k) * step < p.size(); ++k)
      refs.push_back({first + static_cast<size_t>(k) * step, types});
  };
  switch (ToIgesType(type)) {
    case IgesType::CompositeCurve: range(2, n(1)); break;
    case IgesType::Boundary: {
      refs.push_back({3, kAny});
      size_t at = 5;
      for (int64_t c = 0, count = n(4); c < count && at + 2 < p.size(); ++c) {
        refs.push_back({at, kAny});
        const int64_t k = n(at + 2);
        range(at + 3, k);
        at += 3 + static_cast<size_t>(std::max<int64_t>(k, 0));
      }
      break;
    }
    case IgesType::CurveOnSurface: range(2, 3); break;
    case IgesType::BoundedSurface: refs.push_back({2, kAny}); range(4, n(3)); break;
    case IgesType::TrimmedSurface: refs.push_back({1, kAny}); refs.push_back({4, kAny}); range(5, n(3)); break;
    case IgesType::ManifoldSolid: refs.push_back({1, IgesType::Shell}); range(4, n(3), 2, IgesType::Shell); break;
    case IgesType::SubfigureDefinition: range(4, n(3)); break;
    case IgesType::NetworkSubfigureDefinition: range(4, n(3)); break;
    case IgesType::AssociativityInstance:
      if (form == 1 || form == 7 || form == 14 || form == 15) range(2, n(1));
      break;
    case IgesType::SingularSubfigureInstance: refs.push_back({1, kAny}); break;
    case IgesType::NetworkSubfigureInstance: refs.push_back({1, kAny}); break;
    case IgesType::Edge:
      for (int64_t k = 0, count = n(1); k < count && 5 + 5 * static_cast<size_t>(k) < p.size(); ++k) {
        const size_t at = 2 + 5 * static_cast<size_t>(k);
        refs.push_back({at, kAny});
        refs.push_back({at + 1, IgesType::Vertex});
        refs.push_back({at + 3, IgesType::Vertex});
      }
      break;
    case IgesType::Loop: {
      size_t at = 2;
      for (int64_t e = 0, count = n(1); e < count && at + 4 < p.size(); ++e) {
        refs.push_back({at + 1, n(at) == 1 ? IgesType::Vertex : IgesType::Edge});
        const int64_t k = n(at + 4);
        range(at + 6, k, 2);
        at += 5 + 2 * static_cast<size_t>(std::max<int64_t>(k, 0));
      }
      break;
    }
    case IgesType::Face: refs.push_back({1, kAny}); range(4, n(2), 1, IgesType::Loop); break;
    case IgesType::Shell: range(2, n(1), 2, IgesType::Face); break;
    default: break;
  }
}

// Joins the parameter text of entity e (its records in 'lines', DE number
// deNumber) and splits it.
bool ReadEntity(Lines lines, char pd, char rd, EntityText& out) {
  out.text.clear();
  out.ends.clear();
  out.readsDifferently = false;
  for (std::string_view line : lines) {
    size_t take = std::min(line.size(), kParamColumns);
    out.text.append(line.substr(0, take));
    if (take < kParamColumns) out.text.append(kParamColumns - take, ' ');
    // Some writers put the delimiter that ends a record's last parameter in
    // column 65, which should be blank.
    if (line.size() > kParamColumns && (line[kParamColumns] == pd || line[kParamColumns] == rd)) {
      out.text.push_back(line[kParamColumns]);
      out.readsDifferently = true;
    }
    out.ends.push_back(out.text.size());
  }
  return SplitParameters(out, pd, rd);
}

// Writes the parameter records of one entity so that every parameter but a
// string lies within one record's columns 1 to 64.
void LayOutEntity(const EntityText& e, char pd, char rd, int64_t deNumber, int64_t& sequence, std::string& out) {
  std::string line;
  auto flush = [&] {
    char tail[48];
    std::snprintf(tail, sizeof tail, " %7lldP%7lld\n", static_cast<long long>(deNumber),
                  static_cast<long long>(++sequence));
    line.resize(kParamColumns, ' ');
    out += line;
    out += tail;
    line.clear();
  };
  for (size_t k = 0; k < e.params.size(); ++k) {
    std::string token(e.params[k]);
    if (!e.strings[k] && Classify(token) == Token::BigInteger) token += '.';
    token += k + 1 == e.params.size() ? rd : pd;
    if (line.size() + token.size() <= kParamColumns) {
      line += token;
      continue;
    }
    if (!e.strings[k]) {
      flush();
      line = token;  // shorter than a record: Classify refuses longer numbers
      continue;
    }
    // A string runs on into the next records; its count and 'H' stay
    // together with at least one character.
    const size_t prefix = token.find_first_of("Hh") + 2;
    if (line.size() + prefix > kParamColumns) flush();
    std::string_view rest = token;
    while (line.size() + rest.size() > kParamColumns) {
      const size_t room = kParamColumns - line.size();
      line.append(rest.substr(0, room));
      rest.remove_prefix(room);
      flush();
    }
    line.append(rest);
  }
  if (!line.empty() || e.params.empty()) flush();
}

// --- the stages of the check --------------------------------------------

// The first control character but the line ends, tab and form feed in
// [from, to), or 'to'.
size_t FirstControlCharacter(std::string_view bytes, size_t from, size_t to) {
  auto bad = [](unsigned char c) { return c < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f'; };
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  size_t i = from;
  // Eight bytes at a time: a word without a byte below 0x20 has none.
  for (; i + 8 <= to; i += 8) {
    uint64_t w;
    std::memcpy(&w, bytes.data() + i, sizeof w);
    if (((w - 0x20 * kOnes) & ~w & kHighs) == 0) continue;
    for (size_t k = i; k < i + 8; ++k)
      if (bad(static_cast<unsigned char>(bytes[k]))) return k;
  }
  for (; i < to; ++i)
    if (bad(static_cast<unsigned char>(bytes[i]))) return i;
  return to;
}

// IGES is text: a control character (a NUL above all) cuts Open CASCADE's
// records short and makes its readers misread what follows. The first one
// in the file is named, whichever piece of a large file finds it first.
bool RefuseControlCharacters(std::string_view bytes, std::string& reason) {
  const int parts = PartsFor(bytes.size());
  std::vector<size_t> first(static_cast<size_t>(parts));
  const size_t step = bytes.size() / static_cast<size_t>(parts);
  InParallel(parts, [&](int k) {
    const size_t from = step * static_cast<size_t>(k), to = k + 1 == parts ? bytes.size() : from + step;
    const size_t at = FirstControlCharacter(bytes, from, to);
    first[static_cast<size_t>(k)] = at < to ? at : bytes.size();
  });
  const size_t i = *std::min_element(first.begin(), first.end());
  if (i == bytes.size()) return true;
  const unsigned char c = static_cast<unsigned char>(bytes[i]);
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", c);
  reason = i < kRecordWidth ? "is not an IGES file: it holds binary data"
                            : "is damaged: it holds the control character " + std::string(hex) + " at byte " +
                                  Num(static_cast<int64_t>(i));
  return false;
}

enum Section { kStart, kGlobal, kDirectory, kParameter, kTerminate, kSections };

// The records of the file by section, and what of their layout Open
// CASCADE would read otherwise.
struct Sections {
  int counts[kSections] = {0, 0, 0, 0, 0};
  Lines records[kSections];  // runs of the file's records
  bool unusualLayout = false;  // other line ends, records not cut by line feeds
  bool padded = false;         // records longer or shorter than 80 columns
};

// Sections in order S, G, D, P, T, each record with its section letter and
// its sequence number; a line without a section letter ends nothing but is
// refused unless it is blank after the Terminate record.
bool ReadSectionOrder(std::vector<std::string_view>& lines, Sections& s, ScanResult& result,
                      std::string& reason) {
  const std::string order = "SGDPT";
  int section = -1;
  bool afterTerminate = false;
  // Sections come in order, so each one's records are a run of the lines:
  // where each run starts.
  size_t starts[kSections] = {0, 0, 0, 0, 0};
  for (size_t li = 0; li < lines.size(); ++li) {
    std::string_view line = lines[li];
    if (afterTerminate) {
      result.needsNormalizedCopy = true;  // anything after T is dropped
      continue;
    }
    if (li + 1 == lines.size() && line.find_first_not_of(' ') == std::string_view::npos) break;
    if (line.size() > kRecordWidth) {
      line = line.substr(0, kRecordWidth);  // the rest is blank
      lines[li] = line;
      s.padded = true;
    }
    if (line.size() < 73 && section >= 0 && li + 1 == lines.size()) {
      reason = "is truncated: its last line, " + Num(static_cast<int64_t>(li + 1)) + ", is cut short";
      return false;
    }
    if (line.size() < 73) {
      reason = (section < 0 ? "is not an IGES file: line " : "is damaged: line ") + Num(static_cast<int64_t>(li + 1)) +
               " has no section letter in column 73";
      return false;
    }
    if (line.size() < kRecordWidth) s.padded = true;
    char letter = line[72];
    if (letter == 'F' || letter == 'C' || letter == 'B') {
      reason = "is a compressed or binary IGES file, which cannot be read";
      return false;
    }
    size_t k = order.find(letter);
    if (k == std::string::npos) {
      reason = (section < 0 ? "is not an IGES file: line " : "is damaged: line ") + Num(static_cast<int64_t>(li + 1)) +
               " has no section letter in column 73";
      return false;
    }
    if (static_cast<int>(k) < section) {
      reason = "is damaged: its sections are out of order at line " + Num(static_cast<int64_t>(li + 1));
      return false;
    }
    section = static_cast<int>(k);
    int64_t seq = 0;
    std::string_view seqField = line.size() > 73 ? line.substr(73) : std::string_view();
    // Some writers leave the Terminate record unnumbered.
    const bool blank = seqField.find_first_not_of(' ') == std::string_view::npos;
    if (letter == 'T' && blank) seq = s.counts[k] + 1;
    else if (blank || !ParseInt(seqField, seq)) {
      reason = "has no sequence number in columns 74 to 80 of line " + Num(static_cast<int64_t>(li + 1));
      return false;
    }
    if (seq != s.counts[k] + 1) {
      reason = "is damaged: line " + Num(static_cast<int64_t>(li + 1)) + " has sequence number " + Num(seq) +
               " where " + Num(s.counts[k] + 1) + " was expected";
      return false;
    }
    if (s.counts[k]++ == 0) starts[k] = li;
    if (letter == 'T') afterTerminate = true;
  }
  for (int k = 0; k < kSections; ++k)
    s.records[k] = Lines(lines.data() + starts[k], static_cast<size_t>(s.counts[k]));
  if (section < 0 || (s.counts[kGlobal] == 0 && s.counts[kDirectory] == 0)) {
    reason = "is not an IGES file";
    return false;
  }
  return true;
}

// The Terminate record is there and counts the lines that the sections hold.
bool CheckTerminateCounts(const Sections& s, std::string& reason) {
  if (s.counts[kTerminate] == 0) {
    reason = "is truncated: it has no Terminate record";
    return false;
  }
  std::string_view t = s.records[kTerminate][0];
  const char letters[4] = {'S', 'G', 'D', 'P'};
  static const char* names[4] = {"start", "global", "directory", "parameter"};
  for (int k = 0; k < 4; ++k) {
    std::string_view f = Field(t, static_cast<size_t>(k) * 8, 8);
    int64_t declared = 0;
    if (f.empty() || f[0] != letters[k] || !ParseInt(f.substr(1), declared)) {
      reason = "is damaged: its Terminate record cannot be read";
      return false;
    }
    // Writers that count their start or global lines short are common
    // and harmless; lines missing from any section are not.
    if (declared > s.counts[k]) {
      reason = "is truncated: its Terminate record counts " + Num(declared) + " " + names[k] +
               " lines, but the file holds only " + Num(s.counts[k]);
      return false;
    }
    if (declared < s.counts[k] && k >= kDirectory) {
      reason = "is damaged: its Terminate record counts " + Num(declared) + " " + names[k] +
               " lines, but the file holds " + Num(s.counts[k]);
      return false;
    }
  }
  return true;
}

// The parameter and record delimiters that the global section names.
bool ReadDelimiters(Lines global, ScanResult& result, std::string& reason) {
  std::string g;
  for (auto r : global) g.append(r.substr(0, 72));
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
  if (pd == rd || pd == ' ' || rd == ' ' || (pd >= '0' && pd <= '9') || (rd >= '0' && rd <= '9')) {
    reason = "is damaged: its global section names unusable delimiters";
    return false;
  }
  result.paramDelimiter = pd;
  result.recordDelimiter = rd;
  return true;
}

// A pointer to a directory entry: none (0) or the odd first line of one.
bool PointerInRange(int64_t p, int64_t directoryLines) {
  return p == 0 || (p > 0 && p <= directoryLines && (p % 2) == 1);
}

// Every directory entry readable, of a type and form IGES has, pointing at
// parameter lines of the file and, by its pointers, at entries that exist.
bool ReadDirectoryEntries(const Sections& s, ScanResult& result, std::string& reason) {
  const Lines lines = s.records[kDirectory];
  const int entryCount = s.counts[kDirectory] / 2;
  const int64_t dCount = s.counts[kDirectory];
  result.entries.resize(static_cast<size_t>(entryCount));
  auto pointerOk = [&](int64_t p) { return PointerInRange(p, dCount); };
  const auto check = [&](int, int e, std::string& why) {
    std::string_view l1 = lines[static_cast<size_t>(2 * e)];
    std::string_view l2 = lines[static_cast<size_t>(2 * e + 1)];
    int64_t type = 0, pstart = 0, structure = 0, font = 0, level = 0, view = 0, xform = 0, label = 0;
    int64_t type2 = 0, color = 0, plines = 0, form = 0;
    const int64_t deNumber = 2 * e + 1;
    if (!ParseInt(Field(l1, 0, 8), type) || !ParseInt(Field(l1, 8, 8), pstart) ||
        !ParseInt(Field(l1, 16, 8), structure) || !ParseInt(Field(l1, 24, 8), font) ||
        !ParseInt(Field(l1, 32, 8), level) || !ParseInt(Field(l1, 40, 8), view) ||
        !ParseInt(Field(l1, 48, 8), xform) || !ParseInt(Field(l1, 56, 8), label) ||
        !ParseInt(Field(l2, 0, 8), type2) || !ParseInt(Field(l2, 16, 8), color) ||
        !ParseInt(Field(l2, 24, 8), plines) || !ParseInt(Field(l2, 32, 8), form)) {
      why = "is damaged: directory entry " + Num(deNumber) + " cannot be read";
      return false;
    }
    // Type 0 is the null entity, which readers pass over.
    if (type < 0 || type > 9999 || type2 != type) {
      why = "is damaged: directory entry " + Num(deNumber) + " has the entity type " + Num(type) +
            (type2 != type ? " on its first line and " + Num(type2) + " on its second" : ", which IGES does not have");
      return false;
    }
    if (form < 0 || form > 9999) {
      why = "is damaged: directory entry " + Num(deNumber) + " has the form number " + Num(form);
      return false;
    }
    if (pstart < 1 || plines < 1 || pstart > s.counts[kParameter]) {
      why = "is damaged: directory entry " + Num(deNumber) + " points at parameter line " + Num(pstart) +
            ", outside the parameter section of " + Num(s.counts[kParameter]) + " lines";
      return false;
    }
    if (!pointerOk(xform) || !pointerOk(view) || !pointerOk(label) || (structure < 0 && !pointerOk(-structure)) ||
        (font < 0 && !pointerOk(-font)) || (level < 0 && !pointerOk(-level)) || (color < 0 && !pointerOk(-color))) {
      why = "has a pointer out of range in directory entry " + Num(deNumber);
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
    return true;
  };
  return FirstFailureInOrder(entryCount, PartsFor(lines.size() * kRecordWidth), check, reason);
}

// Transformation chains must end, and not too deep.
bool CheckTransformationChains(const ScanResult& result, std::string& reason) {
  const int entryCount = static_cast<int>(result.entries.size());
  std::vector<int> depth(static_cast<size_t>(entryCount), 0);  // 0 new, -1 on path, else chain length
  std::vector<int> path;
  for (int e = 0; e < entryCount; ++e) {
    path.clear();
    int cur = e;
    while (cur >= 0 && depth[static_cast<size_t>(cur)] == 0) {
      depth[static_cast<size_t>(cur)] = -1;
      path.push_back(cur);
      int t = result.entries[static_cast<size_t>(cur)].transform;
      cur = t ? (t - 1) / 2 : -1;
    }
    if (cur >= 0 && depth[static_cast<size_t>(cur)] == -1) {
      reason = "has a cycle of transformation matrices at directory entry " + Num(2 * cur + 1);
      return false;
    }
    int below = cur >= 0 ? depth[static_cast<size_t>(cur)] : 0;
    for (auto k = path.rbegin(); k != path.rend(); ++k) depth[static_cast<size_t>(*k)] = ++below;
    if (below > kMaxNesting) {
      reason = "nests transformation matrices deeper than " + Num(kMaxNesting) + " levels at directory entry " +
               Num(2 * e + 1);
      return false;
    }
  }
  return true;
}

// Open CASCADE files each parameter record under the entity that its DE
// pointer (columns 66 to 72) names, whatever the directory entry counts
// (writers get the count wrong both ways): an entity's records are the
// run from its first one that names it, and every record must be in one.
// Sets each entry's count of lines, also kept in 'ownedLines'.
bool AssignParameterLines(Lines lines, ScanResult& result, std::vector<size_t>& ownedLines, std::string& reason) {
  const int entryCount = static_cast<int>(result.entries.size());
  ownedLines.assign(static_cast<size_t>(entryCount), 0);
  // Each entity's run names it alone, so the runs are apart.
  std::vector<uint8_t> owned(lines.size(), 0);
  const auto check = [&](int, int e, std::string& why) {
    const int64_t deNumber = 2 * e + 1;
    size_t k = static_cast<size_t>(result.entries[static_cast<size_t>(e)].paramStart - 1);
    const size_t first = k;
    int64_t back = 0;
    while (k < lines.size() && ParseInt(Field(lines[k], 65, 7), back) && back == deNumber) owned[k++] = 1;
    if (k == first) {
      why = "is damaged: directory entry " + Num(deNumber) + " points at parameter line " +
            Num(static_cast<int64_t>(first + 1)) + ", which belongs to another entity";
      return false;
    }
    ownedLines[static_cast<size_t>(e)] = k - first;
    result.entries[static_cast<size_t>(e)].paramLines = static_cast<int>(k - first);
    return true;
  };
  if (!FirstFailureInOrder(entryCount, PartsFor(lines.size() * kRecordWidth), check, reason)) return false;
  const auto unowned = std::find(owned.begin(), owned.end(), uint8_t{0});
  if (unowned != owned.end()) {
    reason = "is damaged: parameter line " + Num(static_cast<int64_t>(unowned - owned.begin() + 1)) +
             " is not among the lines of the entity it names";
    return false;
  }
  return true;
}

// The parameter records of entry e, joined and split into parameters.
bool ReadEntityOf(const Sections& s, const ScanResult& result, const std::vector<size_t>& ownedLines, int e,
                  EntityText& et) {
  const DirectoryEntry& d = result.entries[static_cast<size_t>(e)];
  const Lines entityLines =
      s.records[kParameter].subspan(static_cast<size_t>(d.paramStart - 1), ownedLines[static_cast<size_t>(e)]);
  return ReadEntity(entityLines, result.paramDelimiter, result.recordDelimiter, et);
}

// Every parameter but a string is a number Open CASCADE can read; notes
// integers it would take otherwise.
bool CheckNumbers(const EntityText& et, const DirectoryEntry& d, int64_t deNumber, bool& readsDifferently,
                  std::string& reason) {
  const auto& params = et.params;
  for (size_t k = 0; k < params.size(); ++k) {
    if (et.strings[k]) continue;
    const Token t = params[k].size() > kParamColumns ? Token::Bad : Classify(params[k]);
    if (t == Token::Bad || t == Token::String) {
      reason = "is damaged: parameter " + Num(static_cast<int64_t>(k)) + " of entity " + Num(deNumber) + " (type " +
               Num(d.type) + ") is neither a number nor a string";
      return false;
    }
    if (t == Token::Overflow) {
      reason = "is damaged: parameter " + Num(static_cast<int64_t>(k)) + " of entity " + Num(deNumber) + " (type " +
               Num(d.type) + ") is a number beyond the range of real numbers (" +
               std::string(params[k].substr(0, 24)) + ")";
      return false;
    }
    if (t == Token::BigInteger) readsDifferently = true;
  }
  return true;
}

// The counts an entity declares are possible and its parameters hold them.
bool CheckDeclaredCounts(const std::vector<std::string_view>& params, const DirectoryEntry& d, int64_t deNumber,
                         std::string& reason) {
  int64_t excess = 0;
  const int64_t need = RequiredParameters(d.type, params, excess);
  if (need < 0) {
    reason = "is damaged: entity " + Num(deNumber) + " (type " + Num(d.type) + ") declares an impossible count" +
             (IsBSpline(d.type) ? " (degenerate B-spline)" : "");
    return false;
  }
  if (need > static_cast<int64_t>(params.size())) {
    reason = "is damaged: entity " + Num(deNumber) + " (type " + Num(d.type) + ") declares " +
             (excess > 0 ? "a count of " + Num(excess) + ", more than the file holds"
                         : Num(need - 1) + " parameters but has only " + Num(static_cast<int64_t>(params.size()) - 1));
    return false;
  }
  return true;
}

// The entities an entity's parameters point at are in range and of the
// kind that belongs there; they are added to its children.
bool CheckReferences(const std::vector<std::string_view>& params, const ScanResult& result, int e,
                     std::vector<Reference>& refs, std::vector<int>& children, std::string& reason) {
  const DirectoryEntry& d = result.entries[static_cast<size_t>(e)];
  const int64_t deNumber = 2 * e + 1;
  const int64_t dCount = static_cast<int64_t>(result.entries.size()) * 2;
  ReferenceParameters(d.type, d.form, params, refs);
  for (const Reference& r : refs) {
    int64_t p = 0;
    if (!ParamInt(params, r.index, p)) continue;
    if (p < 0) p = -p;
    if (!PointerInRange(p, dCount)) {
      reason = "has a pointer out of range in entity " + Num(deNumber) + " (type " + Num(d.type) + ")";
      return false;
    }
    if (!p) continue;
    const int child = static_cast<int>((p - 1) / 2);
    const int childType = result.entries[static_cast<size_t>(child)].type;
    if (r.type != kAny && ToIgesType(childType) != r.type) {
      reason = "is damaged: entity " + Num(deNumber) + " (type " + Num(d.type) + ") points at entity " + Num(p) +
               " of type " + Num(childType) + ", where a type " + Num(TypeNumber(r.type)) + " belongs";
      return false;
    }
    children.push_back(child);
  }
  return true;
}

// The checks of one entity's parameters; false with the reason of the
// first that fails.
bool CheckEntity(const Sections& s, const std::vector<size_t>& ownedLines, const ScanResult& result, int e,
                 EntityText& et, std::vector<Reference>& refs, std::vector<int>& children, bool& readsDifferently,
                 std::map<int, std::vector<std::string>>& rawParameters, std::string& reason) {
  const DirectoryEntry& d = result.entries[static_cast<size_t>(e)];
  const int64_t deNumber = 2 * e + 1;
  if (!ReadEntityOf(s, result, ownedLines, e, et)) {
    reason = "is damaged: the parameters of entity " + Num(deNumber) + " (type " + Num(d.type) +
             ") hold a broken Hollerith string";
    return false;
  }
  const auto& params = et.params;
  readsDifferently = readsDifferently || et.readsDifferently;
  int64_t first = 0;
  if (params.empty() || !ParamInt(params, 0, first) || first != d.type) {
    reason = "is damaged: the parameters of entity " + Num(deNumber) + " do not begin with its type " + Num(d.type);
    return false;
  }
  if (!CheckNumbers(et, d, deNumber, readsDifferently, reason) || !CheckDeclaredCounts(params, d, deNumber, reason))
    return false;
  if (ToIgesType(d.type) == IgesType::PointDimension)
    rawParameters[e] = std::vector<std::string>(params.begin(), params.end());
  return CheckReferences(params, result, e, refs, children, reason);
}

// Parameters: declared counts against what is there, numbers, references
// in range and of the right kind. Fills each entity's children and notes
// whether Open CASCADE would read any parameter otherwise. A large file's
// entities are checked in runs at once; the reason given is that of the
// first entity that fails, as when they are checked one after another.
bool CheckParameters(const Sections& s, const std::vector<size_t>& ownedLines, ScanResult& result,
                     std::vector<std::vector<int>>& children, bool& readsDifferently, std::string& reason) {
  const int entryCount = static_cast<int>(result.entries.size());
  children.assign(static_cast<size_t>(entryCount), {});
  size_t parameterBytes = 0;
  for (std::string_view line : s.records[kParameter]) parameterBytes += line.size();
  const int parts = std::clamp(PartsFor(parameterBytes), 1, std::max(entryCount, 1));
  struct Run {
    EntityText et;
    std::vector<Reference> refs;
    bool readsDifferently = false;
    std::map<int, std::vector<std::string>> rawParameters;
  };
  std::vector<Run> runs(static_cast<size_t>(parts));
  const auto check = [&](int part, int e, std::string& why) {
    Run& run = runs[static_cast<size_t>(part)];
    return CheckEntity(s, ownedLines, result, e, run.et, run.refs, children[static_cast<size_t>(e)],
                       run.readsDifferently, run.rawParameters, why);
  };
  if (!FirstFailureInOrder(entryCount, parts, check, reason)) return false;
  for (Run& run : runs) {
    readsDifferently = readsDifferently || run.readsDifferently;
    result.rawParameters.merge(run.rawParameters);
  }
  return true;
}

// No entity contains itself, and nesting stays within the limit.
bool CheckNesting(const std::vector<std::vector<int>>& children, const ScanResult& result, std::string& reason) {
  const int entryCount = static_cast<int>(result.entries.size());
  std::vector<uint8_t> state(static_cast<size_t>(entryCount), 0);
  std::vector<int> height(static_cast<size_t>(entryCount), 0);
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
        int h = 0;
        for (int k : kids) h = std::max(h, height[static_cast<size_t>(k)]);
        height[static_cast<size_t>(node)] = h + 1;
        if (h + 1 > kMaxNesting) {
          const DirectoryEntry& d = result.entries[static_cast<size_t>(node)];
          reason = "nests entities deeper than " + Num(kMaxNesting) + " levels: entity " + Num(2 * node + 1) +
                   " (type " + Num(d.type) + ")";
          return false;
        }
        state[static_cast<size_t>(node)] = 2;
        stack.pop_back();
      }
    }
  }
  return true;
}

// The copy for Open CASCADE: every record 80 columns and a line feed; with
// the parameter records laid out anew ('relayParameters') when it would
// read them otherwise, and the directory and Terminate record to match.
void WriteNormalizedCopy(const Sections& s, const std::vector<size_t>& ownedLines, bool relayParameters,
                         ScanResult& result) {
  std::string& out = result.normalized;
  auto put = [&](std::string_view r) {
    out.append(r);
    if (r.size() < kRecordWidth) out.append(kRecordWidth - r.size(), ' ');
    out.push_back('\n');
  };
  const int* counts = s.counts;
  if (!relayParameters) {
    out.reserve(static_cast<size_t>(counts[0] + counts[1] + counts[2] + counts[3] + 1) * (kRecordWidth + 1));
    for (int k = 0; k < kSections; ++k)
      for (auto r : s.records[k]) put(r);
    return;
  }
  const int entryCount = static_cast<int>(result.entries.size());
  std::string params;
  std::vector<int64_t> starts(static_cast<size_t>(entryCount)), spans(static_cast<size_t>(entryCount));
  {
    EntityText et;
    int64_t sequence = 0;
    for (int e = 0; e < entryCount; ++e) {
      ReadEntityOf(s, result, ownedLines, e, et);
      starts[static_cast<size_t>(e)] = sequence + 1;
      LayOutEntity(et, result.paramDelimiter, result.recordDelimiter, 2 * e + 1, sequence, params);
      spans[static_cast<size_t>(e)] = sequence + 1 - starts[static_cast<size_t>(e)];
    }
  }
  out.reserve(static_cast<size_t>(counts[0] + counts[1] + counts[2] + 1) * (kRecordWidth + 1) + params.size());
  for (int k = kStart; k <= kGlobal; ++k)
    for (auto r : s.records[k]) put(r);
  const Lines directory = s.records[kDirectory];
  for (int e = 0; e < entryCount; ++e) {
    std::string l1(directory[static_cast<size_t>(2 * e)]), l2(directory[static_cast<size_t>(2 * e + 1)]);
    l1.resize(kRecordWidth, ' ');
    l2.resize(kRecordWidth, ' ');
    char field[16];
    std::snprintf(field, sizeof field, "%8lld", static_cast<long long>(starts[static_cast<size_t>(e)]));
    l1.replace(8, 8, field);
    std::snprintf(field, sizeof field, "%8lld", static_cast<long long>(spans[static_cast<size_t>(e)]));
    l2.replace(24, 8, field);
    put(l1);
    put(l2);
  }
  out += params;
  const int64_t pCount = static_cast<int64_t>(params.size() / (kRecordWidth + 1));
  char t[128];
  std::snprintf(t, sizeof t, "S%7dG%7dD%7dP%7lld%40sT%7d", counts[0], counts[1], counts[2],
                static_cast<long long>(pCount), "", 1);
  put(t);
  result.parameter = static_cast<int>(pCount);
  for (int e = 0; e < entryCount; ++e) {
    result.entries[static_cast<size_t>(e)].paramStart = static_cast<int>(starts[static_cast<size_t>(e)]);
    result.entries[static_cast<size_t>(e)].paramLines = static_cast<int>(spans[static_cast<size_t>(e)]);
  }
}

}  // namespace

bool ScanIges(std::string_view bytes, ScanResult& result, std::string& reason) {
  result = ScanResult();
  if (bytes.empty()) {
    reason = "is empty";
    return false;
  }
  if (!RefuseControlCharacters(bytes, reason)) return false;
  Sections s;
  std::vector<std::string_view> lines;
  SplitRecords(bytes, lines, s.unusualLayout);
  if (!ReadSectionOrder(lines, s, result, reason) || !CheckTerminateCounts(s, reason)) return false;
  result.start = s.counts[kStart];
  result.global = s.counts[kGlobal];
  result.directory = s.counts[kDirectory];
  result.parameter = s.counts[kParameter];
  if (s.counts[kDirectory] % 2 != 0) {
    reason = "is damaged: its directory section has an odd number of lines";
    return false;
  }
  std::vector<size_t> ownedLines;
  std::vector<std::vector<int>> children;
  bool readsDifferently = false;
  if (!ReadDelimiters(s.records[kGlobal], result, reason) || !ReadDirectoryEntries(s, result, reason) ||
      !CheckTransformationChains(result, reason) ||
      !AssignParameterLines(s.records[kParameter], result, ownedLines, reason) ||
      !CheckParameters(s, ownedLines, result, children, readsDifferently, reason) ||
      !CheckNesting(children, result, reason))
    return false;
  if (s.unusualLayout || s.padded || readsDifferently) result.needsNormalizedCopy = true;
  if (result.needsNormalizedCopy) WriteNormalizedCopy(s, ownedLines, readsDifferently, result);
  return true;
}

}  // namespace igesread
