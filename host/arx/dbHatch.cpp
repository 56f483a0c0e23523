#include "arx/dbHatch.h"

#include <cmath>

#include "arx/dbArc.h"
#include "arx/dbBulge.h"
#include "arx/dbLine.h"

ARXHOST_RX_DEFINE(AcDbHatch, AcDbEntity, L"HATCH")

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType type, const ACHAR* name) {
  ARXHOST_CHECK_WRITE();
  if (!name || !*name) return Acad::eInvalidInput;
  patternType_ = type;
  pattern_ = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& n) {
  ARXHOST_CHECK_WRITE();
  if (n.isZeroLength()) return Acad::eInvalidInput;
  normal_ = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                        const AcGeDoubleArray& bulges) {
  ARXHOST_CHECK_WRITE();
  if (vertices.length() < 2) return Acad::eInvalidInput;
  if (!bulges.isEmpty() && bulges.length() != vertices.length()) return Acad::eInvalidInput;
  Loop loop;
  loop.type = loopType | kPolyline;
  for (const AcGePoint2d& p : vertices) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return Acad::eInvalidInput;
    loop.points.push_back(p);
  }
  loop.bulges.assign(static_cast<size_t>(vertices.length()), 0.0);
  for (int i = 0; i < bulges.length(); ++i) loop.bulges[static_cast<size_t>(i)] = bulges[i];
  loops_.push_back(std::move(loop));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int index, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                                       AcGeDoubleArray& bulges) const {
  if (index < 0 || index >= numLoops()) return Acad::eInvalidIndex;
  const Loop& loop = loops_[static_cast<size_t>(index)];
  loopType = loop.type;
  vertices.removeAll();
  bulges.removeAll();
  for (const AcGePoint2d& p : loop.points) vertices.append(p);
  for (double b : loop.bulges) bulges.append(b);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::subTransformBy(const AcGeMatrix3d& xform) {
  if (!xform.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
  const arxhost::BulgePlaneMove move = arxhost::MoveBulgePlane(xform, normal_);
  double elevation = elevation_;
  for (Loop& loop : loops_)
    for (size_t i = 0; i < loop.points.size(); ++i) {
      AcGePoint3d p =
          move.toPlane * (xform * (toWorld * AcGePoint3d(loop.points[i].x, loop.points[i].y, elevation_)));
      loop.points[i].set(p.x, p.y);
      elevation = p.z;
      loop.bulges[i] = move.Bulge(loop.bulges[i]);
    }
  normal_ = move.normal;
  elevation_ = elevation;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::subExplode(AcDbVoidPtrArray& entities) const {
  AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
  for (const Loop& loop : loops_) {
    size_t n = loop.points.size();
    for (size_t i = 0; i < n; ++i) {
      const AcGePoint2d& a = loop.points[i];
      const AcGePoint2d& b = loop.points[(i + 1) % n];
      if (a.isEqualTo(b)) continue;
      arxhost::BulgeArc arc;
      AcDbEntity* piece = nullptr;
      if (arxhost::BulgeToArc(a, b, loop.bulges[i], arc)) {
        double s = arc.sweep > 0 ? arc.startAngle : arc.startAngle + arc.sweep;
        piece = new AcDbArc(toWorld * AcGePoint3d(arc.center.x, arc.center.y, elevation_), normal_, arc.radius, s,
                            s + std::fabs(arc.sweep));
      } else {
        piece = new AcDbLine(toWorld * AcGePoint3d(a.x, a.y, elevation_), toWorld * AcGePoint3d(b.x, b.y, elevation_));
      }
      copyPropertiesTo(piece);
      entities.append(piece);
    }
  }
  return Acad::eOk;
}
