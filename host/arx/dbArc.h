#pragma once
// A circular arc counter-clockwise about its normal from the start angle to
// the end angle, both measured from the x axis of its plane (arbitrary-axis
// rule) and kept within 0 to 2 pi. The parameter is the angle.
#include "arx/dbCurve.h"

class AcDbArc : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbArc)
 public:
  AcDbArc() = default;
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
  AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle, double endAngle);

  AcGePoint3d center() const { return center_; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c) { ARXHOST_SET(center_, c); }
  double radius() const { return radius_; }
  Acad::ErrorStatus setRadius(double r);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double startAngle() const { return start_; }
  double endAngle() const { return end_; }
  Acad::ErrorStatus setStartAngle(double a);
  Acad::ErrorStatus setEndAngle(double a);
  double totalAngle() const;  // the sweep, in (0, 2 pi]
  double length() const { return radius_ * totalAngle(); }
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double t) { ARXHOST_SET(thickness_, t); }

  Acad::ErrorStatus getStartParam(double& p) const override { p = start_; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override { p = start_ + totalAngle(); return Acad::eOk; }
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& d) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double radius_ = 0.0, start_ = 0.0, end_ = 0.0, thickness_ = 0.0;
};

namespace arxhost {
double NormalizeAngle(double a);  // into [0, 2 pi)
}
