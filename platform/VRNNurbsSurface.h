#pragma once
// VRNNurbsSurface: flat-sided patches through corner points.
#include "on_nurbs_surface.h"
#include "on_point.h"

class VRNNurbsSurface {
 public:
  // The surface becomes the bilinear patch (degree 1 both ways, 2 by 2
  // control points, domain 0 to 1 both ways) with corners a, b, c, d in
  // this order around it: a at (0, 0), b at (1, 0), c at (1, 1), d at (0, 1).
  // 1 on success; 0, with the surface unchanged, when a corner is not a
  // finite point.
  static int CreateQuad(ON_NurbsSurface& surface, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c,
                        const ON_3dPoint& d);
  // The same patch with its last side shrunk to the point c: corners a, b
  // and c, c.
  static int CreateTriangle(ON_NurbsSurface& surface, const ON_3dPoint& a, const ON_3dPoint& b,
                            const ON_3dPoint& c);
};
