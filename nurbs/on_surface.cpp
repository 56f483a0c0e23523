#include "on_surface.h"

#include <algorithm>
#include <memory>

#include "on_nurbs_surface.h"

ON_OBJECT_IMPLEMENT(ON_Surface, ON_Geometry)

bool ON_Surface::GetBBox(double* box_min, double* box_max, bool grow) const {
  ON_NurbsSurface ns;
  if (!GetNurbForm(ns)) return false;
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  for (int i = 0; i < ns.CVCount(0); ++i)
    for (int j = 0; j < ns.CVCount(1); ++j) {
      ON_3dPoint p;
      if (ns.GetCV(i, j, p)) b.Set(p, true);
    }
  if (!b.IsValid()) return false;
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}

bool ON_Surface::SetDomain(int, double, double) { return false; }

ON_3dPoint ON_Surface::PointAt(double s, double t) const {
  double v[3] = {0.0, 0.0, 0.0};
  if (Dimension() != 3 || !Evaluate(s, t, 0, 3, v)) return ON_UNSET_POINT;
  return ON_3dPoint(v[0], v[1], v[2]);
}

bool ON_Surface::Ev1Der(double s, double t, ON_3dPoint& p, ON_3dVector& ds, ON_3dVector& dt) const {
  double v[9] = {0.0};
  if (Dimension() != 3 || !Evaluate(s, t, 1, 3, v)) return false;
  p.Set(v[0], v[1], v[2]);
  ds.Set(v[3], v[4], v[5]);
  dt.Set(v[6], v[7], v[8]);
  return true;
}

ON_3dVector ON_Surface::NormalAt(double s, double t) const {
  ON_3dPoint p;
  ON_3dVector ds, dt;
  if (!Ev1Der(s, t, p, ds, dt)) return ON_3dVector::ZeroVector;
  return ON_CrossProduct(ds, dt).UnitVector();
}

bool ON_Surface::IsPlanar(ON_Plane* plane, double tolerance) const {
  ON_NurbsSurface ns;
  return GetNurbForm(ns) && ns.IsPlanar(plane, tolerance);
}

bool ON_Surface::IsSphere(ON_Sphere*, double) const { return false; }
bool ON_Surface::IsCylinder(ON_Cylinder*, double) const { return false; }
bool ON_Surface::IsCone(ON_Cone*, double) const { return false; }
bool ON_Surface::IsTorus(ON_Torus*, double) const { return false; }

bool ON_Surface::IsClosed(int dir) const {
  const ON_Interval d0 = Domain(0), d1 = Domain(1);
  if (!d0.IsIncreasing() || !d1.IsIncreasing()) return false;
  // The two opposite boundary curves coincide at a few samples.
  for (int k = 0; k <= 4; ++k) {
    const double u = (dir ? d0 : d1).ParameterAt(k / 4.0);
    const ON_3dPoint a = dir ? PointAt(u, d1[0]) : PointAt(d0[0], u);
    const ON_3dPoint b = dir ? PointAt(u, d1[1]) : PointAt(d0[1], u);
    if (!a.IsValid() || a.DistanceTo(b) > ON_ZERO_TOLERANCE * std::max(1.0, a.MaximumCoordinate()))
      return false;
  }
  return true;
}

int ON_Surface::GetNurbForm(ON_NurbsSurface&, double) const { return 0; }

ON_NurbsSurface* ON_Surface::NurbsSurface(ON_NurbsSurface* out, double tolerance) const {
  std::unique_ptr<ON_NurbsSurface> made;
  if (!out) {
    made = std::make_unique<ON_NurbsSurface>();
    out = made.get();
  }
  if (!GetNurbForm(*out, tolerance)) return nullptr;
  made.release();
  return out;
}

ON_SurfaceArray::ON_SurfaceArray(const ON_SurfaceArray& other) : ON_SimpleArray<ON_Surface*>() {
  Reserve(other.Count());
  for (const ON_Surface* s : other) Append(s ? s->Duplicate() : nullptr);
}

ON_SurfaceArray& ON_SurfaceArray::operator=(const ON_SurfaceArray& other) {
  if (this != &other) {
    ON_SurfaceArray copy(other);
    Destroy();
    Swap(copy);
  }
  return *this;
}

ON_SurfaceArray::~ON_SurfaceArray() { Destroy(); }

void ON_SurfaceArray::Destroy() {
  for (ON_Surface* s : *this) delete s;
  ON_SimpleArray<ON_Surface*>::Destroy();
}
