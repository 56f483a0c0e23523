#include "on_point_object.h"

#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_Point, ON_Geometry)
ON_OBJECT_IMPLEMENT(ON_PointCloud, ON_Geometry)

namespace {
bool GrowBox(const ON_3dPoint* points, int count, double* box_min, double* box_max, bool grow) {
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  if (count <= 0 && !b.IsValid()) return false;
  for (int i = 0; i < count; ++i) b.Set(points[i], true);
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}
}  // namespace

bool ON_Point::GetBBox(double* box_min, double* box_max, bool grow) const {
  return GrowBox(&point, 1, box_min, box_max, grow);
}

bool ON_Point::Transform(const ON_Xform& xform) {
  point = xform * point;
  return true;
}

bool ON_PointCloud::GetBBox(double* box_min, double* box_max, bool grow) const {
  return GrowBox(m_P.Array(), m_P.Count(), box_min, box_max, grow);
}

bool ON_PointCloud::Transform(const ON_Xform& xform) {
  m_P.Transform(xform);
  for (auto& n : m_N) n = xform * n;
  m_plane.Transform(xform);
  return true;
}
