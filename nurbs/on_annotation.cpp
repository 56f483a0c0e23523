#include "on_annotation.h"

#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_Annotation, ON_Geometry)
ON_OBJECT_IMPLEMENT(ON_LinearDimension, ON_Annotation)
ON_OBJECT_IMPLEMENT(ON_RadialDimension, ON_Annotation)
ON_OBJECT_IMPLEMENT(ON_AngularDimension, ON_Annotation)
ON_OBJECT_IMPLEMENT(ON_TextEntity, ON_Annotation)
ON_OBJECT_IMPLEMENT(ON_Leader, ON_Annotation)
ON_OBJECT_IMPLEMENT(ON_AnnotationTextDot, ON_Point)
ON_OBJECT_IMPLEMENT(ON_AnnotationArrow, ON_Geometry)

namespace on_annotation_detail {

ON_Xform PlaneToWorld(const ON_Plane& p) {
  ON_Xform x(1);
  for (int i = 0; i < 3; ++i) {
    x.m_xform[i][0] = p.xaxis[i];
    x.m_xform[i][1] = p.yaxis[i];
    x.m_xform[i][2] = p.zaxis[i];
    x.m_xform[i][3] = p.origin[i];
  }
  return x;
}

bool PlanarBox(const ON_Plane& plane, const ON_2dPointArray& points, double* box_min,
               double* box_max, bool grow) {
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  for (const auto& p : points) b.Set(plane.PointAt(p.x, p.y), true);
  if (!b.IsValid()) return false;
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}

}  // namespace on_annotation_detail

bool ON_Annotation::IsValid(ON_TextLog* log) const {
  if (!m_plane.IsValid()) {
    if (log) log->Print("ON_Annotation: the plane is not valid.\n");
    return false;
  }
  return true;
}

bool ON_Annotation::GetBBox(double* box_min, double* box_max, bool grow) const {
  return on_annotation_detail::PlanarBox(m_plane, m_points, box_min, box_max, grow);
}

bool ON_Annotation::Transform(const ON_Xform& xform) { return m_plane.Transform(xform); }

ON_2dPoint ON_Annotation::Point(int i) const {
  return (i >= 0 && i < m_points.Count()) ? m_points[i] : ON_2dPoint(0.0, 0.0);
}

void ON_Annotation::SetPoint(int i, const ON_2dPoint& p) {
  if (i < 0 || i > 1000000) return;
  if (i >= m_points.Count()) m_points.SetCount(i + 1);
  m_points[i] = p;
}

bool ON_Annotation::GetECStoWCSXform(ON_Xform& xform) const {
  xform = on_annotation_detail::PlaneToWorld(m_plane);
  return m_plane.IsValid();
}

bool ON_AnnotationArrow::GetBBox(double* box_min, double* box_max, bool grow) const {
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  b.Set(m_tail, true);
  b.Set(m_head, true);
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}

bool ON_AnnotationArrow::Transform(const ON_Xform& xform) {
  m_tail = xform * m_tail;
  m_head = xform * m_head;
  return true;
}

