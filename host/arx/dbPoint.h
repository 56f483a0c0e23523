#pragma once
#include "arx/dbEntity.h"

class AcDbPoint : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbPoint)
 public:
  AcDbPoint() = default;
  explicit AcDbPoint(const AcGePoint3d& position) : position_(position) {}

  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p) { ARXHOST_SET(position_, p); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double t) { ARXHOST_SET(thickness_, t); }
  double ecsRotation() const { return ecsRotation_; }
  Acad::ErrorStatus setEcsRotation(double a) { ARXHOST_SET(ecsRotation_, a); }

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d position_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double thickness_ = 0.0, ecsRotation_ = 0.0;
};
