#pragma once
// ON_Font: a font record; the face name defaults to "Arial".
#include "on_object.h"
#include "on_string.h"
#include "on_uuid.h"

class ON_Font : public ON_Object {
  ON_OBJECT_DECLARE(ON_Font)
 public:
  static constexpr const wchar_t* DefaultFaceName = L"Arial";

  int m_font_index = -1;
  ON_UUID m_font_id = ON_nil_uuid;
  ON_wString m_font_name{DefaultFaceName};
  ON_wString m_facename{DefaultFaceName};
  int m_font_weight = 400;  // normal
  bool m_font_italic = false;
  bool m_font_underlined = false;
  double m_linefeed_ratio = 1.6;

  ON_Font() = default;
  void Defaults() { *this = ON_Font(); }
  const wchar_t* FontFaceName() const { return m_facename; }
  bool SetFontFaceName(const wchar_t* face) { m_facename = face; return !m_facename.IsEmpty(); }
  const wchar_t* FontName() const { return m_font_name; }
  void SetFontName(const wchar_t* name) { m_font_name = name; }
  int FontIndex() const { return m_font_index; }
  void SetFontIndex(int i) { m_font_index = i; }
  int FontWeight() const { return m_font_weight; }
  void SetFontWeight(int w) { m_font_weight = w; }
  bool IsItalic() const { return m_font_italic; }
  bool IsBold() const { return m_font_weight >= 700; }
};
