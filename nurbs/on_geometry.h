#pragma once
// ON_Geometry: objects with a place in space, a bounding box and a transform.
#include "on_bounding_box.h"
#include "on_object.h"

class ON_Xform;

class ON_Geometry : public ON_Object {
  ON_OBJECT_DECLARE_ABSTRACT(ON_Geometry)
 public:
  ON_Geometry() = default;

  virtual int Dimension() const { return 3; }
  // Sets min and max (3 values each); with grow, enlarges the box they hold.
  virtual bool GetBBox(double* box_min, double* box_max, bool grow = false) const;
  ON_BoundingBox BoundingBox() const;
  virtual bool Transform(const ON_Xform& xform);
  bool Translate(const ON_3dVector& delta);
  bool Rotate(double angle_radians, const ON_3dVector& axis, const ON_3dPoint& center);
  bool Scale(double scale_factor);
  virtual bool IsDeformable() const { return false; }
  virtual bool MakeDeformable() { return false; }
};
