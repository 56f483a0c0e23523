#pragma once
// 4 x 4 transformation matrices, row-major; points are column vectors, so a
// point is moved by entry(i, 3) and the last row is the projective row.
#include "arx/gePoint3d.h"

class AcGeMatrix3d {
 public:
  AcGeMatrix3d();  // the identity
  static const AcGeMatrix3d kIdentity;

  double operator()(unsigned row, unsigned col) const { return entry[row][col]; }
  double& operator()(unsigned row, unsigned col) { return entry[row][col]; }

  AcGeMatrix3d& setToIdentity();
  bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const;
  bool operator==(const AcGeMatrix3d& m) const { return isEqualTo(m); }
  bool operator!=(const AcGeMatrix3d& m) const { return !isEqualTo(m); }
  AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
  AcGeMatrix3d& operator*=(const AcGeMatrix3d& m) { return postMultBy(m); }
  AcGeMatrix3d& preMultBy(const AcGeMatrix3d& left);   // this = left * this
  AcGeMatrix3d& postMultBy(const AcGeMatrix3d& right);  // this = this * right
  AcGeMatrix3d& setToProduct(const AcGeMatrix3d& a, const AcGeMatrix3d& b);
  AcGeMatrix3d inverse() const;  // the identity when singular
  AcGeMatrix3d& invert();
  bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeMatrix3d& transposeIt();
  AcGeMatrix3d transpose() const;
  double det() const;

  // True when the upper 3 x 3 block is a rotation times one scale factor (no
  // shear, no non-uniform scale) and the projective row is (0, 0, 0, 1).
  bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
  bool isScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
  double scale() const;  // the largest column length of the 3 x 3 block
  bool isPerspective() const;

  AcGeMatrix3d& setToTranslation(const AcGeVector3d& v);
  AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis,
                              const AcGePoint3d& center = AcGePoint3d::kOrigin);
  AcGeMatrix3d& setToScaling(double s, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  AcGeMatrix3d& setToMirroring(const AcGePoint3d& mirrorPoint);
  AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis, const AcGeVector3d& yAxis,
                               const AcGeVector3d& zAxis);
  void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis) const;
  AcGeMatrix3d& setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromX,
                                   const AcGeVector3d& fromY, const AcGeVector3d& fromZ,
                                   const AcGePoint3d& toOrigin, const AcGeVector3d& toX, const AcGeVector3d& toY,
                                   const AcGeVector3d& toZ);
  // From the object coordinate system of a planar entity with this normal
  // (arbitrary-axis rule) to world, and back.
  AcGeMatrix3d& setToPlaneToWorld(const AcGeVector3d& normal);
  AcGeMatrix3d& setToWorldToPlane(const AcGeVector3d& normal);
  AcGeVector3d translation() const { return {entry[0][3], entry[1][3], entry[2][3]}; }
  AcGeMatrix3d& setTranslation(const AcGeVector3d& v);

  static AcGeMatrix3d translation(const AcGeVector3d& v);
  static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                               const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d scaling(double s, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d mirroring(const AcGePoint3d& mirrorPoint);
  static AcGeMatrix3d alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromX,
                                    const AcGeVector3d& fromY, const AcGeVector3d& fromZ,
                                    const AcGePoint3d& toOrigin, const AcGeVector3d& toX, const AcGeVector3d& toY,
                                    const AcGeVector3d& toZ);
  static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
  static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal);

  double entry[4][4];
};

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p);
AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v);

namespace arxhost {
// The x axis of the object coordinate system that the arbitrary-axis rule
// gives for a normal (the normal is normalised first).
AcGeVector3d ArbitraryXAxis(const AcGeVector3d& normal);
}  // namespace arxhost
