#pragma once
// A 3D polyline: an owner of 3D vertices. Its parameter runs from 0 at the
// first vertex by 1 per vertex (to the vertex count when closed).
#include <vector>

#include "arx/dbCurve.h"
#include "arx/dbObjectIterator.h"
#include "arx/dbVertex.h"
#include "arx/geArrays.h"

class AcDb3dPolyline : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDb3dPolyline)
 public:
  AcDb3dPolyline() = default;
  AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed = false);

  // The vertex stays open for its caller to close.
  Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* vertex);
  // A new iterator over the vertices; the caller deletes it.
  AcDbObjectIterator* vertexIterator() const { return new AcDbObjectIterator(vertices_); }
  Acad::ErrorStatus makeClosed() { ARXHOST_SET(closed_, true); }
  Acad::ErrorStatus makeOpen() { ARXHOST_SET(closed_, false); }
  Acad::ErrorStatus setClosed(bool closed) { ARXHOST_SET(closed_, closed); }
  AcDb::Poly3dType polyType() const { return type_; }
  Acad::ErrorStatus setPolyType(AcDb::Poly3dType t) { ARXHOST_SET(type_, t); }

  // Host side: the positions of the live vertices in order.
  std::vector<AcGePoint3d> points() const;
  const arxhost::OwnedObjects& vertices() const { return vertices_; }

  bool isClosed() const override { return closed_; }
  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  arxhost::OwnedObjects vertices_;
  bool closed_ = false;
  AcDb::Poly3dType type_ = AcDb::k3dSimplePoly;
};

namespace arxhost {
// Parameter t along a chain of points: vertex floor(t) to the next.
Acad::ErrorStatus PointOnChain(const std::vector<AcGePoint3d>& pts, bool closed, double t, AcGePoint3d& point);
// Transforms every live child of the list.
void TransformChildren(const OwnedObjects& children, const AcGeMatrix3d& xform);
}  // namespace arxhost
