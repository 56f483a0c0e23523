#pragma once
// A 2D solid: a filled triangle or quadrilateral, its corners in the order
// 0, 1, 3, 2 around the outline.
#include "arx/dbEntity.h"

class AcDbSolid : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbSolid)
 public:
  AcDbSolid() = default;
  AcDbSolid(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3)
      : p_{p0, p1, p2, p3} {}
  AcDbSolid(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2) : p_{p0, p1, p2, p2} {}

  Acad::ErrorStatus getPointAt(Adesk::UInt16 index, AcGePoint3d& point) const;
  Acad::ErrorStatus setPointAt(Adesk::UInt16 index, const AcGePoint3d& point);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double t) { ARXHOST_SET(thickness_, t); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d p_[4];
  double thickness_ = 0.0;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};
