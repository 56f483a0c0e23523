#pragma once
// A circular arc: centre, normal, reference vector (the direction of angle 0),
// radius and an angle interval, counter-clockwise about the normal.
#include "arx/gePoint3d.h"

class AcGeCircArc3d {
 public:
  AcGeCircArc3d();
  AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec, double radius,
                double startAngle, double endAngle);
  AcGeCircArc3d& set(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  AcGeCircArc3d& set(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                     double radius, double startAngle, double endAngle);

  AcGePoint3d center() const { return center_; }
  AcGeVector3d normal() const { return normal_; }
  AcGeVector3d refVec() const { return ref_; }
  double radius() const { return radius_; }
  double startAng() const { return start_; }
  double endAng() const { return end_; }
  AcGePoint3d startPoint() const { return pointAt(start_); }
  AcGePoint3d endPoint() const { return pointAt(end_); }
  AcGePoint3d pointAt(double angle) const;
  bool isClosed(const AcGeTol& tol = AcGeContext::gTol) const;

 private:
  AcGePoint3d center_;
  AcGeVector3d normal_, ref_;
  double radius_ = 1.0, start_ = 0.0, end_ = 0.0;
};
