#pragma once
// The second generation of annotations: ON_Annotation2 names its dimension
// style (or, for texts, its font) by index m_index, and carries a text height
// and display mode; ON_TextDot is a world point with a text.
#include "on_geometry.h"
#include "on_plane.h"
#include "on_string.h"

class ON_Xform;

class ON_Annotation2 : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_Annotation2)
 public:
  ON::eAnnotationType m_type = ON::dtNothing;
  ON::eTextDisplayMode m_textdisplaymode = ON::dtNormal;
  ON_Plane m_plane;
  ON_2dPointArray m_points;
  ON_wString m_usertext;
  bool m_userpositionedtext = false;
  int m_index = 0;  // dimension style index; font index for texts
  double m_textheight = 1.0;
  unsigned int m_justification = 0;

  ON_Annotation2() = default;
  ON::object_type ObjectType() const override { return ON::annotation_object; }
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
  bool Transform(const ON_Xform& xform) override;

  ON::eAnnotationType Type() const { return m_type; }
  void SetType(ON::eAnnotationType type) { m_type = type; }
  const ON_Plane& Plane() const { return m_plane; }
  void SetPlane(const ON_Plane& plane) { m_plane = plane; }
  int PointCount() const { return m_points.Count(); }
  // Definition point i in plane coordinates; (0, 0) for an index out of range.
  ON_2dPoint Point(int i) const;
  void SetPoint(int i, const ON_2dPoint& p);
  void SetPoints(const ON_SimpleArray<ON_2dPoint>& points) { m_points = points; }
  const wchar_t* UserText() const { return m_usertext; }
  void SetUserText(const wchar_t* text) { m_usertext = text; }
  double Height() const { return m_textheight; }
  void SetHeight(double h) { m_textheight = h; }
  int Index() const { return m_index; }
  void SetIndex(int i) { m_index = i; }
  ON::eTextDisplayMode TextDisplayMode() const { return m_textdisplaymode; }
  void SetTextDisplayMode(ON::eTextDisplayMode mode) { m_textdisplaymode = mode; }
  unsigned int Justification() const { return m_justification; }
  void SetJustification(unsigned int j) { m_justification = j; }
  bool GetECStoWCSXform(ON_Xform& xform) const;
  bool IsText() const { return m_type == ON::dtTextBlock; }
  bool IsLeader() const { return m_type == ON::dtLeader; }
  bool IsDimension() const { return !IsText() && !IsLeader() && m_type != ON::dtNothing; }
};

class ON_LinearDimension2 : public ON_Annotation2 {
  ON_OBJECT_DECLARE(ON_LinearDimension2)
 public:
  ON_LinearDimension2() { m_type = ON::dtDimLinear; }
};

class ON_RadialDimension2 : public ON_Annotation2 {
  ON_OBJECT_DECLARE(ON_RadialDimension2)
 public:
  ON_RadialDimension2() { m_type = ON::dtDimRadius; }
};

class ON_AngularDimension2 : public ON_Annotation2 {
  ON_OBJECT_DECLARE(ON_AngularDimension2)
 public:
  double m_angle = 0.0;
  double m_radius = 1.0;
  ON_AngularDimension2() { m_type = ON::dtDimAngular; }
  double Angle() const { return m_angle; }
  double Radius() const { return m_radius; }
};

class ON_OrdinateDimension2 : public ON_Annotation2 {
  ON_OBJECT_DECLARE(ON_OrdinateDimension2)
 public:
  int m_direction = -1;  // -1: from the points, 0: x, 1: y
  double m_kink_offset_0 = ON_UNSET_VALUE;
  double m_kink_offset_1 = ON_UNSET_VALUE;
  ON_OrdinateDimension2() { m_type = ON::dtDimOrdinate; }
};

class ON_TextEntity2 : public ON_Annotation2 {
  ON_OBJECT_DECLARE(ON_TextEntity2)
 public:
  ON_TextEntity2() { m_type = ON::dtTextBlock; }
  // A text names its font by m_index.
  int FontIndex() const { return m_index; }
  void SetFontIndex(int i) { m_index = i; }
};

class ON_Leader2 : public ON_Annotation2 {
  ON_OBJECT_DECLARE(ON_Leader2)
 public:
  ON_Leader2() { m_type = ON::dtLeader; }
};

class ON_TextDot : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_TextDot)
 public:
  ON_3dPoint m_point;
  int m_height = 14;  // pixels
  ON_wString m_text;
  ON_wString m_fontface{L"Arial"};
  int m_display = 0;

  ON_TextDot() = default;
  ON::object_type ObjectType() const override { return ON::text_dot; }
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
  bool Transform(const ON_Xform& xform) override;
  const ON_3dPoint& Point() const { return m_point; }
  void SetPoint(const ON_3dPoint& p) { m_point = p; }
  const wchar_t* TextString() const { return m_text; }
  void SetTextString(const wchar_t* text) { m_text = text; }
  int Height() const { return m_height; }
  void SetHeight(int h) { m_height = h; }
  const wchar_t* FontFace() const { return m_fontface; }
  void SetFontFace(const wchar_t* face) { m_fontface = face; }
};
