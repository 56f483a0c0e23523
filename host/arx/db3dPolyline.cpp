#include "arx/db3dPolyline.h"

#include <algorithm>
#include <cmath>

#include "arx/dbDatabase.h"
#include "arx/dbLine.h"

ARXHOST_RX_DEFINE(AcDb3dPolyline, AcDbCurve, L"POLYLINE")

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed)
    : closed_(closed), type_(type) {
  for (const AcGePoint3d& p : vertices) {
    auto* v = new AcDb3dPolylineVertex(p);
    appendVertex(v);
    v->close();
  }
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDb3dPolylineVertex* vertex) {
  AcDbObjectId id;
  return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* vertex) {
  return appendOwned(vertices_, vertex, id);
}

void AcDb3dPolyline::onAddedToDatabase(AcDbDatabase* db) {
  AcDbCurve::onAddedToDatabase(db);
  vertices_.joinDatabase(db, objectId());
}

std::vector<AcGePoint3d> AcDb3dPolyline::points() const {
  std::vector<AcGePoint3d> pts;
  for (size_t i = 0; i < vertices_.size(); ++i)
    if (auto* v = AcDbPositionVertex::cast(vertices_.objectAt(i)); v && !v->isErased()) pts.push_back(v->position());
  return pts;
}

Acad::ErrorStatus AcDb3dPolyline::getEndParam(double& p) const {
  size_t n = points().size();
  p = n == 0 ? 0.0 : static_cast<double>(closed_ ? n : n - 1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getPointAtParam(double t, AcGePoint3d& point) const {
  if (!inRange(t)) return Acad::eInvalidInput;
  return arxhost::PointOnChain(points(), closed_, t, point);
}

Acad::ErrorStatus AcDb3dPolyline::subTransformBy(const AcGeMatrix3d& xform) {
  arxhost::TransformChildren(vertices_, xform);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::subExplode(AcDbVoidPtrArray& entities) const {
  std::vector<AcGePoint3d> pts = points();
  size_t segments = pts.size() < 2 ? 0 : (closed_ ? pts.size() : pts.size() - 1);
  for (size_t i = 0; i < segments; ++i) {
    auto* line = new AcDbLine(pts[i], pts[(i + 1) % pts.size()]);
    copyPropertiesTo(line);
    entities.append(line);
  }
  return Acad::eOk;
}

Acad::ErrorStatus arxhost::PointOnChain(const std::vector<AcGePoint3d>& pts, bool closed, double t,
                                        AcGePoint3d& point) {
  if (pts.empty()) return Acad::eDegenerateGeometry;
  size_t n = pts.size();
  if (n == 1) {
    point = pts[0];
    return Acad::eOk;
  }
  double last = static_cast<double>(closed ? n : n - 1);
  t = std::clamp(t, 0.0, last);
  size_t i = static_cast<size_t>(std::floor(t));
  if (i >= static_cast<size_t>(last)) i = static_cast<size_t>(last) - 1;
  double f = t - static_cast<double>(i);
  const AcGePoint3d& a = pts[i % n];
  const AcGePoint3d& b = pts[(i + 1) % n];
  point = a + (b - a) * f;
  return Acad::eOk;
}

void arxhost::TransformChildren(const OwnedObjects& children, const AcGeMatrix3d& xform) {
  // The owner is open for write; its vertices move with it whatever their
  // own open state.
  for (size_t i = 0; i < children.size(); ++i) {
    auto* e = AcDbEntity::cast(children.objectAt(i));
    if (!e) continue;
    e->transformAsChild(xform);
  }
}
