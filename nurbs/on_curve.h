#pragma once
// ON_Curve: a parametric curve over Domain(); evaluation, shape tests
// (IsLinear, IsArc, IsPolyline) and the NURBS form of every curve class.
#include "on_arc.h"
#include "on_geometry.h"
#include "on_interval.h"

class ON_NurbsCurve;
class ON_Plane;

class ON_Curve : public ON_Geometry {
  ON_OBJECT_DECLARE_ABSTRACT(ON_Curve)
 public:
  ON_Curve() = default;

  ON::object_type ObjectType() const override { return ON::curve_object; }
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;

  virtual ON_Interval Domain() const = 0;
  virtual bool SetDomain(double t0, double t1);
  bool SetDomain(const ON_Interval& domain) { return SetDomain(domain[0], domain[1]); }
  virtual int SpanCount() const = 0;
  // SpanCount() + 1 increasing parameters.
  virtual bool GetSpanVector(double* span_vector) const = 0;
  virtual int Degree() const = 0;

  // Straight within the tolerance (points of the curve within it of the
  // chord from start to end, in order along it).
  virtual bool IsLinear(double tolerance = ON_ZERO_TOLERANCE) const;
  // A circular arc (or whole circle) within the tolerance; when plane is
  // given the arc must lie in it. The arc runs counter-clockwise about its
  // plane's normal from the curve's start point.
  virtual bool IsArc(const ON_Plane* plane = nullptr, ON_Arc* arc = nullptr,
                     double tolerance = ON_ZERO_TOLERANCE) const;
  // Number of corner points when the curve is a chain of straight segments
  // (0 otherwise), with the points and their parameters when asked.
  virtual int IsPolyline(ON_SimpleArray<ON_3dPoint>* pline_points = nullptr,
                         ON_SimpleArray<double>* pline_t = nullptr) const;
  virtual bool IsPlanar(ON_Plane* plane = nullptr, double tolerance = ON_ZERO_TOLERANCE) const;
  // Start and end coincide and the curve is not a point.
  virtual bool IsClosed() const;
  virtual bool IsPeriodic() const { return false; }
  virtual bool Reverse() = 0;

  // Fills v with the point and der_count derivatives at t, each of
  // Dimension() values, v_stride apart. side < 0 evaluates from the left at
  // a span boundary. hint may be null.
  virtual bool Evaluate(double t, int der_count, int v_stride, double* v, int side = 0,
                        int* hint = nullptr) const = 0;
  bool EvPoint(double t, ON_3dPoint& point, int side = 0, int* hint = nullptr) const;
  bool Ev1Der(double t, ON_3dPoint& point, ON_3dVector& derivative, int side = 0,
              int* hint = nullptr) const;
  ON_3dPoint PointAt(double t) const;
  ON_3dPoint PointAtStart() const;
  ON_3dPoint PointAtEnd() const;
  bool SetStartPoint(const ON_3dPoint&) { return false; }
  ON_3dVector DerivativeAt(double t) const;
  ON_3dVector TangentAt(double t) const;
  virtual bool GetLength(double* length, double fractional_tolerance = 1.0e-8,
                         const ON_Interval* sub_domain = nullptr) const;

  // The NURBS form: 0 on failure, 1 when the NURBS parameterisation equals
  // the curve's, 2 when it differs. subdomain: only that part of the curve.
  virtual int GetNurbForm(ON_NurbsCurve& nurbs_curve, double tolerance = 0.0,
                          const ON_Interval* subdomain = nullptr) const;
  virtual int HasNurbForm() const { return 1; }
  // The NURBS form into the given curve, or into a new one the caller
  // deletes; null on failure (a new curve is then deleted again).
  ON_NurbsCurve* NurbsCurve(ON_NurbsCurve* nurbs_curve = nullptr, double tolerance = 0.0,
                            const ON_Interval* subdomain = nullptr) const;
  // Keeps the part of the curve over the interval.
  virtual bool Trim(const ON_Interval& domain);
  virtual bool ChangeDimension(int desired_dimension);
};

class ON_CurveArray : public ON_SimpleArray<ON_Curve*> {
 public:
  // Owns its curves: destroying or emptying the array deletes them, and a
  // copy holds duplicates.
  ON_CurveArray() = default;
  explicit ON_CurveArray(int capacity) : ON_SimpleArray<ON_Curve*>(capacity) {}
  ON_CurveArray(const ON_CurveArray& other);
  ON_CurveArray& operator=(const ON_CurveArray& other);
  ~ON_CurveArray();
  void Destroy();
  bool Duplicate(ON_CurveArray& out) const;
};
