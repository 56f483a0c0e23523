#pragma once
// ON_Point (one location) and ON_PointCloud (a list of locations).
#include "on_color.h"
#include "on_geometry.h"
#include "on_plane.h"

class ON_Point : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_Point)
 public:
  ON_3dPoint point;

  ON_Point() = default;
  ON_Point(const ON_3dPoint& p) : point(p) {}
  ON_Point(double x, double y, double z) : point(x, y, z) {}
  ON_Point& operator=(const ON_3dPoint& p) { point = p; return *this; }
  operator ON_3dPoint() const { return point; }

  bool IsValid(ON_TextLog* = nullptr) const override { return point.IsValid(); }
  ON::object_type ObjectType() const override { return ON::point_object; }
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
  bool Transform(const ON_Xform& xform) override;
};

class ON_PointCloud : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_PointCloud)
 public:
  ON_3dPointArray m_P;
  ON_Plane m_plane;
  ON_SimpleArray<ON_3dVector> m_N;
  ON_SimpleArray<ON_Color> m_C;

  ON_PointCloud() = default;
  explicit ON_PointCloud(int capacity) : m_P(capacity) {}

  int PointCount() const { return m_P.Count(); }
  void AppendPoint(const ON_3dPoint& p) { m_P.Append(p); }
  ON_3dPoint& operator[](int i) { return m_P[i]; }
  const ON_3dPoint& operator[](int i) const { return m_P[i]; }
  bool HasPointNormals() const { return m_N.Count() > 0 && m_N.Count() == m_P.Count(); }
  bool HasPointColors() const { return m_C.Count() > 0 && m_C.Count() == m_P.Count(); }

  bool IsValid(ON_TextLog* = nullptr) const override { return m_P.Count() > 0; }
  ON::object_type ObjectType() const override { return ON::pointset_object; }
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
  bool Transform(const ON_Xform& xform) override;
};
