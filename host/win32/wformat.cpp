#include "win32/wformat.h"

#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <locale.h>

#include "win32/strconv.h"

namespace arxhost {
namespace {

// snprintf under the "C" locale for this thread only, so that a process
// locale with a decimal comma never reaches our numbers.
class ClassicLocaleScope {
 public:
  ClassicLocaleScope() : previous_(uselocale(Classic())) {}
  ~ClassicLocaleScope() { uselocale(previous_); }
  ClassicLocaleScope(const ClassicLocaleScope&) = delete;
  ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

 private:
  static locale_t Classic() {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
  }
  locale_t previous_;
};

enum class Size { kDefault, kShort, kLong, kLongLong, kInt64, kSizeT, kPtrDiff, kIntMax, kLongDouble };

struct Spec {
  std::string flags;
  int width = -1;
  int precision = -1;
  Size size = Size::kDefault;
  wchar_t conversion = 0;
};

std::string NarrowFormat(const Spec& spec, const char* lengthAndConversion) {
  std::string fmt = "%";
  fmt += spec.flags;
  if (spec.width >= 0) fmt += std::to_string(spec.width);
  if (spec.precision >= 0) fmt += "." + std::to_string(spec.precision);
  fmt += lengthAndConversion;
  return fmt;
}

template <typename T>
std::wstring Snprintf(const std::string& fmt, T value) {
  ClassicLocaleScope classic;
  char small[128];
  int n = std::snprintf(small, sizeof small, fmt.c_str(), value);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof small) return FromUtf8(std::string_view(small, n));
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), fmt.c_str(), value);
  big.resize(n);
  return FromUtf8(big);
}

// Pads a string argument to the spec's width ('-' aligns left).
void AppendPadded(std::wstring& out, std::wstring_view text, const Spec& spec) {
  if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision)) text = text.substr(0, spec.precision);
  size_t pad = spec.width > 0 && static_cast<size_t>(spec.width) > text.size() ? spec.width - text.size() : 0;
  bool left = spec.flags.find('-') != std::string::npos;
  if (!left) out.append(pad, L' ');
  out.append(text);
  if (left) out.append(pad, L' ');
}

std::wstring WidenNarrow(const char* text, int precision) {
  if (!text) return L"(null)";
  size_t len = precision >= 0 ? strnlen(text, precision) : std::strlen(text);
  return FromUtf8(std::string_view(text, len));
}

}  // namespace

