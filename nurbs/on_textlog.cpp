#include "on_textlog.h"

#include <cstdarg>
#include <cstdio>

void ON_TextLog::Print(const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n > 0) {
    std::string piece(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(piece.data(), piece.size(), format, args);
    piece.resize(static_cast<size_t>(n));
    m_text += piece;
  }
  va_end(args);
}
