#pragma once
// Tolerances of the geometry library and the process-wide default.

class AcGeTol {
 public:
  AcGeTol() = default;
  double equalPoint() const { return equalPoint_; }
  double equalVector() const { return equalVector_; }
  void setEqualPoint(double value) { equalPoint_ = value; }
  void setEqualVector(double value) { equalVector_ = value; }

 private:
  double equalPoint_ = 1e-10;
  double equalVector_ = 1e-12;
};

struct AcGeContext {
  static AcGeTol gTol;
};
