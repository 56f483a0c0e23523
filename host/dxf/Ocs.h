#pragma once
// The object coordinate system of planar DXF entities (circles, arcs,
// texts, inserts, 2D polylines): its axes follow from the extrusion
// direction by the arbitrary-axis rule, and such entities store their points
// in it.
#include <array>

namespace arxhost::dxf {

using Vec3 = std::array<double, 3>;

class Ocs {
 public:
  explicit Ocs(Vec3 normal);
  // True when the OCS is the WCS (normal along +Z).
  bool isWorld() const { return world_; }
  const Vec3& normal() const { return z_; }
  Vec3 fromWorld(const Vec3& p) const;
  Vec3 toWorld(const Vec3& p) const;
  // The angle of a world direction in the OCS's XY plane.
  double angleOf(const Vec3& direction) const;

 private:
  Vec3 x_, y_, z_;
  bool world_;
};

}  // namespace arxhost::dxf
