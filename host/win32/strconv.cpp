#include "win32/strconv.h"

#include "utf8.h"

namespace arxhost {

std::string ToUtf8(std::wstring_view text) { return utf8::Encode(text); }

std::wstring FromUtf8(std::string_view text) { return utf8::Decode(text); }

std::string NativePath(std::wstring_view windowsPath) {
  std::string path = ToUtf8(windowsPath);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace arxhost
