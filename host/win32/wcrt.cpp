#include "win32/wcrt.h"

#include <algorithm>
#include <cstdarg>
#include <string>
#include <string_view>

#include "win32/wformat.h"

namespace {

void CopyPart(std::wstring_view part, wchar_t* out, size_t capacity) {
  if (!out) return;
  const size_t n = std::min(part.size(), capacity - 1);
  std::copy_n(part.data(), n, out);
  out[n] = 0;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

void _wsplitpath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* fname, wchar_t* ext) {
  std::wstring_view rest = path ? std::wstring_view(path) : std::wstring_view();
  std::wstring_view drivePart;
  if (rest.size() >= 2 && rest[1] == L':') {
    drivePart = rest.substr(0, 2);
    rest.remove_prefix(2);
  }
  size_t lastSep = std::wstring_view::npos;
  for (size_t i = 0; i < rest.size(); ++i)
    if (IsSeparator(rest[i])) lastSep = i;
  std::wstring_view dirPart = lastSep == std::wstring_view::npos ? std::wstring_view() : rest.substr(0, lastSep + 1);
  std::wstring_view name = lastSep == std::wstring_view::npos ? rest : rest.substr(lastSep + 1);
  // The extension starts at the last dot of the file name.
  size_t dot = name.rfind(L'.');
  std::wstring_view extPart = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);
  std::wstring_view namePart = dot == std::wstring_view::npos ? name : name.substr(0, dot);
  CopyPart(drivePart, drive, _MAX_DRIVE);
  CopyPart(dirPart, dir, _MAX_DIR);
  CopyPart(namePart, fname, _MAX_FNAME);
  CopyPart(extPart, ext, _MAX_EXT);
}

int _swprintf(wchar_t* buffer, const wchar_t* format, ...) {
  if (!buffer || !format) return -1;
  va_list args;
  va_start(args, format);
  std::wstring text = arxhost::FormatWideV(format, args);
  va_end(args);
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return static_cast<int>(text.size());
}
