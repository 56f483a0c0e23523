// Explode of solids, regions and bodies: the edges of the model as lines,
// circles, arcs, ellipses and splines (edges on exact B-spline curves; edges
// on other curves are left out).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "acis/AcisGeometry.h"
#include "acis/AcisRecords.h"
#include "arx/dbAcisEntity.h"
#include "arx/dbArc.h"
#include "arx/dbCircle.h"
#include "arx/dbEllipse.h"
#include "arx/dbLine.h"
#include "arx/dbSpline.h"

namespace {

using arxhost::sat::Document;
using arxhost::sat::Record;

std::vector<double> Numbers(const Document& doc, const Record& r) {
  std::vector<double> values;
  bool skippedId = doc.version < 700;
  for (const auto& f : r.fields) {
    if (f.isPointer()) continue;
    if (!skippedId) {
      skippedId = true;
      continue;
    }
    double v = 0.0;
    auto [p, ec] = std::from_chars(f.text.data(), f.text.data() + f.text.size(), v);
    if (ec == std::errc() && p == f.text.data() + f.text.size()) values.push_back(v);
  }
  return values;
}

const Record* Target(const Document& doc, long p, const char* typePrefix) {
  if (p < 0 || p >= static_cast<long>(doc.records.size())) return nullptr;
  const Record& r = doc.records[static_cast<size_t>(p)];
  return r.type.rfind(typePrefix, 0) == 0 ? &r : nullptr;
}

bool VertexPoint(const Document& doc, const Record& vertex, AcGePoint3d& out) {
  for (long p : vertex.pointers())
    if (const Record* pt = Target(doc, p, "point")) {
      std::vector<double> v = Numbers(doc, *pt);
      if (v.size() < 3) return false;
      out.set(v[v.size() - 3], v[v.size() - 2], v[v.size() - 1]);
      return true;
    }
  return false;
}

// The body transforms of the model, as one matrix per body record index.
AcGeMatrix3d BodyTransform(const Document& doc) {
  AcGeMatrix3d m;
  for (const Record& r : doc.records) {
    if (r.type != "body") continue;
    std::vector<long> ps = r.pointers();
    if (ps.empty()) break;
    if (const Record* t = Target(doc, ps.back(), "transform")) {
      std::vector<double> v = Numbers(doc, *t);
      if (v.size() >= 13) {
        AcGeMatrix3d x;
        for (int i = 0; i < 3; ++i)
          for (int j = 0; j < 3; ++j) x.entry[j][i] = v[static_cast<size_t>(i * 3 + j)] * v[12];
        for (int i = 0; i < 3; ++i) x.entry[i][3] = v[static_cast<size_t>(9 + i)];
        m = x;
      }
    }
    break;
  }
  return m;
}

// The edge's B-spline curve as a spline, cut to the edge's parameters
// where it uses only part of the curve.
AcDbEntity* SplineEdge(const Document& doc, const Record& edge, long curveIndex) {
  std::string error;
  std::optional<arxhost::sat::Curve> curve = arxhost::sat::DecodeCurve(doc, curveIndex, error);
  if (!curve || curve->kind != arxhost::sat::CurveKind::Spline) return nullptr;
  arxhost::sat::BSplineCurve b = curve->spline;
  std::vector<double> params = Numbers(doc, edge);
  if (params.size() >= 2) {
    const double span = b.end() - b.start(), tol = 1e-9 * std::max(1.0, std::fabs(span));
    double t0 = std::min(params[0], params[1]), t1 = std::max(params[0], params[1]);
    if (std::fabs(t0 - b.start()) <= tol) t0 = b.start();
    if (std::fabs(t1 - b.end()) <= tol) t1 = b.end();
    if (t0 != b.start() || t1 != b.end()) {
      std::optional<arxhost::sat::BSplineCurve> part = b.part(t0, t1);
      if (!part) return nullptr;
      b = std::move(*part);
    }
  }
  AcGePoint3dArray points;
  AcGeDoubleArray knots, weights;
  for (int i = 0; i < b.count(); ++i) {
    const double* p = &b.points[static_cast<size_t>(i) * 4];
    points.append(AcGePoint3d(p[0], p[1], p[2]));
    weights.append(p[3]);
  }
  // The full knot vector repeats the end knots once more.
  knots.append(b.knots.front());
  for (double k : b.knots) knots.append(k);
  knots.append(b.knots.back());
  auto* spline = new AcDbSpline();
  if (spline->setNurbsData(b.degree, b.rational, false, false, points, knots, b.rational ? weights : AcGeDoubleArray()) !=
      Acad::eOk) {
    delete spline;
    return nullptr;
  }
  return spline;
}

AcDbEntity* EdgeCurve(const Document& doc, const Record& edge) {
  std::vector<const Record*> vertices;
  const Record* curve = nullptr;
  for (long p : edge.pointers()) {
    if (const Record* v = Target(doc, p, "vertex")) vertices.push_back(v);
    if (const Record* c = Target(doc, p, "straight-curve")) curve = c;
    if (const Record* c = Target(doc, p, "ellipse-curve")) curve = c;
    if (Target(doc, p, "intcurve-curve")) return SplineEdge(doc, edge, p);
  }
  if (!curve || vertices.empty()) return nullptr;
  AcGePoint3d a, b;
  if (!VertexPoint(doc, *vertices.front(), a) || !VertexPoint(doc, *vertices.back(), b)) return nullptr;
  bool reversed = false;
  for (const auto& f : edge.fields)
    if (f.text == "reversed") reversed = true;
  if (curve->type == "straight-curve") return a.isEqualTo(b) ? nullptr : new AcDbLine(a, b);

  std::vector<double> v = Numbers(doc, *curve);
  if (v.size() < 10) return nullptr;
  AcGePoint3d c(v[0], v[1], v[2]);
  AcGeVector3d n(v[3], v[4], v[5]), major(v[6], v[7], v[8]);
  double ratio = v[9];
  if (n.isZeroLength() || major.isZeroLength()) return nullptr;
  if (reversed) std::swap(a, b);
  bool closed = a.isEqualTo(b);
  if (std::fabs(ratio - 1.0) < 1e-12) {
    double r = major.length();
    if (closed) return new AcDbCircle(c, n, r);
    auto* arc = new AcDbArc(c, n, r, 0.0, 0.0);
    AcGeVector3d x = arxhost::ArbitraryXAxis(n.normal()), y = n.normal().crossProduct(x);
    arc->setStartAngle(std::atan2((a - c).dotProduct(y), (a - c).dotProduct(x)));
    arc->setEndAngle(std::atan2((b - c).dotProduct(y), (b - c).dotProduct(x)));
    return arc;
  }
  AcGeVector3d nn = n.normal();
  AcGeVector3d x = major.normal(), y = nn.crossProduct(x);
  auto angle = [&](const AcGePoint3d& p) { return std::atan2((p - c).dotProduct(y), (p - c).dotProduct(x)); };
  double e = closed ? 2.0 * std::numbers::pi : angle(b);
  return new AcDbEllipse(c, nn, major, ratio, closed ? 0.0 : angle(a), e);
}

}  // namespace

