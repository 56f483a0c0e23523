#pragma once
// Points and directions of entities into groups.
#include "arx/gePoint3d.h"
#include "arx/geVector3d.h"
#include "dxf/GroupWriter.h"
#include "dxf/Ocs.h"

namespace arxhost::dxf {

inline Vec3 V(const AcGePoint3d& p) { return {p.x, p.y, p.z}; }
inline Vec3 V(const AcGeVector3d& v) { return {v.x, v.y, v.z}; }

inline void Point(GroupWriter& out, int code, const Vec3& p) { out.point(code, p[0], p[1], p[2]); }
inline void Point(GroupWriter& out, int code, const AcGePoint3d& p) { out.point(code, p.x, p.y, p.z); }

// The extrusion direction, left out when it is +Z as readers assume.
inline void Extrusion(GroupWriter& out, const Ocs& ocs) {
  if (!ocs.isWorld()) Point(out, 210, ocs.normal());
}
inline void Thickness(GroupWriter& out, double thickness) {
  if (thickness != 0.0) out.real(39, thickness);
}

}  // namespace arxhost::dxf
