#pragma once
// A circle; its parameter is the angle from the x axis of its plane (the
// arbitrary-axis rule of the normal), 0 to 2 pi.
#include "arx/dbCurve.h"

class AcDbCircle : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbCircle)
 public:
  AcDbCircle() = default;
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);

  AcGePoint3d center() const { return center_; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c) { ARXHOST_SET(center_, c); }
  double radius() const { return radius_; }
  // A radius must be positive (eInvalidInput).
  Acad::ErrorStatus setRadius(double r);
  AcGeVector3d normal() const { return normal_; }
  // Stored normalised; a zero vector is refused (eInvalidInput).
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double t) { ARXHOST_SET(thickness_, t); }
  double circumference() const;
  double diameter() const { return 2.0 * radius_; }

  bool isClosed() const override { return true; }
  bool isPeriodic() const override { return true; }
  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& d) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double radius_ = 0.0, thickness_ = 0.0;
};