namespace {
Acad::ErrorStatus ExplodeModel(const AcDbEntity& owner, const arxhost::AcisModel& model,
                               AcDbVoidPtrArray& entities) {
  if (model.isNull()) return Acad::eDegenerateGeometry;
  std::string error;
  std::optional<Document> doc = arxhost::sat::Parse(model.satText(), error);
  if (!doc) return Acad::eCannotExplodeEntity;
  AcGeMatrix3d place = model.placement() * BodyTransform(*doc);
  for (const Record& r : doc->records) {
    if (r.type != "edge") continue;
    AcDbEntity* piece = EdgeCurve(*doc, r);
    if (!piece) continue;
    piece->transformBy(place);
    piece->setLayer(owner.layerId());
    piece->setColor(owner.color());
    entities.append(piece);
  }
  return Acad::eOk;
}
}  // namespace

Acad::ErrorStatus AcDbBody::subExplode(AcDbVoidPtrArray& e) const { return ExplodeModel(*this, model_, e); }
Acad::ErrorStatus AcDb3dSolid::subExplode(AcDbVoidPtrArray& e) const { return ExplodeModel(*this, model_, e); }
Acad::ErrorStatus AcDbRegion::subExplode(AcDbVoidPtrArray& e) const { return ExplodeModel(*this, model_, e); }
