#pragma once
// ON_Xform: a 4x4 row-major transformation; points are columns, so
// xform * point applies the transformation, and (A * B) applies B first.
#include "on_point.h"

class ON_Plane;

class ON_Xform {
 public:
  double m_xform[4][4];

  // All zero but m_xform[3][3] = 1.
  ON_Xform();
  // d on the first three diagonal entries, 1 on the last.
  explicit ON_Xform(int d);
  explicit ON_Xform(double d);
  explicit ON_Xform(const double m[4][4]);
  // 16 values, row by row.
  explicit ON_Xform(const double* m);

  double* operator[](int i) { return m_xform[i]; }
  const double* operator[](int i) const { return m_xform[i]; }

  void Identity();
  void Zero();
  void Diagonal(double d);
  void Translation(const ON_3dVector& delta);
  void Translation(double dx, double dy, double dz) { Translation(ON_3dVector(dx, dy, dz)); }
  void Scale(double x, double y, double z);
  void Scale(const ON_3dPoint& fixed_point, double scale_factor);
  // Rotation about the axis through center, by the angle of (sin, cos).
  void Rotation(double sin_angle, double cos_angle, ON_3dVector axis, const ON_3dPoint& center);
  void Rotation(double angle_radians, const ON_3dVector& axis, const ON_3dPoint& center);
  // Change of basis: takes the coordinates of a point relative to plane0's
  // frame to its coordinates relative to plane1's frame.
  bool ChangeBasis(const ON_Plane& plane0, const ON_Plane& plane1);
  // Moves plane0's frame onto plane1's.
  void Rotation(const ON_Plane& plane0, const ON_Plane& plane1);
  void Transpose();

  bool IsIdentity(double zero_tolerance = 0.0) const;
  bool IsNotIdentity(double zero_tolerance = 0.0) const { return !IsIdentity(zero_tolerance); }
  bool IsZero() const;
  bool IsValid() const;
  double Determinant() const;
  // Inverts in place; false (and the matrix unchanged) when it is singular.
  bool Invert(double* pivot = nullptr);
  ON_Xform Inverse(double* pivot = nullptr) const;

  ON_Xform operator*(const ON_Xform& rhs) const;
  ON_Xform& operator*=(const ON_Xform& rhs) { return *this = *this * rhs; }
  bool operator==(const ON_Xform& rhs) const;
  bool operator!=(const ON_Xform& rhs) const { return !(*this == rhs); }

  static const ON_Xform IdentityTransformation;
  static const ON_Xform ZeroTransformation;
};

// Applies the full projective transformation (divides by w).
ON_3dPoint operator*(const ON_Xform& xform, const ON_3dPoint& p);
ON_4dPoint operator*(const ON_Xform& xform, const ON_4dPoint& p);
ON_2dPoint operator*(const ON_Xform& xform, const ON_2dPoint& p);
// Vectors ignore the translation column.
ON_3dVector operator*(const ON_Xform& xform, const ON_3dVector& v);
