// HATCH (polyline boundary loops) and MLINE (of the standard style).
#include <cmath>
#include <vector>

#include "arx/dbHatch.h"
#include "arx/dbMline.h"
#include "dxf/EntityGeometry.h"
#include "dxf/EntityWriter.h"

namespace arxhost::dxf {
namespace {

void WriteHatch(EntityOut& e) {
  const auto& h = static_cast<const AcDbHatch&>(e.entity);
  Ocs ocs(V(h.normal()));
  auto& out = e.out;
  e.head("HATCH");
  out.text(100, "AcDbHatch");
  out.point(10, 0.0, 0.0, h.elevation());
  Point(out, 210, ocs.normal());
  out.text(2, h.patternName());
  out.integer(70, h.isSolidFill() ? 1 : 0);
  out.integer(71, 0);
  out.integer(91, h.numLoops());
  for (int i = 0; i < h.numLoops(); ++i) {
    Adesk::Int32 type = 0;
    AcGePoint2dArray points;
    AcGeDoubleArray bulges;
    h.getLoopAt(i, type, points, bulges);
    bool hasBulges = false;
    for (int k = 0; k < bulges.length(); ++k) hasBulges |= bulges[k] != 0.0;
    // The loops are held as polylines, whatever else their type says.
    out.integer(92, type | AcDbHatch::kPolyline);
    out.integer(72, hasBulges ? 1 : 0);
    out.integer(73, 1);
    out.integer(93, points.length());
    for (int k = 0; k < points.length(); ++k) {
      out.point2(10, points[k].x, points[k].y);
      if (hasBulges) out.real(42, k < bulges.length() ? bulges[k] : 0.0);
    }
    out.integer(97, 0);
  }
  out.integer(75, 0);
  out.integer(76, h.patternType());
  if (!h.isSolidFill()) {
    out.real(52, 0.0);
    out.real(41, 1.0);
    out.integer(77, 0);
    out.integer(78, 0);
  }
  out.integer(98, 0);
}

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 Scaled(const Vec3& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 Unit(const Vec3& a) {
  double n = std::sqrt(Dot(a, a));
  return n > 0 ? Scaled(a, 1 / n) : Vec3{1, 0, 0};
}

void WriteMline(EntityOut& e) {
  const auto& m = static_cast<const AcDbMline&>(e.entity);
  int n = m.numVertices();
  if (n < 2) return;  // readers refuse a multiline without a segment
  bool closed = m.closedMline();
  Vec3 normal = Unit(V(m.normal()));
  std::vector<Vec3> p(n);
  for (int i = 0; i < n; ++i) p[i] = V(m.vertexAt(i));
  int segs = closed ? n : n - 1;
  std::vector<Vec3> dir(segs), left(segs);
  for (int i = 0; i < segs; ++i) {
    dir[i] = Unit(Sub(p[(i + 1) % n], p[i]));
    left[i] = Unit(Cross(normal, dir[i]));
  }
  auto& out = e.out;
  e.head("MLINE");
  out.text(100, "AcDbMline");
  out.text(2, "Standard");
  out.handle(340, e.ctx.object("MlineStyleStandard"));
  out.real(40, m.scale());
  out.integer(70, m.justification());
  out.integer(71, 1 | (closed ? 2 : 0));
  out.integer(72, n);
  out.integer(73, 2);
  Point(out, 10, p[0]);
  Point(out, 210, normal);
  std::vector<double> offsets = m.elementOffsets();
  for (int v = 0; v < n; ++v) {
    // The miter halves the turn; the elements lie along it at their offset
    // divided by the cosine of half the turn.
    Vec3 segment = dir[v < segs ? v : segs - 1];
    Vec3 miter = left[v < segs ? v : segs - 1];
    double stretch = 1.0;
    bool inner = closed || (v > 0 && v < n - 1);
    if (inner) {
      const Vec3& a = left[(v + segs - 1) % segs];
      const Vec3& b = left[v % segs];
      Vec3 sum = {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
      double c = Dot(Unit(sum), b);
      if (Dot(sum, sum) > 0 && c >= 1e-3) {
        miter = Unit(sum);
        stretch = 1.0 / c;
      }
    }
    Point(out, 11, p[v]);
    Point(out, 12, segment);
    Point(out, 13, miter);
    for (double offset : offsets) {
      out.integer(74, 2);
      out.real(41, offset * m.scale() * stretch);
      out.real(41, 0.0);
      out.integer(75, 0);
    }
  }
}

const EntityWriterRegistration kHatch(L"AcDbHatch", WriteHatch);
const EntityWriterRegistration kMline(L"AcDbMline", WriteMline);

}  // namespace
}  // namespace arxhost::dxf
