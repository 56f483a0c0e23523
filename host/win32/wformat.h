#pragma once
// The number formatters of the host. Numbers are always written with a '.'
// decimal point, whatever the process locale.
//
// FormatWide is the one wide-character formatter. It follows Microsoft's
// rules for wide format strings, not the C library's: %s and %c take wide
// arguments, %S, %hs and %hc narrow ones, %ls and %lc wide ones.
#include <cstdarg>
#include <string>

namespace arxhost {

std::wstring FormatWideV(const wchar_t* format, va_list args);
std::wstring FormatWide(const wchar_t* format, ...);

// The reals of the files the host writes (DXF, SAT): the shortest text that
// reads back to the same double ("0.1", "-3", "1e+20"); -0, infinities and
// NaN come out as "-0", "inf", "nan".
std::string FormatShortest(double value);

// A real with a fixed number of digits after the point (0 to 17), rounded
// to the nearest, as dimension texts show it.
std::string FormatFixed(double value, int decimals);

}  // namespace arxhost
