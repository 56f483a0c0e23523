// Colour methods, packing and the index palette.
#include "arx/cmColor.h"

#include <array>
#include <cstdlib>

namespace {

// The 256 entries of the index palette (0 unused), 0x00RRGGBB.
std::array<Adesk::UInt32, 256> BuildPalette() {
  std::array<Adesk::UInt32, 256> p{};
  auto pack = [](int r, int g, int b) { return static_cast<Adesk::UInt32>((r << 16) | (g << 8) | b); };
  const int basic[10][3] = {{0, 0, 0},     {255, 0, 0},   {255, 255, 0}, {0, 255, 0},     {0, 255, 255},
                            {0, 0, 255},   {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
  for (int i = 0; i < 10; ++i) p[i] = pack(basic[i][0], basic[i][1], basic[i][2]);
  // 10 to 249: 24 hues of 15 degrees, 5 values, full and half saturation.
  // Channels in exact fractions of 20ths so that halves round upward.
  const int value20[5] = {20, 13, 10, 6, 3};
  for (int aci = 10; aci < 250; ++aci) {
    int k = aci - 10, h = k / 10, v = (k % 10) / 2, half = k % 2;
    int sector = h / 4, f4 = h % 4;  // f = f4 / 4
    // Work in units of 1/160: V = value20/20, S = 1 or 1/2, f = f4/4.
    long V = value20[v] * 8;                        // V * 160
    long P = half ? V / 2 : 0;                      // V (1 - S)
    long Q = half ? V - V * f4 / 8 : V - V * f4 / 4;  // V (1 - S f)
    long T = half ? V - V * (4 - f4) / 8 : V - V * (4 - f4) / 4;
    long c[3];
    switch (sector) {
      case 0: c[0] = V; c[1] = T; c[2] = P; break;
      case 1: c[0] = Q; c[1] = V; c[2] = P; break;
      case 2: c[0] = P; c[1] = V; c[2] = T; break;
      case 3: c[0] = P; c[1] = Q; c[2] = V; break;
      case 4: c[0] = T; c[1] = P; c[2] = V; break;
      default: c[0] = V; c[1] = P; c[2] = Q; break;
    }
    int rgb[3];
    for (int i = 0; i < 3; ++i) rgb[i] = static_cast<int>((c[i] * 255 * 2 + 160) / 320);  // round half up
    p[aci] = pack(rgb[0], rgb[1], rgb[2]);
  }
  const int greys[6] = {84, 118, 152, 187, 221, 255};
  for (int i = 0; i < 6; ++i) p[250 + i] = pack(greys[i], greys[i], greys[i]);
  return p;
}

const std::array<Adesk::UInt32, 256>& Palette() {
  static const auto palette = BuildPalette();
  return palette;
}

}  // namespace

Adesk::UInt32 AcCmEntityColor::lookUpRGB(Adesk::UInt8 aci) { return Palette()[aci]; }

Adesk::UInt8 AcCmEntityColor::lookUpACI(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
  int best = 1;
  long bestD = -1;
  for (int i = 1; i < 256; ++i) {
    Adesk::UInt32 c = Palette()[i];
    long dr = static_cast<long>((c >> 16) & 0xFF) - r, dg = static_cast<long>((c >> 8) & 0xFF) - g,
         db = static_cast<long>(c & 0xFF) - b;
    long d = dr * dr + dg * dg + db * db;
    if (bestD < 0 || d < bestD) { bestD = d; best = i; }
  }
  return static_cast<Adesk::UInt8>(best);
}

Acad::ErrorStatus AcCmEntityColor::setColorMethod(ColorMethod method) {
  if (method < kByLayer || method > kNone) return Acad::eInvalidInput;
  method_ = method;
  if (method == kByLayer) index_ = 256;
  else if (method == kByBlock) index_ = 0;
  else if (method == kForeground) index_ = 7;
  else if (method == kByACI && (index_ < 1 || index_ > 255)) index_ = 7;
  return Acad::eOk;
}

Adesk::UInt32 AcCmEntityColor::color() const {
  Adesk::UInt32 m = static_cast<Adesk::UInt32>(method_) << 24;
  if (method_ == kByColor) return m | (Adesk::UInt32(red_) << 16) | (Adesk::UInt32(green_) << 8) | blue_;
  return m | static_cast<Adesk::UInt16>(index_);
}

Acad::ErrorStatus AcCmEntityColor::setColor(Adesk::UInt32 packed) {
  auto method = static_cast<ColorMethod>(packed >> 24);
  if (method < kByLayer || method > kNone) return Acad::eInvalidInput;
  if (method == kByColor) return setRGB((packed >> 16) & 0xFF, (packed >> 8) & 0xFF, packed & 0xFF);
  if (method == kByACI) return setColorIndex(static_cast<Adesk::Int16>(packed & 0xFFFF));
  return setColorMethod(method);
}

Acad::ErrorStatus AcCmEntityColor::setColorIndex(Adesk::Int16 index) {
  if (index == 0) return setColorMethod(kByBlock);
  if (index == 256) return setColorMethod(kByLayer);
  if (index < 1 || index > 255) return Acad::eOutOfRange;
  method_ = kByACI;
  index_ = index;
  return Acad::eOk;
}

Adesk::Int16 AcCmEntityColor::colorIndex() const {
  switch (method_) {
    case kByLayer: return 256;
    case kByBlock: return 0;
    case kByACI: case kByPen: return index_;
    case kForeground: return 7;
    case kByColor: return lookUpACI(red_, green_, blue_);
    case kNone: return 257;
    default: return index_;
  }
}

Acad::ErrorStatus AcCmEntityColor::setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
  method_ = kByColor;
  red_ = r;
  green_ = g;
  blue_ = b;
  return Acad::eOk;
}
Acad::ErrorStatus AcCmEntityColor::setRed(Adesk::UInt8 v) { return setRGB(v, green(), blue()); }
Acad::ErrorStatus AcCmEntityColor::setGreen(Adesk::UInt8 v) { return setRGB(red(), v, blue()); }
Acad::ErrorStatus AcCmEntityColor::setBlue(Adesk::UInt8 v) { return setRGB(red(), green(), v); }

namespace {
Adesk::UInt32 ComponentsOf(const AcCmEntityColor& c, Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
  if (c.isByColor()) return (Adesk::UInt32(r) << 16) | (Adesk::UInt32(g) << 8) | b;
  Adesk::Int16 i = c.colorIndex();
  if (i >= 1 && i <= 255) return AcCmEntityColor::lookUpRGB(static_cast<Adesk::UInt8>(i));
  return 0xFFFFFF;
}
}  // namespace

Adesk::UInt8 AcCmEntityColor::red() const { return (ComponentsOf(*this, red_, green_, blue_) >> 16) & 0xFF; }
Adesk::UInt8 AcCmEntityColor::green() const { return (ComponentsOf(*this, red_, green_, blue_) >> 8) & 0xFF; }
Adesk::UInt8 AcCmEntityColor::blue() const { return ComponentsOf(*this, red_, green_, blue_) & 0xFF; }

bool AcCmEntityColor::operator==(const AcCmEntityColor& o) const { return color() == o.color(); }

Acad::ErrorStatus AcCmColor::setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
  names_.reset();
  return c_.setRGB(r, g, b);
}

Acad::ErrorStatus AcCmColor::setColorIndex(Adesk::UInt16 index) {
  if (index > 256) return Acad::eOutOfRange;
  names_.reset();
  return c_.setColorIndex(static_cast<Adesk::Int16>(index));
}

Acad::ErrorStatus AcCmColor::setNames(const ACHAR* colorName, const ACHAR* bookName) {
  if (!colorName || !*colorName) return Acad::eInvalidInput;
  names_ = std::make_unique<Names>(Names{colorName, bookName ? bookName : L""});
  return Acad::eOk;
}

bool AcCmColor::operator==(const AcCmColor& o) const {
  if (!(c_ == o.c_) || hasColorName() != o.hasColorName()) return false;
  return !names_ || (names_->color == o.names_->color && names_->book == o.names_->book);
}
