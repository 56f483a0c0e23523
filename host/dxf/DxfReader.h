#pragma once
// Reading ASCII DXF text into group-code/value pairs. Every group is
// checked as it is read: a code that is not a number, a number that does
// not parse (always with a '.', whatever the process locale), a value of
// the wrong kind for its code, or a file that stops between a code and its
// value is refused with DxfReadError naming the line.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace arxhost::dxf {

class DxfReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct DxfGroup {
  int code = 0;
  std::string_view value;  // into the text given to ReadDxfGroups
  std::size_t line = 0;    // of the code, 1-based
  double real = 0.0;       // for real-valued codes
  long long integer = 0;   // for integer-valued codes
};

enum class DxfValueKind { Text, Real, Integer, Handle, Binary };
DxfValueKind KindOfCode(int code);

// The groups of the whole text; comments (999) are dropped. The text must
// outlive the groups.
std::vector<DxfGroup> ReadDxfGroups(std::string_view text);

// True when the text starts as binary DXF files do.
bool IsBinaryDxf(std::string_view text);

// "line N: " + what.
[[noreturn]] void FailAt(std::size_t line, const std::string& what);

}  // namespace arxhost::dxf
