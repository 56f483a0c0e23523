#pragma once
// The one wide-character formatter of the host. It follows Microsoft's rules
// for wide format strings, not the C library's: %s and %c take wide
// arguments, %S, %hs and %hc narrow ones, %ls and %lc wide ones. Numbers are
// always written with a '.' decimal point, whatever the process locale.
#include <cstdarg>
#include <string>

namespace arxhost {

std::wstring FormatWideV(const wchar_t* format, va_list args);
std::wstring FormatWide(const wchar_t* format, ...);

}  // namespace arxhost