std::wstring FormatWideV(const wchar_t* format, va_list args) {
  std::wstring out;
  if (!format) return out;
  va_list ap;
  va_copy(ap, args);
  for (const wchar_t* p = format; *p; ++p) {
    if (*p != L'%') {
      out += *p;
      continue;
    }
    ++p;
    if (*p == L'%') {
      out += L'%';
      continue;
    }
    Spec spec;
    while (*p && std::wcschr(L"-+ #0", *p)) spec.flags += static_cast<char>(*p++);
    if (*p == L'*') {
      spec.width = va_arg(ap, int);
      if (spec.width < 0) {
        spec.flags += '-';
        spec.width = -spec.width;
      }
      ++p;
    } else {
      while (*p >= L'0' && *p <= L'9') spec.width = (spec.width < 0 ? 0 : spec.width * 10) + (*p++ - L'0');
    }
    if (*p == L'.') {
      ++p;
      spec.precision = 0;
      if (*p == L'*') {
        spec.precision = va_arg(ap, int);
        if (spec.precision < 0) spec.precision = -1;
        ++p;
      } else {
        while (*p >= L'0' && *p <= L'9') spec.precision = spec.precision * 10 + (*p++ - L'0');
      }
    }
    // Length modifiers, Microsoft's and C99's.
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
      spec.size = Size::kInt64;
      p += 3;
    } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
      p += 3;
    } else if (*p == L'I') {
      spec.size = Size::kSizeT;
      ++p;
    } else if (p[0] == L'l' && p[1] == L'l') {
      spec.size = Size::kLongLong;
      p += 2;
    } else if (*p == L'l' || *p == L'w') {
      spec.size = Size::kLong;
      ++p;
    } else if (p[0] == L'h' && p[1] == L'h') {
      spec.size = Size::kShort;
      p += 2;
    } else if (*p == L'h') {
      spec.size = Size::kShort;
      ++p;
    } else if (*p == L'z') {
      spec.size = Size::kSizeT;
      ++p;
    } else if (*p == L't') {
      spec.size = Size::kPtrDiff;
      ++p;
    } else if (*p == L'j') {
      spec.size = Size::kIntMax;
      ++p;
    } else if (*p == L'L') {
      spec.size = Size::kLongDouble;
      ++p;
    }
    spec.conversion = *p;
    switch (spec.conversion) {
      case L'd':
      case L'i': {
        long long v;
        switch (spec.size) {
          case Size::kShort: v = static_cast<short>(va_arg(ap, int)); break;
          // 'l' is 32 bits on Windows.
          case Size::kLong: v = static_cast<std::int32_t>(va_arg(ap, long)); break;
          case Size::kLongLong: case Size::kInt64: case Size::kIntMax: v = va_arg(ap, long long); break;
          case Size::kSizeT: case Size::kPtrDiff: v = va_arg(ap, std::ptrdiff_t); break;
          default: v = va_arg(ap, int); break;
        }
        out += Snprintf(NarrowFormat(spec, "lld"), v);
        break;
      }
      case L'u':
      case L'x':
      case L'X':
      case L'o': {
        unsigned long long v;
        switch (spec.size) {
          case Size::kShort: v = static_cast<unsigned short>(va_arg(ap, unsigned int)); break;
          case Size::kLong: v = static_cast<std::uint32_t>(va_arg(ap, unsigned long)); break;
          case Size::kLongLong: case Size::kInt64: case Size::kIntMax: v = va_arg(ap, unsigned long long); break;
          case Size::kSizeT: case Size::kPtrDiff: v = va_arg(ap, size_t); break;
          default: v = va_arg(ap, unsigned int); break;
        }
        char conv[4] = {'l', 'l', static_cast<char>(spec.conversion), 0};
        out += Snprintf(NarrowFormat(spec, conv), v);
        break;
      }
      case L'f': case L'F': case L'e': case L'E': case L'g': case L'G': case L'a': case L'A': {
        char conv[3] = {static_cast<char>(spec.conversion), 0, 0};
        if (spec.size == Size::kLongDouble) {
          // Windows' long double is a double.
          out += Snprintf(NarrowFormat(spec, conv), va_arg(ap, long double));
        } else {
          out += Snprintf(NarrowFormat(spec, conv), va_arg(ap, double));
        }
        break;
      }
      case L'c':
      case L'C': {
        // %c is wide in a wide format, %C narrow; h and l force either.
        bool narrow = spec.size == Size::kShort || (spec.conversion == L'C' && spec.size != Size::kLong);
        int c = va_arg(ap, int);
        wchar_t ch = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(c)) : static_cast<wchar_t>(c);
        Spec noPrecision = spec;
        noPrecision.precision = -1;
        AppendPadded(out, std::wstring_view(&ch, 1), noPrecision);
        break;
      }
      case L's':
      case L'S': {
        bool narrow = spec.size == Size::kShort || (spec.conversion == L'S' && spec.size != Size::kLong);
        if (narrow) {
          const char* s = va_arg(ap, const char*);
          std::wstring w = WidenNarrow(s, spec.precision);
          Spec noPrecision = spec;
          noPrecision.precision = -1;
          AppendPadded(out, w, noPrecision);
        } else {
          const wchar_t* s = va_arg(ap, const wchar_t*);
          AppendPadded(out, s ? std::wstring_view(s) : std::wstring_view(L"(null)"), spec);
        }
        break;
      }
      case L'p': {
        void* v = va_arg(ap, void*);
        // Windows prints pointers as 16 upper-case hex digits.
        out += Snprintf(std::string("%016llX"), static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(v)));
        break;
      }
      case L'n':
        (void)va_arg(ap, void*);  // never written: %n is refused as Windows does by default
        break;
      case 0:
        --p;  // a lone '%' at the end
        break;
      default:
        out += L'%';
        out += spec.conversion;
        break;
    }
  }
  va_end(ap);
  return out;
}

std::string FormatShortest(double value) {
  char buffer[32];  // the longest shortest form of a double has 24 characters
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string FormatFixed(double value, int decimals) {
  decimals = decimals < 0 ? 0 : decimals > 17 ? 17 : decimals;
  char buffer[340];  // up to 309 digits before the point
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::wstring FormatWide(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring s = FormatWideV(format, args);
  va_end(args);
  return s;
}

}  // namespace arxhost
