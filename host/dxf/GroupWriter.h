#pragma once
// Writes DXF group-code/value pairs as ASCII DXF text. Reals are written in
// the shortest form that reads back to the same double, always with a '.'
// (the host's FormatShortest), so the output never depends on the process
// locale.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace arxhost::dxf {

// A value that DXF cannot hold (a non-finite coordinate, for example). The
// writer turns it into an error for the whole save rather than writing a file
// that readers would refuse.
class DxfWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Handle = std::uint64_t;

std::string FormatReal(double value);
std::string FormatHandle(Handle handle);

// The box around points, for the drawing's extents.
struct Extents {
  double min[3] = {1e20, 1e20, 1e20}, max[3] = {-1e20, -1e20, -1e20};
  bool empty() const { return min[0] > max[0]; }
  void add(double x, double y, double z) {
    const double p[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
      if (p[i] < min[i]) min[i] = p[i];
      if (p[i] > max[i]) max[i] = p[i];
    }
  }
};

class GroupWriter {
 public:
  // While set, every point under group 10 (the first or only point of
  // every entity and vertex) widens the box.
  void trackExtents(Extents* extents) { extents_ = extents; }

  void text(int code, std::string_view utf8);
  void text(int code, std::wstring_view wide);
  void integer(int code, long long value);
  void real(int code, double value);
  void handle(int code, Handle value);
  // code, code+10, code+20: x, y, z.
  void point(int code, double x, double y, double z);
  void point2(int code, double x, double y);
  // The start of an entity or object: group 0 with its type.
  void type(std::string_view name) { text(0, name); }

  // What was written since the last take, joined.
  std::string str() const;
  // The same, and the writer emptied.
  std::string take();
  // The same in the pieces it was written in, none copied.
  std::vector<std::string> takePieces();
  void append(const std::string& other) {
    out_ += other;
    seal();
  }

 private:
  // Large output goes into pieces of about a few MiB instead of one string
  // that doubles as it grows: nothing is copied to grow it, and the memory
  // it takes is what it holds.
  static constexpr std::size_t kPiece = std::size_t{4} << 20;
  void seal() {
    if (out_.size() >= kPiece) {
      pieces_.push_back(std::move(out_));
      out_ = std::string();
      out_.reserve(kPiece + 4096);
    }
  }
  void code(int code);
  std::string out_;
  std::vector<std::string> pieces_;
  Extents* extents_ = nullptr;
};

// A string value as DXF can hold it on one line: control characters
// (line ends included) become spaces.
std::string SingleLine(std::string_view utf8);

}  // namespace arxhost::dxf
