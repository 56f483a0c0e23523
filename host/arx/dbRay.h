#pragma once
// Infinite lines: the ray from its base point along its unit direction, and
// the construction line through its base point both ways. The parameter is
// the distance from the base point.
#include "arx/dbCurve.h"

class AcDbRay : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbRay)
 public:
  AcDbRay() = default;
  AcGePoint3d basePoint() const { return base_; }
  Acad::ErrorStatus setBasePoint(const AcGePoint3d& p) { ARXHOST_SET(base_, p); }
  AcGeVector3d unitDir() const { return dir_; }
  // Stored normalised; a zero vector is refused (eInvalidInput).
  Acad::ErrorStatus setUnitDir(const AcGeVector3d& d);
  AcGePoint3d secondPoint() const { return base_ + dir_; }
  Acad::ErrorStatus setSecondPoint(const AcGePoint3d& p) { return setUnitDir(p - base_); }

  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override { p = 1.0e100; return Acad::eOk; }
  Acad::ErrorStatus getPointAtParam(double t, AcGePoint3d& point) const override;
  Acad::ErrorStatus getDistAtParam(double t, double& dist) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d base_;
  AcGeVector3d dir_ = AcGeVector3d::kXAxis;
};

class AcDbXline : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbXline)
 public:
  AcDbXline() = default;
  AcGePoint3d basePoint() const { return base_; }
  Acad::ErrorStatus setBasePoint(const AcGePoint3d& p) { ARXHOST_SET(base_, p); }
  AcGeVector3d unitDir() const { return dir_; }
  Acad::ErrorStatus setUnitDir(const AcGeVector3d& d);
  AcGePoint3d secondPoint() const { return base_ + dir_; }
  Acad::ErrorStatus setSecondPoint(const AcGePoint3d& p) { return setUnitDir(p - base_); }

  Acad::ErrorStatus getStartParam(double& p) const override { p = -1.0e100; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override { p = 1.0e100; return Acad::eOk; }
  Acad::ErrorStatus getPointAtParam(double t, AcGePoint3d& point) const override;
  Acad::ErrorStatus getDistAtParam(double t, double& dist) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d base_;
  AcGeVector3d dir_ = AcGeVector3d::kXAxis;
};
