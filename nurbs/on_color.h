#pragma once
// ON_Color: a packed 32-bit colour, red in the low byte, then green, blue and
// alpha (0 is opaque).
#include "on_base.h"

class ON_Color {
 public:
  static constexpr ON__UINT32 UnsetColor = 0xFFFFFFFFu;

  constexpr ON_Color() = default;
  constexpr ON_Color(ON__UINT32 packed) : m_color(packed) {}
  constexpr ON_Color(int red, int green, int blue, int alpha = 0)
      : m_color(Pack(red, green, blue, alpha)) {}

  constexpr operator ON__UINT32() const { return m_color; }
  constexpr int Red() const { return static_cast<int>(m_color & 0xFF); }
  constexpr int Green() const { return static_cast<int>((m_color >> 8) & 0xFF); }
  constexpr int Blue() const { return static_cast<int>((m_color >> 16) & 0xFF); }
  constexpr int Alpha() const { return static_cast<int>((m_color >> 24) & 0xFF); }
  void SetRGB(int red, int green, int blue) { m_color = Pack(red, green, blue, 0); }
  void SetRGBA(int red, int green, int blue, int alpha) { m_color = Pack(red, green, blue, alpha); }
  ON_Color& operator=(ON__UINT32 packed) { m_color = packed; return *this; }
  constexpr bool operator==(const ON_Color& c) const { return m_color == c.m_color; }
  constexpr bool operator!=(const ON_Color& c) const { return m_color != c.m_color; }

 private:
  static constexpr ON__UINT32 Clamp(int v) {
    return static_cast<ON__UINT32>(v < 0 ? 0 : (v > 255 ? 255 : v));
  }
  static constexpr ON__UINT32 Pack(int r, int g, int b, int a) {
    return Clamp(r) | (Clamp(g) << 8) | (Clamp(b) << 16) | (Clamp(a) << 24);
  }
  ON__UINT32 m_color = 0;
};
