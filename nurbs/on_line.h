#pragma once
// ON_Line: the segment from `from` to `to`, parameter 0 at from and 1 at to.
#include "on_bounding_box.h"
#include "on_point.h"

class ON_Xform;

class ON_Line {
 public:
  ON_3dPoint from;
  ON_3dPoint to;

  ON_Line() = default;
  ON_Line(const ON_3dPoint& a, const ON_3dPoint& b) : from(a), to(b) {}

  ON_3dPoint& operator[](int i) { return i ? to : from; }
  const ON_3dPoint& operator[](int i) const { return i ? to : from; }
  bool Create(const ON_3dPoint& a, const ON_3dPoint& b) { from = a; to = b; return IsValid(); }
  // Valid when the end points differ.
  bool IsValid() const { return from.IsValid() && to.IsValid() && from != to; }
  double Length() const { return from.DistanceTo(to); }
  ON_3dVector Direction() const { return to - from; }
  ON_3dVector Tangent() const { return Direction().UnitVector(); }
  ON_3dPoint PointAt(double t) const;
  // Parameter of the closest point of the infinite line; false when degenerate.
  bool ClosestPointTo(const ON_3dPoint& p, double* t) const;
  ON_3dPoint ClosestPointTo(const ON_3dPoint& p) const;
  // Distance from p to the infinite line.
  double DistanceTo(const ON_3dPoint& p) const;
  // Distance from p to the segment.
  double MinimumDistanceTo(const ON_3dPoint& p) const;
  ON_BoundingBox BoundingBox() const;
  bool Transform(const ON_Xform& xform);
  void Reverse() { const ON_3dPoint t = from; from = to; to = t; }
};
