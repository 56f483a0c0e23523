#pragma once
// An ellipse or elliptical arc: centre, unit normal, major axis (a vector of
// the major radius' length), ratio of minor to major radius in (0, 1], and
// start and end angles measured from the major axis (the start within 0 to
// 2 pi, the end above the start, by 2 pi for the closed ellipse). The parameter p gives
// the point centre + cos(p) major + sin(p) minor.
#include "arx/dbCurve.h"

class AcDbEllipse : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbEllipse)
 public:
  AcDbEllipse() = default;
  // An ellipse whose data set() refuses stays empty (radius ratio 0).
  AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
              double radiusRatio, double startAngle = 0.0, double endAngle = 6.283185307179586);
  // eInvalidInput for a zero normal or axis, an axis not perpendicular to
  // the normal, or a ratio outside (0, 1].
  Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
                        double radiusRatio, double startAngle = 0.0, double endAngle = 6.283185307179586);

  AcGePoint3d center() const { return center_; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c) { ARXHOST_SET(center_, c); }
  AcGeVector3d normal() const { return normal_; }
  AcGeVector3d majorAxis() const { return major_; }
  AcGeVector3d minorAxis() const;
  double radiusRatio() const { return ratio_; }
  Acad::ErrorStatus setRadiusRatio(double ratio);
  double startAngle() const { return start_; }
  double endAngle() const { return end_; }
  Acad::ErrorStatus setStartAngle(double a);
  Acad::ErrorStatus setEndAngle(double a);
  double startParam() const { return paramAtAngle(start_); }
  double endParam() const;
  double paramAtAngle(double angle) const;
  double angleAtParam(double param) const;
  bool isNull() const { return ratio_ <= 0.0; }

  bool isClosed() const override;
  bool isPeriodic() const override { return isClosed(); }
  Acad::ErrorStatus getStartParam(double& p) const override { p = startParam(); return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override { p = endParam(); return Acad::eOk; }
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& d) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis, major_ = AcGeVector3d::kXAxis;
  double ratio_ = 0.0, start_ = 0.0, end_ = 6.283185307179586;
};
