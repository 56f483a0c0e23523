#pragma once
// A line segment; its parameter is the distance from the start point.
#include "arx/dbCurve.h"

class AcDbLine : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbLine)
 public:
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : start_(start), end_(end) {}

  AcGePoint3d startPoint() const { return start_; }
  AcGePoint3d endPoint() const { return end_; }
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& p) { ARXHOST_SET(start_, p); }
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& p) { ARXHOST_SET(end_, p); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double t) { ARXHOST_SET(thickness_, t); }

  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override { p = start_.distanceTo(end_); return Acad::eOk; }
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override { p = start_; return Acad::eOk; }
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override { p = end_; return Acad::eOk; }
  Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& d) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d start_, end_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double thickness_ = 0.0;
};
