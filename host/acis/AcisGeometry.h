#pragma once
// Decoding the geometry records of SAT text: plane, cone (cylinder),
// sphere, torus and exact B-spline surfaces; straight, ellipse and exact
// B-spline curves; B-spline parameter-space curves. Decoded geometry is
// evaluated the way the records describe it. Malformed records decode to
// nothing with a reason; nothing reads past a record.
#include <optional>
#include <string>
#include <vector>

#include "acis/AcisRecords.h"
#include "arx/gePoint3d.h"
#include "arx/geVector3d.h"

namespace arxhost::sat {

// A B-spline in the knot form SAT writes: n + degree - 1 knots for n
// control points (the outermost knot at each end left out).
struct BSplineCurve {
  int degree = 0;
  int dimension = 3;  // 2 for a parameter-space curve
  bool rational = false;
  std::vector<double> knots;
  std::vector<double> points;  // x y z w for every control point (z = 0 in 2D, w = 1 unless rational)
  int count() const { return static_cast<int>(points.size() / 4); }
  double start() const { return knots[static_cast<size_t>(degree - 1)]; }
  double end() const { return knots[knots.size() - static_cast<size_t>(degree)]; }
  AcGePoint3d evaluate(double t) const;
  // The same curve over [a, b] only (a < b within its domain), by knot
  // insertion: the shape is unchanged.
  std::optional<BSplineCurve> part(double a, double b) const;
};

struct BSplineSurface {
  int degree[2] = {0, 0};
  int count[2] = {0, 0};
  bool rational = false;
  std::vector<double> knots[2];
  std::vector<double> points;  // x y z w, v running fastest
  AcGePoint3d evaluate(double u, double v) const;
};

enum class SurfaceKind { Plane, Cone, Sphere, Torus, Spline };

struct Surface {
  SurfaceKind kind = SurfaceKind::Plane;
  AcGePoint3d origin;   // plane root, base centre, sphere or torus centre
  AcGeVector3d normal;  // plane normal, cone and torus axis, sphere pole (unit)
  AcGeVector3d xdir;    // u direction of a plane; major axis of a cone; zero angle of a sphere or torus (unit)
  AcGeVector3d ydir;    // v direction of a plane; minor axis of a cone; quarter angle of a sphere or torus
  double ratio = 1.0, sine = 0.0, cosine = 1.0, scale = 1.0;  // cone
  double radius = 0.0;                                        // sphere (negative: normal inwards)
  double major = 0.0, minor = 0.0;                            // torus
  BSplineSurface spline;

  AcGePoint3d evaluate(double u, double v) const;
  // The surface's own unit normal (before any face sense).
  AcGeVector3d normalAt(double u, double v) const;
  // Parameters of the point of the surface nearest to p (near the part a
  // face uses; for B-splines a local search).
  void project(const AcGePoint3d& p, double& u, double& v) const;
};

enum class CurveKind { Straight, Ellipse, Spline };

struct Curve {
  CurveKind kind = CurveKind::Straight;
  AcGePoint3d origin;       // straight root, ellipse centre
  AcGeVector3d direction;   // straight direction
  AcGeVector3d normal;      // ellipse normal (unit)
  AcGeVector3d major;       // ellipse major axis (its length is the major radius)
  double ratio = 1.0;
  BSplineCurve spline;
  AcGePoint3d evaluate(double t) const;
};

// The data of a record: its fields after the attribute pointer, the id and
// (from version 7.0) the pattern pointer.
std::vector<const Field*> DataFields(const Document& doc, const Record& record);

std::optional<Surface> DecodeSurface(const Document& doc, long index, std::string& error);
std::optional<Curve> DecodeCurve(const Document& doc, long index, std::string& error);
// A pcurve record's B-spline and whether it runs against its coedge.
std::optional<BSplineCurve> DecodePcurve(const Document& doc, long index, bool& reversed, std::string& error);

}  // namespace arxhost::sat
