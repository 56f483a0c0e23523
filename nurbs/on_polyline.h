#pragma once
// ON_Polyline: the corner points of a chain of segments; a closed polyline
// repeats its first point at the end.
#include "on_line.h"
#include "on_point.h"

class ON_Polyline : public ON_3dPointArray {
 public:
  ON_Polyline() = default;
  ON_Polyline(const ON_3dPointArray& points) : ON_3dPointArray(points) {}
  ON_Polyline& operator=(const ON_3dPointArray& points) {
    ON_3dPointArray::operator=(points);
    return *this;
  }

  // At least two points and no two neighbours closer than the tolerance.
  bool IsValid(double tolerance = 0.0) const;
  int PointCount() const { return Count(); }
  int SegmentCount() const { return Count() > 0 ? Count() - 1 : 0; }
  // At least four points, the last within the tolerance of the first (equal
  // when the tolerance is 0), and some point between them away from both.
  bool IsClosed(double tolerance = 0.0) const;
  double Length() const;
  ON_Line Segment(int segment_index) const;
  // Parameter i at point i, linear between them.
  ON_3dPoint PointAt(double t) const;
  // Removes points closer than the tolerance to their predecessor; returns
  // how many were removed.
  int Clean(double tolerance = 0.0);
};
