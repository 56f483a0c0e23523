#include "StlParser.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace kelvrash::stl {
namespace {

constexpr size_t kBinaryHeaderBytes = 80;
constexpr size_t kBinaryPrefixBytes = kBinaryHeaderBytes + 4;
constexpr size_t kBinaryRecordBytes = 50;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Printable text for an error message: a token of the file, shortened.
std::string Quote(std::string_view token) {
  std::string out = "\"";
  for (char c : token.substr(0, 32)) out += (c >= 0x20 && c < 0x7F) ? c : '?';
  if (token.size() > 32) out += "...";
  return out + "\"";
}

std::optional<double> ParseNumber(std::string_view token) {
  // from_chars takes no leading '+', which some writers put there.
  if (token.size() > 1 && token.front() == '+' && token[1] != '-') token.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error != std::errc() || end != token.data() + token.size()) return std::nullopt;
  return value;
}

class AsciiReader {
 public:
  explicit AsciiReader(std::string_view text) : text_(text) {}

  bool Read(std::vector<TriangleSoup>& solids, std::string& reason) {
    for (;;) {
      const std::string_view word = Next();
      if (word.empty()) break;
      if (!EqualsNoCase(word, "solid")) return Malformed("\"solid\"", word, reason);
      TriangleSoup soup;
      soup.name = RestOfLine();
      if (!ReadFacets(soup, reason)) return false;
      solids.push_back(std::move(soup));
    }
    if (solids.empty()) return Fail("holds no solid", reason);
    return true;
  }

 private:
  bool ReadFacets(TriangleSoup& soup, std::string& reason) {
    for (;;) {
      const std::string_view word = Next();
      if (word.empty()) return Truncated("\"endsolid\"", reason);
      if (EqualsNoCase(word, "endsolid")) {
        RestOfLine();
        return true;
      }
      if (!EqualsNoCase(word, "facet")) return Malformed("\"facet\" or \"endsolid\"", word, reason);
      // The normal is read for its syntax only; writers put anything there,
      // "nan" included, and it is recomputed from the corners anyway.
      if (!Expect("normal", reason)) return false;
      for (int k = 0; k < 3; ++k)
        if (!Number(false, reason)) return false;
      if (!Expect("outer", reason) || !Expect("loop", reason)) return false;
      for (int corner = 0; corner < 3; ++corner) {
        if (!Expect("vertex", reason)) return false;
        Point p{};
        for (int k = 0; k < 3; ++k) {
          auto value = Number(true, reason);
          if (!value) return false;
          p[k] = *value;
        }
        soup.corners.push_back(p);
      }
      if (!Expect("endloop", reason) || !Expect("endfacet", reason)) return false;
    }
  }

  std::string_view Next() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
    const size_t start = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    if (pos_ > start) lastTokenLine_ = line_;
    return text_.substr(start, pos_ - start);
  }

  std::string RestOfLine() {
    const size_t end = std::min(text_.find('\n', pos_), text_.size());
    std::string_view rest = text_.substr(pos_, end - pos_);
    pos_ = end;
    while (!rest.empty() && IsSpace(rest.front())) rest.remove_prefix(1);
    while (!rest.empty() && IsSpace(rest.back())) rest.remove_suffix(1);
    return std::string(rest);
  }

  bool Expect(std::string_view keyword, std::string& reason) {
    const std::string_view word = Next();
    if (word.empty()) return Truncated("\"" + std::string(keyword) + "\"", reason);
    if (!EqualsNoCase(word, keyword)) return Malformed("\"" + std::string(keyword) + "\"", word, reason);
    return true;
  }

  std::optional<double> Number(bool mustBeFinite, std::string& reason) {
    const std::string_view word = Next();
    if (word.empty()) {
      Truncated("a number", reason);
      return std::nullopt;
    }
    auto value = ParseNumber(word);
    if (!value) {
      Malformed("a number", word, reason);
      return std::nullopt;
    }
    if (mustBeFinite && !std::isfinite(*value)) {
      Malformed("a finite coordinate", word, reason);
      return std::nullopt;
    }
    return value;
  }

  bool Malformed(const std::string& expected, std::string_view found, std::string& reason) {
    // A word that runs into the end of the file was most likely cut there.
    if (pos_ == text_.size() && found.data() + found.size() == text_.data() + text_.size())
      return Truncated(expected, reason);
    return Fail("is malformed at line " + std::to_string(line_) + ": " + expected + " was expected, " + Quote(found) +
                    " was found",
                reason);
  }
  bool Truncated(const std::string& expected, std::string& reason) {
    return Fail("is truncated: it ends after line " + std::to_string(lastTokenLine_) + ", where " + expected +
                    " was expected",
                reason);
  }
  static bool Fail(std::string text, std::string& reason) {
    reason = std::move(text);
    return false;
  }

  std::string_view text_;
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t lastTokenLine_ = 1;
};

