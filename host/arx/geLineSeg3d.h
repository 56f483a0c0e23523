#pragma once
// A bounded straight segment.
#include "arx/gePoint3d.h"

class AcGeLineSeg3d {
 public:
  AcGeLineSeg3d() = default;
  AcGeLineSeg3d(const AcGePoint3d& start, const AcGePoint3d& end) : start_(start), end_(end) {}
  AcGeLineSeg3d& set(const AcGePoint3d& start, const AcGePoint3d& end) {
    start_ = start;
    end_ = end;
    return *this;
  }
  AcGePoint3d startPoint() const { return start_; }
  AcGePoint3d endPoint() const { return end_; }
  AcGePoint3d midPoint() const { return start_ + (end_ - start_) * 0.5; }
  AcGeVector3d direction() const { return (end_ - start_).normal(); }
  double length() const { return start_.distanceTo(end_); }

 private:
  AcGePoint3d start_, end_;
};
