#pragma once
// VRNCurve: what a curve is in the eyes of a drafter: a line, a circle, an
// arc or a polyline. Each test returns 1 and fills its out-object when the
// curve is that shape, and 0 (the out-object untouched) when it is not or
// when the curve is null.
//
// Tolerance: a curve is a shape when every point of it lies within
// VRNCurve::kRelativeTolerance times its size (the diagonal of the box
// around its control points) of that shape. That is far below anything
// visible or measurable in a drawing, and far above the rounding of exact
// data (rational arcs, degree-raised lines), so exact shapes pass and
// approximations that merely look alike (a spline through points of a
// circle, a 64-gon) do not.
#include "on_arc.h"
#include "on_circle.h"
#include "on_curve.h"
#include "on_line.h"
#include "on_polyline.h"

class VRNCurve {
 public:
  static constexpr double kRelativeTolerance = 1e-8;

  // A straight segment from two distinct ends: line.from is the curve's
  // start, line.to its end. A closed curve is never a line.
  static int IsLine(const ON_Curve* curve, ON_Line& line);
  // A whole circle (a closed curve of degree 2 or more): centre, normal and
  // radius; the plane's x axis points at the curve's start, and the circle
  // runs counter-clockwise about the normal in the curve's direction.
  static int IsCircle(const ON_Curve* curve, ON_Circle& circle);
  // A circular arc of less than a full turn (a whole circle is IsCircle's):
  // StartPoint() is the curve's start, EndPoint() its end, counter-clockwise
  // about the plane's normal.
  static int IsArc(const ON_Curve* curve, ON_Arc& arc);
  // A chain of straight segments: its corner points in order along the
  // curve. Points within the tolerance of their predecessor and points in
  // the middle of a straight run are left out; the curve's ends are kept,
  // and a closed curve's last point is set equal to its first.
  static int IsPolyline(const ON_Curve* curve, ON_Polyline& polyline);

  // The distance tolerance of the tests for this curve.
  static double Tolerance(const ON_Curve& curve);
};
