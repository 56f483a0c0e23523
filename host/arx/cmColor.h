#pragma once
// Colours: AcCmEntityColor is the packed form an entity stores (method in the
// top byte, then red, green, blue or an index); AcCmColor adds the names of
// book colours.
#include "arx/ErrorStatus.h"
#include "arx/adesk.h"
#include "mfc/CString.h"

#include <memory>

class AcCmEntityColor {
 public:
  enum ColorMethod : Adesk::UInt8 {
    kByLayer = 0xC0,
    kByBlock = 0xC1,
    kByColor = 0xC2,
    kByACI = 0xC3,
    kByPen = 0xC4,
    kForeground = 0xC5,
    kLayerOff = 0xC6,
    kLayerFrozen = 0xC7,
    kNone = 0xC8
  };
  enum ACIcolorMethod : Adesk::Int16 { kACIbyBlock = 0, kACIforeground = 7, kACIbyLayer = 256, kACIclear = 0,
                                       kACIRed = 1, kACIYellow = 2, kACIGreen = 3, kACICyan = 4, kACIBlue = 5,
                                       kACIMagenta = 6, kACIWhite = 7, kACIstandard = 7, kACImaximum = 255,
                                       kACInone = 257, kACIminimum = -255 };

  AcCmEntityColor() = default;  // by layer
  explicit AcCmEntityColor(ColorMethod method) : method_(method) {}
  AcCmEntityColor(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue) { setRGB(red, green, blue); }

  ColorMethod colorMethod() const { return method_; }
  Acad::ErrorStatus setColorMethod(ColorMethod method);
  bool isByColor() const { return method_ == kByColor; }
  bool isByLayer() const { return method_ == kByLayer; }
  bool isByBlock() const { return method_ == kByBlock; }
  bool isByACI() const { return method_ == kByACI; }
  bool isByPen() const { return method_ == kByPen; }
  bool isForeground() const { return method_ == kForeground; }
  bool isNone() const { return method_ == kNone; }
  bool isLayerOff() const { return method_ == kLayerOff; }
  bool isLayerFrozen() const { return method_ == kLayerFrozen; }

  // The packed value: method in bits 24-31, then red (16-23), green (8-15)
  // and blue (0-7) for true colours, or the index in the low 16 bits.
  Adesk::UInt32 color() const;
  Acad::ErrorStatus setColor(Adesk::UInt32 packed);
  // 0 is by block, 256 by layer, 1 to 255 an index; anything else is refused.
  Acad::ErrorStatus setColorIndex(Adesk::Int16 index);
  // The index: 256 by layer, 0 by block, the index itself by ACI, 7 for the
  // foreground, the nearest index of a true colour.
  Adesk::Int16 colorIndex() const;
  Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);
  Acad::ErrorStatus setRed(Adesk::UInt8 v);
  Acad::ErrorStatus setGreen(Adesk::UInt8 v);
  Acad::ErrorStatus setBlue(Adesk::UInt8 v);
  // The components: of the true colour, or of the index's palette entry.
  Adesk::UInt8 red() const;
  Adesk::UInt8 green() const;
  Adesk::UInt8 blue() const;

  static Adesk::UInt32 lookUpRGB(Adesk::UInt8 aci);  // 0x00RRGGBB
  static Adesk::UInt8 lookUpACI(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);

  bool operator==(const AcCmEntityColor& o) const;
  bool operator!=(const AcCmEntityColor& o) const { return !(*this == o); }

 private:
  ColorMethod method_ = kByLayer;
  Adesk::UInt8 red_ = 0, green_ = 0, blue_ = 0;
  Adesk::Int16 index_ = 256;
};

class AcCmColor {
 public:
  AcCmColor() = default;  // by layer
  AcCmColor(const AcCmColor& o) : c_(o.c_), names_(o.names_ ? std::make_unique<Names>(*o.names_) : nullptr) {}
  AcCmColor& operator=(const AcCmColor& o) {
    if (this != &o) {
      c_ = o.c_;
      names_ = o.names_ ? std::make_unique<Names>(*o.names_) : nullptr;
    }
    return *this;
  }
  AcCmColor(AcCmColor&&) noexcept = default;
  AcCmColor& operator=(AcCmColor&&) noexcept = default;

  AcCmEntityColor::ColorMethod colorMethod() const { return c_.colorMethod(); }
  Acad::ErrorStatus setColorMethod(AcCmEntityColor::ColorMethod method) { return c_.setColorMethod(method); }
  bool isByColor() const { return c_.isByColor(); }
  bool isByLayer() const { return c_.isByLayer(); }
  bool isByBlock() const { return c_.isByBlock(); }
  bool isByACI() const { return c_.isByACI(); }
  bool isByPen() const { return c_.isByPen(); }
  bool isForeground() const { return c_.isForeground(); }
  bool isNone() const { return c_.isNone(); }
  bool isLayerOff() const { return c_.isLayerOff(); }
  bool isLayerFrozen() const { return c_.isLayerFrozen(); }

  Adesk::UInt32 color() const { return c_.color(); }
  Acad::ErrorStatus setColor(Adesk::UInt32 packed) { return c_.setColor(packed); }
  Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);
  Acad::ErrorStatus setRed(Adesk::UInt8 v) { return c_.setRed(v); }
  Acad::ErrorStatus setGreen(Adesk::UInt8 v) { return c_.setGreen(v); }
  Acad::ErrorStatus setBlue(Adesk::UInt8 v) { return c_.setBlue(v); }
  Adesk::UInt8 red() const { return c_.red(); }
  Adesk::UInt8 green() const { return c_.green(); }
  Adesk::UInt8 blue() const { return c_.blue(); }
  Adesk::UInt16 colorIndex() const { return static_cast<Adesk::UInt16>(c_.colorIndex()); }
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);
  Acad::ErrorStatus setByLayer() { return setColorMethod(AcCmEntityColor::kByLayer); }
  Acad::ErrorStatus setByBlock() { return setColorMethod(AcCmEntityColor::kByBlock); }
  Acad::ErrorStatus setForeground() { return setColorMethod(AcCmEntityColor::kForeground); }
  Acad::ErrorStatus setNone() { return setColorMethod(AcCmEntityColor::kNone); }

  const AcCmEntityColor& entityColor() const { return c_; }
  Acad::ErrorStatus setEntityColor(const AcCmEntityColor& c) { c_ = c; return Acad::eOk; }

  // Book colours: a colour name within a colour book.
  Acad::ErrorStatus setNames(const ACHAR* colorName, const ACHAR* bookName = nullptr);
  const ACHAR* colorName() const { return names_ ? names_->color.GetString() : nullptr; }
  const ACHAR* bookName() const { return hasBookName() ? names_->book.GetString() : nullptr; }
  bool hasColorName() const { return names_ != nullptr; }
  bool hasBookName() const { return names_ && !names_->book.IsEmpty(); }

  bool operator==(const AcCmColor& o) const;
  bool operator!=(const AcCmColor& o) const { return !(*this == o); }

 private:
  // Names are rare: every entity holds a colour, so they are held apart,
  // only by the colours that have them (the colour name is never empty).
  struct Names {
    CString color, book;
  };
  AcCmEntityColor c_;
  std::unique_ptr<Names> names_;
};
