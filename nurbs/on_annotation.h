#pragma once
// The first generation of annotations: ON_Annotation (a plane, definition
// points in it and a user text) with its texts, leaders and dimensions, and
// ON_AnnotationTextDot and ON_AnnotationArrow, which hold world points.
#include "on_geometry.h"
#include "on_plane.h"
#include "on_point_object.h"
#include "on_string.h"

class ON_Xform;

class ON_Annotation : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_Annotation)
 public:
  ON::eAnnotationType m_type = ON::dtNothing;
  ON_Plane m_plane;
  ON_2dPointArray m_points;
  ON_wString m_usertext;
  ON_wString m_defaulttext;
  bool m_userpositionedtext = false;

  ON_Annotation() = default;
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
  // Grows the list with (0, 0) points up to i.
  void SetPoint(int i, const ON_2dPoint& p);
  void SetPoints(const ON_SimpleArray<ON_2dPoint>& points) { m_points = points; }
  const wchar_t* UserText() const { return m_usertext; }
  void SetUserText(const wchar_t* text) { m_usertext = text; }
  const wchar_t* DefaultText() const { return m_defaulttext; }
  void SetDefaultText(const wchar_t* text) { m_defaulttext = text; }
  // The transform from plane coordinates to world coordinates; false when
  // the plane is not a valid frame (the transform is set all the same).
  bool GetECStoWCSXform(ON_Xform& xform) const;
  bool IsText() const { return m_type == ON::dtTextBlock; }
  bool IsLeader() const { return m_type == ON::dtLeader; }
  bool IsDimension() const { return !IsText() && !IsLeader() && m_type != ON::dtNothing; }
};

class ON_LinearDimension : public ON_Annotation {
  ON_OBJECT_DECLARE(ON_LinearDimension)
 public:
  ON_LinearDimension() { m_type = ON::dtDimLinear; }
};

class ON_RadialDimension : public ON_Annotation {
  ON_OBJECT_DECLARE(ON_RadialDimension)
 public:
  ON_RadialDimension() { m_type = ON::dtDimRadius; }
};

class ON_AngularDimension : public ON_Annotation {
  ON_OBJECT_DECLARE(ON_AngularDimension)
 public:
  double m_angle = 0.0;
  double m_radius = 1.0;
  ON_AngularDimension() { m_type = ON::dtDimAngular; }
  double Angle() const { return m_angle; }
  double Radius() const { return m_radius; }
};

class ON_TextEntity : public ON_Annotation {
  ON_OBJECT_DECLARE(ON_TextEntity)
 public:
  ON_wString m_facename{L"Arial"};
  int m_fontweight = 400;
  double m_height = 1.0;

  ON_TextEntity() { m_type = ON::dtTextBlock; }
  const wchar_t* FaceName() const { return m_facename; }
  void SetFaceName(const wchar_t* face) { m_facename = face; }
  int FontWeight() const { return m_fontweight; }
  void SetFontWeight(int w) { m_fontweight = w; }
  double Height() const { return m_height; }
  void SetHeight(double h) { m_height = h; }
};

class ON_Leader : public ON_Annotation {
  ON_OBJECT_DECLARE(ON_Leader)
 public:
  ON_Leader() { m_type = ON::dtLeader; }
};

class ON_AnnotationTextDot : public ON_Point {
  ON_OBJECT_DECLARE(ON_AnnotationTextDot)
 public:
  // The dot's location goes by both names: ON_Point's `point` and `m_point`.
  ON_3dPoint& m_point = point;
  ON_wString m_text;

  ON_AnnotationTextDot() = default;
  ON_AnnotationTextDot(const ON_AnnotationTextDot& src) : ON_Point(src), m_text(src.m_text) {}
  ON_AnnotationTextDot& operator=(const ON_AnnotationTextDot& src) {
    ON_Point::operator=(src);
    m_text = src.m_text;
    return *this;
  }
  ON::object_type ObjectType() const override { return ON::annotation_object; }
  const ON_3dPoint& Point() const { return point; }
  const wchar_t* TextString() const { return m_text; }
};

class ON_AnnotationArrow : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_AnnotationArrow)
 public:
  ON_3dPoint m_tail;
  ON_3dPoint m_head;

  ON_AnnotationArrow() = default;
  ON::object_type ObjectType() const override { return ON::annotation_object; }
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
  bool Transform(const ON_Xform& xform) override;
  // m_head - m_tail.
  ON_3dVector Vector() const { return m_head - m_tail; }
  ON_3dPoint Head() const { return m_head; }
  ON_3dPoint Tail() const { return m_tail; }
};
