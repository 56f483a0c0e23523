#pragma once
// A NURBS curve: degree, control points, knots (control-point count +
// degree + 1 values) and, when rational, one positive weight per control
// point; or a curve through fit points. Data the drawing would refuse leaves
// the spline as it was, so a new spline stays null.
#include "arx/dbCurve.h"
#include "arx/geArrays.h"

class AcDbSpline : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbSpline)
 public:
  AcDbSpline() = default;
  // Through fit points, with the given order (degree + 1, 2 to 26) and fit
  // tolerance; fewer than two distinct points give a null spline.
  AcDbSpline(const AcGePoint3dArray& fitPoints, int order = 4, double fitTolerance = 0.0);
  AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent, const AcGeVector3d& endTangent,
             int order = 4, double fitTolerance = 0.0);
  AcDbSpline(int degree, bool rational, bool closed, bool periodic, const AcGePoint3dArray& controlPoints,
             const AcGeDoubleArray& knots, const AcGeDoubleArray& weights, double controlPtTol = 0.0,
             double knotTol = 0.0);

  // eInvalidInput, the spline unchanged, for a degree outside 1 to 25,
  // fewer than degree + 1 control points, a knot count other than control
  // points + degree + 1, decreasing knots, an inner knot repeated more than
  // degree times, an empty knot range, missing or non-positive weights of
  // a rational spline, or a value that is not finite.
  Acad::ErrorStatus setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                 const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
                                 const AcGeDoubleArray& weights, double controlPtTol = 0.0, double knotTol = 0.0);
  // Weights come back for rational splines only (empty otherwise).
  Acad::ErrorStatus getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                 AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots, AcGeDoubleArray& weights,
                                 double& controlPtTol, double& knotTol) const;
  // eInvalidInput for fewer than two distinct points or an order outside
  // 2 to 26; the control points are those of the interpolating curve.
  Acad::ErrorStatus setFitData(const AcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                               const AcGeVector3d& startTangent, const AcGeVector3d& endTangent);
  Acad::ErrorStatus getFitData(AcGePoint3dArray& fitPoints, int& degree, double& fitTolerance,
                               bool& tangentsExist, AcGeVector3d& startTangent, AcGeVector3d& endTangent) const;

  bool isNull() const { return ctrl_.isEmpty(); }
  int degree() const { return degree_; }
  bool isRational() const { return rational_; }
  bool hasFitData() const { return !fit_.isEmpty(); }
  int numControlPoints() const { return ctrl_.length(); }
  Acad::ErrorStatus getControlPointAt(int index, AcGePoint3d& point) const;
  Acad::ErrorStatus setControlPointAt(int index, const AcGePoint3d& point);
  double weightAt(int index) const;
  int numFitPoints() const { return fit_.length(); }
  Acad::ErrorStatus getFitPointAt(int index, AcGePoint3d& point) const;
  double fitTolerance() const { return fitTol_; }
  const AcGeDoubleArray& knots() const { return knots_; }

  bool isClosed() const override;
  bool isPeriodic() const override { return periodic_; }
  Acad::ErrorStatus getStartParam(double& p) const override;
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  int degree_ = 0;
  bool rational_ = false, closed_ = false, periodic_ = false;
  AcGePoint3dArray ctrl_;
  AcGeDoubleArray knots_, weights_;
  double ctrlTol_ = 0.0, knotTol_ = 0.0;
  AcGePoint3dArray fit_;
  double fitTol_ = 0.0;
  bool tangents_ = false;
  AcGeVector3d startTangent_, endTangent_;
};
