#include "on_geometry.h"

#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_Geometry, ON_Object)

bool ON_Geometry::GetBBox(double*, double*, bool grow) const { return grow; }

ON_BoundingBox ON_Geometry::BoundingBox() const {
  ON_BoundingBox b;
  if (!GetBBox(&b.m_min.x, &b.m_max.x, false)) b.Destroy();
  return b;
}

bool ON_Geometry::Transform(const ON_Xform&) { return false; }

bool ON_Geometry::Translate(const ON_3dVector& delta) {
  ON_Xform x;
  x.Translation(delta);
  return Transform(x);
}

bool ON_Geometry::Rotate(double angle, const ON_3dVector& axis, const ON_3dPoint& center) {
  ON_Xform x;
  x.Rotation(angle, axis, center);
  return Transform(x);
}

bool ON_Geometry::Scale(double s) {
  ON_Xform x(s);
  return Transform(x);
}
