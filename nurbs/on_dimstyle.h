#pragma once
// ON_DimStyle: a dimension style record, with openNURBS's defaults.
#include "on_object.h"
#include "on_string.h"
#include "on_uuid.h"

class ON_DimStyle : public ON_Object {
  ON_OBJECT_DECLARE(ON_DimStyle)
 public:
  int m_dimstyle_index = -1;
  ON_UUID m_dimstyle_id = ON_nil_uuid;
  ON_wString m_dimstyle_name;
  double m_extextension = 0.5;
  double m_extoffset = 0.5;
  double m_arrowsize = 1.0;
  double m_leaderarrowsize = 1.0;
  double m_centermark = 0.5;
  double m_textgap = 0.25;
  double m_textheight = 1.0;
  int m_textalign = ON::dtAboveLine;  // an ON::eTextDisplayMode value
  int m_arrowtype = 0;
  int m_angularunits = 0;  // 0: degrees, 1: radians
  int m_lengthformat = 0;
  int m_angleformat = 0;
  int m_angleresolution = 2;
  int m_lengthresolution = 2;
  int m_fontindex = -1;

  ON_DimStyle() = default;
  void SetDefaults() { *this = ON_DimStyle(); }

  const wchar_t* Name() const { return m_dimstyle_name; }
  void SetName(const wchar_t* name) { m_dimstyle_name = name; }
  int Index() const { return m_dimstyle_index; }
  void SetIndex(int i) { m_dimstyle_index = i; }
  double ExtExtension() const { return m_extextension; }
  void SetExtExtension(double v) { m_extextension = v; }
  double ExtOffset() const { return m_extoffset; }
  void SetExtOffset(double v) { m_extoffset = v; }
  double ArrowSize() const { return m_arrowsize; }
  void SetArrowSize(double v) { m_arrowsize = v; }
  double LeaderArrowSize() const { return m_leaderarrowsize; }
  void SetLeaderArrowSize(double v) { m_leaderarrowsize = v; }
  double CenterMark() const { return m_centermark; }
  void SetCenterMark(double v) { m_centermark = v; }
  double TextGap() const { return m_textgap; }
  void SetTextGap(double v) { m_textgap = v; }
  double TextHeight() const { return m_textheight; }
  void SetTextHeight(double v) { m_textheight = v; }
  ON::eTextDisplayMode TextAlignment() const { return ON::TextDisplayMode(m_textalign); }
  void SetTextAlignment(ON::eTextDisplayMode a) { m_textalign = a; }
  int ArrowType() const { return m_arrowtype; }
  void SetArrowType(int v) { m_arrowtype = v; }
  int AngularUnits() const { return m_angularunits; }
  void SetAngularUnits(int v) { m_angularunits = v; }
  int LengthFormat() const { return m_lengthformat; }
  void SetLengthFormat(int v) { m_lengthformat = v; }
  int AngleFormat() const { return m_angleformat; }
  void SetAngleFormat(int v) { m_angleformat = v; }
  int AngleResolution() const { return m_angleresolution; }
  void SetAngleResolution(int v) { m_angleresolution = v; }
  int LengthResolution() const { return m_lengthresolution; }
  void SetLengthResolution(int v) { m_lengthresolution = v; }
  int FontIndex() const { return m_fontindex; }
  void SetFontIndex(int v) { m_fontindex = v; }
};
