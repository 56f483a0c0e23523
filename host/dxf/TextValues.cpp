#include "dxf/TextValues.h"

namespace arxhost::dxf {

std::string CaretEncode(std::string_view utf8, bool mtext) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    auto u = static_cast<unsigned char>(c);
    if (mtext && (c == '\r' || c == '\n')) {
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      out += "\\P";
    } else if (c == '^') {
      out += "^ ";
    } else if (u < 0x20) {
      out += '^';
      out += static_cast<char>(u + 64);
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

// The longest prefix of at most limit bytes that ends on a character
// boundary and not inside a caret pair.
size_t ChunkEnd(std::string_view s, size_t limit) {
  if (s.size() <= limit) return s.size();
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  if (end > 0 && s[end - 1] == '^') --end;
  return end > 0 ? end : limit;
}

}  // namespace

void WriteChunked(GroupWriter& out, int chunkCode, int lastCode, std::string_view value) {
  constexpr size_t kChunk = 250;
  while (value.size() > kChunk) {
    size_t end = ChunkEnd(value, kChunk);
    out.text(chunkCode, value.substr(0, end));
    value.remove_prefix(end);
  }
  out.text(lastCode, value);
}

std::string EncodeSatLine(std::string_view line) {
  std::string out;
  out.reserve(line.size() + line.size() / 8);
  for (char c : line) {
    auto u = static_cast<unsigned char>(c);
    if (u > 0x20 && u < 0x7F) {
      char e = static_cast<char>(159 - u);
      out += e;
      if (e == '^') out += ' ';
    } else {
      out += ' ';  // SAT is printable ASCII; tabs and the like read as blanks
    }
  }
  return out;
}

std::vector<std::string_view> SatLines(std::string_view sat) {
  std::vector<std::string_view> lines;
  while (!sat.empty()) {
    size_t end = sat.find('\n');
    std::string_view line = sat.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    if (!line.empty()) lines.push_back(line);
    if (end == std::string_view::npos) break;
    sat.remove_prefix(end + 1);
  }
  return lines;
}

void WriteSatData(GroupWriter& out, std::string_view sat) {
  constexpr size_t kLine = 255;
  for (auto line : SatLines(sat)) {
    std::string encoded = EncodeSatLine(line);
    std::string_view rest = encoded;
    size_t end = ChunkEnd(rest, kLine);
    out.text(1, rest.substr(0, end));
    rest.remove_prefix(end);
    while (!rest.empty()) {
      end = ChunkEnd(rest, kLine);
      out.text(3, rest.substr(0, end));
      rest.remove_prefix(end);
    }
  }
}

}  // namespace arxhost::dxf
