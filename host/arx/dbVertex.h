#pragma once
// The vertices and face records that polylines and meshes own.
#include "arx/dbEntity.h"

class AcDbVertex : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbVertex)
};

// A vertex at a position; the base of the point-like vertices.
class AcDbPositionVertex : public AcDbVertex {
  ARXHOST_RX_MEMBERS(AcDbPositionVertex)
 public:
  friend class AcDb2dVertex;
  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p) { ARXHOST_SET(position_, p); }

 protected:
  AcDbPositionVertex() = default;
  explicit AcDbPositionVertex(const AcGePoint3d& p) : position_(p) {}
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override {
    position_.transformBy(xform);
    return Acad::eOk;
  }

 private:
  AcGePoint3d position_;
};

class AcDb3dPolylineVertex : public AcDbPositionVertex {
  ARXHOST_RX_MEMBERS(AcDb3dPolylineVertex)
 public:
  AcDb3dPolylineVertex() = default;
  explicit AcDb3dPolylineVertex(const AcGePoint3d& p) : AcDbPositionVertex(p) {}
  AcDb::Vertex3dType vertexType() const { return type_; }
  Acad::ErrorStatus setVertexType(AcDb::Vertex3dType t) { ARXHOST_SET(type_, t); }

 private:
  AcDb::Vertex3dType type_ = AcDb::k3dSimpleVertex;
};

class AcDbPolyFaceMeshVertex : public AcDbPositionVertex {
  ARXHOST_RX_MEMBERS(AcDbPolyFaceMeshVertex)
 public:
  AcDbPolyFaceMeshVertex() = default;
  explicit AcDbPolyFaceMeshVertex(const AcGePoint3d& p) : AcDbPositionVertex(p) {}
};

class AcDbPolygonMeshVertex : public AcDbPositionVertex {
  ARXHOST_RX_MEMBERS(AcDbPolygonMeshVertex)
 public:
  AcDbPolygonMeshVertex() = default;
  explicit AcDbPolygonMeshVertex(const AcGePoint3d& p) : AcDbPositionVertex(p) {}
  AcDb::PolyMeshVertexType vertexType() const { return type_; }
  Acad::ErrorStatus setVertexType(AcDb::PolyMeshVertexType t) { ARXHOST_SET(type_, t); }

 private:
  AcDb::PolyMeshVertexType type_ = AcDb::kSimpleMeshVertex;
};

// A vertex of a 2D polyline: position in the polyline's coordinate system
// (x and y; z is the polyline's elevation), bulge and widths.
class AcDb2dVertex : public AcDbPositionVertex {
  ARXHOST_RX_MEMBERS(AcDb2dVertex)
 public:
  AcDb2dVertex() = default;
  explicit AcDb2dVertex(const AcGePoint3d& p, double bulge = 0.0, double startWidth = 0.0, double endWidth = 0.0)
      : AcDbPositionVertex(p), bulge_(bulge), startWidth_(startWidth), endWidth_(endWidth) {}
  double bulge() const { return bulge_; }
  Acad::ErrorStatus setBulge(double b) { ARXHOST_SET(bulge_, b); }
  double startWidth() const { return startWidth_; }
  double endWidth() const { return endWidth_; }
  Acad::ErrorStatus setStartWidth(double w) { ARXHOST_SET(startWidth_, w); }
  Acad::ErrorStatus setEndWidth(double w) { ARXHOST_SET(endWidth_, w); }
  AcDb::Vertex2dType vertexType() const { return type_; }

  // Host side: the owning polyline moves its vertices in its plane.
  void placeInPlane(const AcGePoint2d& p, double bulge, double widthScale);

 protected:
  // Only the polyline knows the plane; it moves its vertices itself.
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d&) override { return Acad::eNotApplicable; }

 private:
  double bulge_ = 0.0, startWidth_ = 0.0, endWidth_ = 0.0;
  AcDb::Vertex2dType type_ = AcDb::k2dVertex;
};

// Four 1-based vertex numbers of a polyface mesh; a negative number hides
// the edge that starts at that vertex, 0 ends a shorter face.
class AcDbFaceRecord : public AcDbVertex {
  ARXHOST_RX_MEMBERS(AcDbFaceRecord)
 public:
  AcDbFaceRecord() = default;
  AcDbFaceRecord(Adesk::Int16 v0, Adesk::Int16 v1, Adesk::Int16 v2, Adesk::Int16 v3) : v_{v0, v1, v2, v3} {}

  Acad::ErrorStatus getVertexAt(Adesk::UInt16 index, Adesk::Int16& vertex) const;
  Acad::ErrorStatus setVertexAt(Adesk::UInt16 index, Adesk::Int16 vertex);
  Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 index, Adesk::Boolean& visible) const;
  Acad::ErrorStatus makeEdgeVisibleAt(Adesk::UInt16 index);
  Acad::ErrorStatus makeEdgeInvisibleAt(Adesk::UInt16 index);

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d&) override { return Acad::eOk; }

 private:
  Adesk::Int16 v_[4] = {0, 0, 0, 0};
};
