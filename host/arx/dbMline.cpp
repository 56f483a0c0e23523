#include "arx/dbMline.h"

#include <cmath>

#include "arx/dbLine.h"

ARXHOST_RX_DEFINE(AcDbMline, AcDbEntity, L"MLINE")

Acad::ErrorStatus AcDbMline::appendSeg(const AcGePoint3d& p) {
  ARXHOST_CHECK_WRITE();
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return Acad::eInvalidInput;
  vertices_.push_back(p);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::removeLastSeg(AcGePoint3d& last) {
  ARXHOST_CHECK_WRITE();
  if (vertices_.empty()) return Acad::eInvalidIndex;
  last = vertices_.back();
  vertices_.pop_back();
  return Acad::eOk;
}

AcGePoint3d AcDbMline::vertexAt(int i) const {
  return i >= 0 && i < numVertices() ? vertices_[static_cast<size_t>(i)] : AcGePoint3d();
}

Acad::ErrorStatus AcDbMline::setScale(double s) {
  ARXHOST_CHECK_WRITE();
  if (!std::isfinite(s) || s == 0.0) return Acad::eInvalidInput;
  scale_ = s;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

std::vector<double> AcDbMline::elementOffsets() const {
  // The standard style's elements lie at +0.5 and -0.5; the justification
  // moves both so that the vertices lie on the top, the middle or the bottom.
  double shift = justification_ == kTop ? -0.5 : (justification_ == kBottom ? 0.5 : 0.0);
  return {0.5 + shift, -0.5 + shift};
}

Acad::ErrorStatus AcDbMline::subTransformBy(const AcGeMatrix3d& xform) {
  if (!xform.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  for (AcGePoint3d& p : vertices_) p.transformBy(xform);
  normal_ = (xform * normal_).normal();
  scale_ *= xform.scale();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::subExplode(AcDbVoidPtrArray& entities) const {
  size_t n = vertices_.size();
  size_t segs = n < 2 ? 0 : (closed_ ? n : n - 1);
  if (segs == 0) return Acad::eOk;
  // The left normal of each segment in the mline's plane.
  std::vector<AcGeVector3d> left(segs);
  for (size_t i = 0; i < segs; ++i)
    left[i] = normal_.crossProduct(vertices_[(i + 1) % n] - vertices_[i]).normal();
  // The miter at each vertex: where the offset lines of its two segments meet.
  auto miter = [&](size_t v) {
    bool first = v == 0 && !closed_, last = v == n - 1 && !closed_;
    if (first) return left[0];
    if (last) return left[segs - 1];
    AcGeVector3d a = left[(v + segs - 1) % segs], b = left[v % segs];
    AcGeVector3d m = (a + b);
    double c = m.isZeroLength() ? 0.0 : m.normal().dotProduct(b);
    if (c < 1e-3) return b;  // a turn back on itself: no sensible miter
    return m.normal() / c;
  };
  for (double offset : elementOffsets()) {
    double d = offset * scale_;
    for (size_t i = 0; i < segs; ++i) {
      size_t j = (i + 1) % n;
      AcGePoint3d a = vertices_[i] + miter(i) * d, b = vertices_[j] + miter(j) * d;
      if (a.isEqualTo(b)) continue;
      auto* line = new AcDbLine(a, b);
      copyPropertiesTo(line);
      entities.append(line);
    }
  }
  return Acad::eOk;
}
