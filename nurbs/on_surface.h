#pragma once
// ON_Surface: a parametric surface over Domain(0) x Domain(1), with tests
// that recover the exact analytic kind (plane, sphere, cylinder, cone, torus).
#include "on_geometry.h"
#include "on_interval.h"

class ON_Cone;
class ON_Cylinder;
class ON_NurbsSurface;
class ON_Plane;
class ON_Sphere;
class ON_Torus;

class ON_Surface : public ON_Geometry {
  ON_OBJECT_DECLARE_ABSTRACT(ON_Surface)
 public:
  // Which iso-curve a trim runs along, as openNURBS names them.
  enum ISO { not_iso = 0, x_iso = 1, y_iso = 2, W_iso = 3, S_iso = 4, E_iso = 5, N_iso = 6,
             iso_count = 7 };

  ON_Surface() = default;
  ON::object_type ObjectType() const override { return ON::surface_object; }
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;

  virtual ON_Interval Domain(int dir) const = 0;
  virtual bool SetDomain(int dir, double t0, double t1);
  virtual int SpanCount(int dir) const = 0;
  virtual bool GetSpanVector(int dir, double* span_vector) const = 0;
  virtual int Degree(int dir) const = 0;
  // Point and first derivatives when der_count is 1: v holds P, Ds, Dt,
  // each Dimension() values, v_stride apart.
  virtual bool Evaluate(double s, double t, int der_count, int v_stride, double* v, int side = 0,
                        int* hint = nullptr) const = 0;
  ON_3dPoint PointAt(double s, double t) const;
  ON_3dVector NormalAt(double s, double t) const;
  bool Ev1Der(double s, double t, ON_3dPoint& point, ON_3dVector& ds, ON_3dVector& dt) const;

  virtual bool IsPlanar(ON_Plane* plane = nullptr, double tolerance = ON_ZERO_TOLERANCE) const;
  virtual bool IsSphere(ON_Sphere* sphere = nullptr, double tolerance = ON_ZERO_TOLERANCE) const;
  virtual bool IsCylinder(ON_Cylinder* cylinder = nullptr, double tolerance = ON_ZERO_TOLERANCE) const;
  virtual bool IsCone(ON_Cone* cone = nullptr, double tolerance = ON_ZERO_TOLERANCE) const;
  virtual bool IsTorus(ON_Torus* torus = nullptr, double tolerance = ON_ZERO_TOLERANCE) const;
  virtual bool IsClosed(int dir) const;
  virtual bool IsPeriodic(int /*dir*/) const { return false; }
  virtual bool Transpose() = 0;
  virtual bool Reverse(int dir) = 0;

  // 0 on failure, 1 for the same parameterisation, 2 for another one.
  virtual int GetNurbForm(ON_NurbsSurface& nurbs_surface, double tolerance = 0.0) const;
  virtual int HasNurbForm() const { return 1; }
  ON_NurbsSurface* NurbsSurface(ON_NurbsSurface* nurbs_surface = nullptr, double tolerance = 0.0) const;
};

class ON_SurfaceArray : public ON_SimpleArray<ON_Surface*> {
 public:
  // Owns its surfaces, as ON_CurveArray owns curves.
  ON_SurfaceArray() = default;
  ON_SurfaceArray(const ON_SurfaceArray& other);
  ON_SurfaceArray& operator=(const ON_SurfaceArray& other);
  ~ON_SurfaceArray();
  void Destroy();
};
