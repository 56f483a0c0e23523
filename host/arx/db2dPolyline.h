#pragma once
// A 2D polyline: an owner of 2D vertices whose x and y lie in its plane
// (normal and elevation). The parameter counts vertices.
#include <vector>

#include "arx/dbCurve.h"
#include "arx/dbObjectIterator.h"
#include "arx/dbVertex.h"
#include "arx/geArrays.h"

class AcDb2dPolyline : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDb2dPolyline)
 public:
  AcDb2dPolyline() = default;
  AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0.0,
                 bool closed = false, double defaultStartWidth = 0.0, double defaultEndWidth = 0.0,
                 const AcGeDoubleArray* bulges = nullptr);

  Acad::ErrorStatus appendVertex(AcDb2dVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb2dVertex* vertex);
  AcDbObjectIterator* vertexIterator() const { return new AcDbObjectIterator(vertices_); }
  double elevation() const { return elevation_; }
  Acad::ErrorStatus setElevation(double e) { ARXHOST_SET(elevation_, e); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  Acad::ErrorStatus makeClosed() { ARXHOST_SET(closed_, true); }
  Acad::ErrorStatus makeOpen() { ARXHOST_SET(closed_, false); }
  AcDb::Poly2dType polyType() const { return type_; }
  Acad::ErrorStatus setPolyType(AcDb::Poly2dType t) { ARXHOST_SET(type_, t); }
  double defaultStartWidth() const { return startWidth_; }
  double defaultEndWidth() const { return endWidth_; }
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double t) { ARXHOST_SET(thickness_, t); }
  // World position of a vertex of this polyline.
  AcGePoint3d vertexPosition(const AcDb2dVertex& vertex) const;

  const arxhost::OwnedObjects& vertices() const { return vertices_; }

  bool isClosed() const override { return closed_; }
  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  std::vector<const AcDb2dVertex*> liveVertices() const;
  arxhost::OwnedObjects vertices_;
  double elevation_ = 0.0, startWidth_ = 0.0, endWidth_ = 0.0, thickness_ = 0.0;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  bool closed_ = false;
  AcDb::Poly2dType type_ = AcDb::k2dSimplePoly;
};
