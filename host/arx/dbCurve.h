#pragma once
// Curves: a parameter range, points and lengths along it.
#include "arx/dbEntity.h"

class AcDbCurve : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbCurve)
 public:
  virtual bool isClosed() const { return false; }
  virtual bool isPeriodic() const { return false; }
  virtual Acad::ErrorStatus getStartParam(double& param) const = 0;
  virtual Acad::ErrorStatus getEndParam(double& param) const = 0;
  virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const = 0;
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
  // Derivative with respect to the parameter (numerical unless a curve
  // knows better).
  virtual Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const;
  // Length from the start parameter to param (numerical integration unless
  // a curve knows better); eInvalidInput outside the range.
  virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
  virtual Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
  // The parameter of the nearest point; ePointNotOnEntity when the point is
  // farther than the point tolerance.
  virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const;
  Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const;
  Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const;

 protected:
  // A parameter within the range (with a little slack for rounding)?
  bool inRange(double param) const;
};
