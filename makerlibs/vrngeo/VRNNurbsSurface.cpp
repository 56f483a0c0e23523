#include "VRNNurbsSurface.h"

int VRNNurbsSurface::CreateQuad(ON_NurbsSurface& surface, const ON_3dPoint& a, const ON_3dPoint& b,
                                const ON_3dPoint& c, const ON_3dPoint& d) {
  if (!a.IsValid() || !b.IsValid() || !c.IsValid() || !d.IsValid()) return 0;
  ON_NurbsSurface patch;
  if (!patch.Create(3, false, 2, 2, 2, 2)) return 0;
  for (int dir = 0; dir < 2; ++dir) {
    patch.SetKnot(dir, 0, 0.0);
    patch.SetKnot(dir, 1, 1.0);
  }
  patch.SetCV(0, 0, a);
  patch.SetCV(1, 0, b);
  patch.SetCV(1, 1, c);
  patch.SetCV(0, 1, d);
  surface = patch;
  return 1;
}

int VRNNurbsSurface::CreateTriangle(ON_NurbsSurface& surface, const ON_3dPoint& a, const ON_3dPoint& b,
                                    const ON_3dPoint& c) {
  return CreateQuad(surface, a, b, c, c);
}
