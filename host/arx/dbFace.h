#pragma once
// A 3D face: four corners (a triangle repeats its third), each edge
// visible or not.
#include "arx/dbEntity.h"

class AcDbFace : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbFace)
 public:
  AcDbFace() = default;
  AcDbFace(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3,
           bool e0Visible = true, bool e1Visible = true, bool e2Visible = true, bool e3Visible = true);
  AcDbFace(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2, bool e0Visible = true,
           bool e1Visible = true, bool e2Visible = true, bool e3Visible = true);

  // Index 0 to 3, else eInvalidIndex.
  Acad::ErrorStatus getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const;
  Acad::ErrorStatus setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point);
  Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 index, Adesk::Boolean& visible) const;
  Acad::ErrorStatus makeEdgeVisibleAt(Adesk::UInt16 index);
  Acad::ErrorStatus makeEdgeInvisibleAt(Adesk::UInt16 index);

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

 private:
  AcGePoint3d p_[4];
  bool visible_[4] = {true, true, true, true};
};
