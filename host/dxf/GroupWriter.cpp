#include "dxf/GroupWriter.h"

#include <charconv>
#include <cmath>

#include "win32/strconv.h"
#include "win32/wformat.h"

namespace arxhost::dxf {

std::string FormatReal(double value) {
  if (!std::isfinite(value)) throw DxfWriteError("a real value is not a finite number");
  if (value == 0.0) return "0.0";  // also turns -0 into 0
  std::string text = FormatShortest(value);
  // Readers take "1" as well as "1.0", but a real that looks like a real is
  // what every DXF writer emits.
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string FormatHandle(Handle handle) {
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
  std::string text(buffer, end);
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string SingleLine(std::string_view utf8) {
  std::string line(utf8);
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return line;
}

std::string GroupWriter::str() const {
  std::string text;
  for (const auto& piece : pieces_) text += piece;
  return text + out_;
}

std::string GroupWriter::take() {
  std::string text;
  if (pieces_.empty()) {
    text = std::move(out_);
  } else {
    std::size_t size = out_.size();
    for (const auto& piece : pieces_) size += piece.size();
    text.reserve(size);
    for (const auto& piece : pieces_) text += piece;
    text += out_;
  }
  pieces_.clear();
  out_ = std::string();
  return text;
}

std::vector<std::string> GroupWriter::takePieces() {
  std::vector<std::string> pieces = std::move(pieces_);
  pieces_.clear();
  if (!out_.empty()) pieces.push_back(std::move(out_));
  out_ = std::string();
  return pieces;
}

void GroupWriter::code(int code) {
  seal();
  char buffer[16];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, code);
  for (auto width = end - buffer; width < 3; ++width) out_ += ' ';
  out_.append(buffer, end);
  out_ += '\n';
}

void GroupWriter::text(int code, std::string_view utf8) {
  this->code(code);
  out_ += SingleLine(utf8);
  out_ += '\n';
}

void GroupWriter::text(int code, std::wstring_view wide) { text(code, ToUtf8(wide)); }

void GroupWriter::integer(int code, long long value) {
  this->code(code);
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, end);
  out_ += '\n';
}

void GroupWriter::real(int code, double value) {
  std::string text = FormatReal(value);  // may throw before anything is written
  this->code(code);
  out_ += text;
  out_ += '\n';
}

void GroupWriter::handle(int code, Handle value) {
  this->code(code);
  out_ += FormatHandle(value);
  out_ += '\n';
}

void GroupWriter::point(int code, double x, double y, double z) {
  if (extents_ && code == 10 && std::isfinite(x) && std::isfinite(y) && std::isfinite(z)) extents_->add(x, y, z);
  real(code, x);
  real(code + 10, y);
  real(code + 20, z);
}

void GroupWriter::point2(int code, double x, double y) {
  real(code, x);
  real(code + 10, y);
}

}  // namespace arxhost::dxf
