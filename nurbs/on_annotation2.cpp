#include "on_annotation2.h"

#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_Annotation2, ON_Geometry)
ON_OBJECT_IMPLEMENT(ON_LinearDimension2, ON_Annotation2)
ON_OBJECT_IMPLEMENT(ON_RadialDimension2, ON_Annotation2)
ON_OBJECT_IMPLEMENT(ON_AngularDimension2, ON_Annotation2)
ON_OBJECT_IMPLEMENT(ON_OrdinateDimension2, ON_Annotation2)
ON_OBJECT_IMPLEMENT(ON_TextEntity2, ON_Annotation2)
ON_OBJECT_IMPLEMENT(ON_Leader2, ON_Annotation2)
ON_OBJECT_IMPLEMENT(ON_TextDot, ON_Geometry)

namespace on_annotation_detail {
ON_Xform PlaneToWorld(const ON_Plane& p);
bool PlanarBox(const ON_Plane& plane, const ON_2dPointArray& points, double* box_min,
               double* box_max, bool grow);
}  // namespace on_annotation_detail

bool ON_Annotation2::IsValid(ON_TextLog* log) const {
  if (!m_plane.IsValid()) {
    if (log) log->Print("ON_Annotation2: the plane is not valid.\n");
    return false;
  }
  return true;
}

bool ON_Annotation2::GetBBox(double* box_min, double* box_max, bool grow) const {
  return on_annotation_detail::PlanarBox(m_plane, m_points, box_min, box_max, grow);
}

bool ON_Annotation2::Transform(const ON_Xform& xform) { return m_plane.Transform(xform); }

ON_2dPoint ON_Annotation2::Point(int i) const {
  return (i >= 0 && i < m_points.Count()) ? m_points[i] : ON_2dPoint(0.0, 0.0);
}

void ON_Annotation2::SetPoint(int i, const ON_2dPoint& p) {
  if (i < 0 || i > 1000000) return;
  if (i >= m_points.Count()) m_points.SetCount(i + 1);
  m_points[i] = p;
}

bool ON_Annotation2::GetECStoWCSXform(ON_Xform& xform) const {
  xform = on_annotation_detail::PlaneToWorld(m_plane);
  return m_plane.IsValid();
}

bool ON_TextDot::GetBBox(double* box_min, double* box_max, bool grow) const {
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  b.Set(m_point, true);
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}

bool ON_TextDot::Transform(const ON_Xform& xform) {
  m_point = xform * m_point;
  return true;
}