std::uint32_t ReadUint32(const char* p) {
  std::uint32_t value = 0;
  for (int k = 3; k >= 0; --k) value = (value << 8) | static_cast<unsigned char>(p[k]);
  return value;
}

float ReadFloat(const char* p) { return std::bit_cast<float>(ReadUint32(p)); }

bool LooksLikeText(std::string_view bytes) {
  for (char c : bytes.substr(0, kBinaryPrefixBytes)) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && !IsSpace(c)) return false;
    if (u >= 0x7F) return false;
  }
  return true;
}

bool BeginsWithSolid(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size() && IsSpace(bytes[i])) ++i;
  const std::string_view rest = bytes.substr(i);
  return rest.size() >= 5 && EqualsNoCase(rest.substr(0, 5), "solid") && (rest.size() == 5 || IsSpace(rest[5]));
}

std::optional<std::uint64_t> BinaryCount(std::string_view bytes) {
  if (bytes.size() < kBinaryPrefixBytes) return std::nullopt;
  return ReadUint32(bytes.data() + kBinaryHeaderBytes);
}

bool HasBinarySize(std::string_view bytes) {
  const auto count = BinaryCount(bytes);
  return count && bytes.size() == kBinaryPrefixBytes + *count * kBinaryRecordBytes;
}

bool ReadBinary(std::string_view bytes, std::vector<TriangleSoup>& solids, std::string& reason) {
  if (bytes.size() < kBinaryPrefixBytes) {
    reason = LooksLikeText(bytes) ? "is not an STL file (it does not begin with \"solid\")"
                                  : "is too short to be an STL file (" + std::to_string(bytes.size()) + " bytes)";
    return false;
  }
  const std::uint64_t count = *BinaryCount(bytes);
  const std::uint64_t expected = kBinaryPrefixBytes + count * kBinaryRecordBytes;
  if (bytes.size() != expected) {
    if (LooksLikeText(bytes)) {
      reason = "is not an STL file (it does not begin with \"solid\" and is not binary STL)";
    } else if (bytes.size() < expected) {
      reason = "is truncated: its header announces " + std::to_string(count) + " triangles, but only " +
               std::to_string((bytes.size() - kBinaryPrefixBytes) / kBinaryRecordBytes) + " are complete";
    } else {
      reason = "is malformed: it holds " + std::to_string(bytes.size() - expected) +
               " bytes more than the " + std::to_string(count) + " triangles its header announces";
    }
    return false;
  }
  if (count == 0) return true;  // a valid file without a mesh

  TriangleSoup soup;
  soup.corners.reserve(count * 3);
  const char* record = bytes.data() + kBinaryPrefixBytes;
  for (std::uint64_t t = 0; t < count; ++t, record += kBinaryRecordBytes) {
    const char* corner = record + 12;  // past the normal
    for (int k = 0; k < 3; ++k, corner += 12) {
      const Point p{ReadFloat(corner), ReadFloat(corner + 4), ReadFloat(corner + 8)};
      if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
        reason = "is malformed: triangle " + std::to_string(t + 1) + " has a corner that is not a finite number";
        return false;
      }
      soup.corners.push_back(p);
    }
  }
  solids.push_back(std::move(soup));
  return true;
}

}  // namespace

bool ParseStl(std::string_view bytes, std::vector<TriangleSoup>& solids, std::string& reason) {
  if (bytes.empty()) {
    reason = "is empty";
    return false;
  }
  std::vector<TriangleSoup> parsed;
  bool ok = false;
  if (BeginsWithSolid(bytes)) {
    // Some binary files begin with "solid" too; their size gives them away.
    ok = AsciiReader(bytes).Read(parsed, reason);
    if (!ok && HasBinarySize(bytes)) {
      parsed.clear();
      ok = ReadBinary(bytes, parsed, reason);
    }
  } else {
    ok = ReadBinary(bytes, parsed, reason);
  }
  if (!ok) return false;
  // Solids without a facet hold no mesh.
  for (auto& soup : parsed)
    if (!soup.corners.empty()) solids.push_back(std::move(soup));
  return true;
}

}  // namespace kelvrash::stl
