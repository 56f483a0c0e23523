#include "StlEncoding.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>

namespace brennic {
namespace {

// Twelve significant digits: far finer than any mesh deflection, and the
// corners that neighbouring faces share keep one spelling.
constexpr int kDigits = 12;

void AppendNumber(std::string& out, double value) {
  char text[32];
  if (value == 0.0) value = 0.0;  // no "-0"
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, kDigits);
  out.append(text, result.ptr);
}

void AppendTriple(std::string& out, const std::array<double, 3>& v) {
  for (int k = 0; k < 3; ++k) {
    out += ' ';
    AppendNumber(out, v[k]);
  }
}

// Room for what is appended, made at once: growing a large text step by
// step copies it over and over, and fresh pages cost more than the writing.
void MakeRoom(std::string& out, size_t more) {
  const size_t needed = out.size() + more;
  if (out.capacity() < needed) out.reserve(std::max(needed, 2 * out.capacity()));
}

void AppendUint32(std::string& out, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

void AppendFloat(std::string& out, double value) {
  AppendUint32(out, std::bit_cast<std::uint32_t>(static_cast<float>(value)));
}

}  // namespace

void AppendAsciiSolid(std::string& out, std::string_view name, std::span<const Triangle> triangles) {
  // A facet: 12 numbers of at most 19 characters, each after a space, and
  // 92 characters of keywords and indents.
  MakeRoom(out, 2 * name.size() + 20 + triangles.size() * (12 * 20 + 92));
  out.append("solid ").append(name).append("\n");
  for (const Triangle& t : triangles) {
    out.append("  facet normal");
    AppendTriple(out, t.Normal());
    out.append("\n    outer loop\n");
    for (const auto& corner : t.corners) {
      out.append("      vertex");
      AppendTriple(out, corner);
      out += '\n';
    }
    out.append("    endloop\n  endfacet\n");
  }
  out.append("endsolid ").append(name).append("\n");
}

void AppendBinaryHeader(std::string& out, std::uint32_t triangleCount) {
  // Must not begin with "solid", or readers take it for text.
  char header[80];
  std::memset(header, ' ', sizeof header);
  static constexpr char kLabel[] = "Binary STL of meshed shapes";
  std::memcpy(header, kLabel, sizeof kLabel - 1);
  out.append(header, sizeof header);
  AppendUint32(out, triangleCount);
}

void AppendBinaryTriangles(std::string& out, std::span<const Triangle> triangles) {
  MakeRoom(out, triangles.size() * 50);
  for (const Triangle& t : triangles) {
    for (double v : t.Normal()) AppendFloat(out, v);
    for (const auto& corner : t.corners)
      for (double v : corner) AppendFloat(out, v);
    out.append(2, '\0');  // attribute byte count
  }
}

}  // namespace brennic
