#include "arx/db2dPolyline.h"

#include <algorithm>
#include <cmath>

#include "arx/dbBulge.h"

ARXHOST_RX_DEFINE(AcDb2dPolyline, AcDbCurve, L"POLYLINE")

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation,
                               bool closed, double defaultStartWidth, double defaultEndWidth,
                               const AcGeDoubleArray* bulges)
    : elevation_(elevation), startWidth_(defaultStartWidth), endWidth_(defaultEndWidth), closed_(closed),
      type_(type) {
  for (int i = 0; i < vertices.length(); ++i) {
    double bulge = bulges && i < bulges->length() ? (*bulges)[i] : 0.0;
    auto* v = new AcDb2dVertex(vertices[i], bulge, defaultStartWidth, defaultEndWidth);
    appendVertex(v);
    v->close();
  }
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* vertex) {
  AcDbObjectId id;
  return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& id, AcDb2dVertex* vertex) {
  return appendOwned(vertices_, vertex, id);
}

Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& v) const {
  AcGePoint3d p = v.position();
  return AcGeMatrix3d::planeToWorld(normal_) * AcGePoint3d(p.x, p.y, elevation_);
}

std::vector<const AcDb2dVertex*> AcDb2dPolyline::liveVertices() const {
  std::vector<const AcDb2dVertex*> live;
  for (size_t i = 0; i < vertices_.size(); ++i)
    if (auto* v = AcDb2dVertex::cast(vertices_.objectAt(i)); v && !v->isErased()) live.push_back(v);
  return live;
}

Acad::ErrorStatus AcDb2dPolyline::getEndParam(double& p) const {
  size_t n = liveVertices().size();
  p = n < 2 ? 0.0 : static_cast<double>(closed_ ? n : n - 1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getPointAtParam(double t, AcGePoint3d& point) const {
  std::vector<const AcDb2dVertex*> v = liveVertices();
  if (v.empty()) return Acad::eDegenerateGeometry;
  if (!inRange(t)) return Acad::eInvalidInput;
  size_t segs = v.size() < 2 ? 0 : (closed_ ? v.size() : v.size() - 1);
  if (segs == 0) {
    point = vertexPosition(*v[0]);
    return Acad::eOk;
  }
  size_t i = std::min(static_cast<size_t>(std::floor(std::max(t, 0.0))), segs - 1);
  double f = std::clamp(t - static_cast<double>(i), 0.0, 1.0);
  AcGePoint3d a = v[i]->position(), b = v[(i + 1) % v.size()]->position();
  AcGePoint2d q = arxhost::PointOnBulgeSegment({a.x, a.y}, {b.x, b.y}, v[i]->bulge(), f);
  point = AcGeMatrix3d::planeToWorld(normal_) * AcGePoint3d(q.x, q.y, elevation_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::subTransformBy(const AcGeMatrix3d& xform) {
  if (!arxhost::IsUniformTransform(xform)) return Acad::eCannotScaleNonUniformly;
  const arxhost::BulgePlaneMove move = arxhost::MoveBulgePlane(xform, normal_);
  double elevation = elevation_;
  for (size_t i = 0; i < vertices_.size(); ++i) {
    auto* v = AcDb2dVertex::cast(vertices_.objectAt(i));
    if (!v) continue;
    AcGePoint3d p = move.toPlane * (xform * vertexPosition(*v));
    elevation = p.z;
    // The vertex is the polyline's: it moves whatever its own open state.
    v->placeInPlane(AcGePoint2d(p.x, p.y), move.Bulge(v->bulge()), move.scale);
  }
  normal_ = move.normal;
  elevation_ = elevation;
  thickness_ *= move.scale;
  return Acad::eOk;
}

void AcDb2dPolyline::onAddedToDatabase(AcDbDatabase* db) {
  AcDbCurve::onAddedToDatabase(db);
  vertices_.joinDatabase(db, objectId());
}
