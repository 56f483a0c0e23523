#include "arx/dbPolyline.h"

#include <algorithm>
#include <cmath>

#include "arx/dbArc.h"
#include "arx/dbBulge.h"
#include "arx/dbLine.h"

ARXHOST_RX_DEFINE(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")

AcGePoint3d AcDbPolyline::toWorld(const AcGePoint2d& p) const {
  return AcGeMatrix3d::planeToWorld(normal_) * AcGePoint3d(p.x, p.y, elevation_);
}

unsigned int AcDbPolyline::segmentCount() const {
  unsigned int n = numVerts();
  if (n < 2) return 0;
  return closed_ ? n : n - 1;
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge,
                                            double startWidth, double endWidth) {
  ARXHOST_CHECK_WRITE();
  if (index > numVerts()) return Acad::eInvalidIndex;
  if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(bulge)) return Acad::eInvalidInput;
  Vertex v{point, bulge, startWidth < 0.0 ? 0.0 : startWidth, endWidth < 0.0 ? 0.0 : endWidth};
  vertices_.insert(vertices_.begin() + index, v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  ARXHOST_CHECK_WRITE();
  if (index >= numVerts()) return Acad::eInvalidIndex;
  vertices_.erase(vertices_.begin() + index);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int i, AcGePoint3d& point) const {
  if (i >= numVerts()) return Acad::eInvalidIndex;
  point = toWorld(vertices_[i].point);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int i, AcGePoint2d& point) const {
  if (i >= numVerts()) return Acad::eInvalidIndex;
  point = vertices_[i].point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int i, const AcGePoint2d& point) {
  ARXHOST_CHECK_WRITE();
  if (i >= numVerts()) return Acad::eInvalidIndex;
  vertices_[i].point = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int i, double& bulge) const {
  if (i >= numVerts()) return Acad::eInvalidIndex;
  bulge = vertices_[i].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int i, double bulge) {
  ARXHOST_CHECK_WRITE();
  if (i >= numVerts()) return Acad::eInvalidIndex;
  vertices_[i].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int i, double& s, double& e) const {
  if (i >= numVerts()) return Acad::eInvalidIndex;
  s = vertices_[i].startWidth;
  e = vertices_[i].endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int i, double s, double e) {
  ARXHOST_CHECK_WRITE();
  if (i >= numVerts()) return Acad::eInvalidIndex;
  if (s < 0.0 || e < 0.0) return Acad::eNegativeValueNotAllowed;
  vertices_[i].startWidth = s;
  vertices_[i].endWidth = e;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
  if (vertices_.empty()) return Acad::eNotApplicable;
  width = vertices_[0].startWidth;
  for (const Vertex& v : vertices_)
    if (v.startWidth != width || v.endWidth != width) return Acad::eNotApplicable;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
  ARXHOST_CHECK_WRITE();
  if (width < 0.0) return Acad::eNegativeValueNotAllowed;
  for (Vertex& v : vertices_) v.startWidth = v.endWidth = width;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int i) const {
  unsigned int n = numVerts();
  if (n == 0) return kEmpty;
  if (i >= n) return kEmpty;
  if (n == 1 || (!closed_ && i == n - 1)) return kPoint;
  const Vertex& a = vertices_[i];
  const Vertex& b = vertices_[(i + 1) % n];
  if (a.point.isEqualTo(b.point)) return kCoincident;
  return a.bulge != 0.0 ? kArc : kLine;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int i, AcGeLineSeg3d& seg) const {
  if (segType(i) != kLine) return Acad::eWrongSubentityType;
  seg.set(toWorld(vertices_[i].point), toWorld(vertices_[(i + 1) % numVerts()].point));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int i, AcGeCircArc3d& arc) const {
  if (segType(i) != kArc) return Acad::eWrongSubentityType;
  const Vertex& a = vertices_[i];
  const Vertex& b = vertices_[(i + 1) % numVerts()];
  arxhost::BulgeArc ba;
  arxhost::BulgeToArc(a.point, b.point, a.bulge, ba);
  AcGePoint3d center = toWorld(ba.center);
  AcGePoint3d start = toWorld(a.point);
  AcGeVector3d n = a.bulge > 0.0 ? normal_ : -normal_;
  arc.set(center, n, start - center, ba.radius, 0.0, std::fabs(ba.sweep));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& p) const {
  p = static_cast<double>(segmentCount());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double t, AcGePoint3d& point) const {
  if (vertices_.empty()) return Acad::eDegenerateGeometry;
  if (!inRange(t)) return Acad::eInvalidInput;
  unsigned int segs = segmentCount();
  if (segs == 0) {
    point = toWorld(vertices_[0].point);
    return Acad::eOk;
  }
  unsigned int i = static_cast<unsigned int>(std::floor(std::max(t, 0.0)));
  if (i >= segs) i = segs - 1;
  double f = std::clamp(t - i, 0.0, 1.0);
  const Vertex& a = vertices_[i];
  const Vertex& b = vertices_[(i + 1) % numVerts()];
  point = toWorld(arxhost::PointOnBulgeSegment(a.point, b.point, a.bulge, f));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double t, double& dist) const {
  if (!inRange(t)) return Acad::eInvalidInput;
  double total = 0.0;
  unsigned int segs = segmentCount();
  for (unsigned int i = 0; i < segs && t > i; ++i) {
    const Vertex& a = vertices_[i];
    const Vertex& b = vertices_[(i + 1) % numVerts()];
    double f = std::min(1.0, t - i);
    if (f >= 1.0) {
      total += arxhost::BulgeSegmentLength(a.point, b.point, a.bulge);
    } else {
      // Arcs and lines both grow linearly with their fraction.
      total += f * arxhost::BulgeSegmentLength(a.point, b.point, a.bulge);
    }
  }
  dist = total;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::subTransformBy(const AcGeMatrix3d& xform) {
  if (!arxhost::IsUniformTransform(xform)) return Acad::eCannotScaleNonUniformly;
  const arxhost::BulgePlaneMove move = arxhost::MoveBulgePlane(xform, normal_);
  double elevation = elevation_;
  for (size_t k = 0; k < vertices_.size(); ++k) {
    AcGePoint3d p = move.toPlane * (xform * toWorld(vertices_[k].point));
    vertices_[k].point.set(p.x, p.y);
    elevation = p.z;
    vertices_[k].startWidth *= move.scale;
    vertices_[k].endWidth *= move.scale;
    vertices_[k].bulge = move.Bulge(vertices_[k].bulge);
  }
  normal_ = move.normal;
  elevation_ = elevation;
  thickness_ *= move.scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::subExplode(AcDbVoidPtrArray& entities) const {
  for (unsigned int i = 0; i < segmentCount(); ++i) {
    const Vertex& a = vertices_[i];
    const Vertex& b = vertices_[(i + 1) % numVerts()];
    if (a.point.isEqualTo(b.point)) continue;
    arxhost::BulgeArc ba;
    AcDbEntity* piece = nullptr;
    if (arxhost::BulgeToArc(a.point, b.point, a.bulge, ba)) {
      // In the plane the arc runs counter-clockwise from the earlier angle.
      double s = ba.sweep > 0 ? ba.startAngle : ba.startAngle + ba.sweep;
      AcGeMatrix3d toWorldM = AcGeMatrix3d::planeToWorld(normal_);
      piece = new AcDbArc(toWorldM * AcGePoint3d(ba.center.x, ba.center.y, elevation_), normal_, ba.radius, s,
                          s + std::fabs(ba.sweep));
    } else {
      piece = new AcDbLine(toWorld(a.point), toWorld(b.point));
    }
    copyPropertiesTo(piece);
    entities.append(piece);
  }
  return Acad::eOk;
}
