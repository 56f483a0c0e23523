#pragma once
// Points and vectors in double (2d, 3d, homogeneous 4d) and single (3f, 2f)
// precision, with the openNURBS operators: point - point is a vector,
// vector * vector is the dot product.
#include "on_array.h"
#include "on_base.h"

class ON_Xform;
class ON_2dVector;
class ON_3dVector;
class ON_3fPoint;
class ON_3fVector;
class ON_4dPoint;

class ON_2dPoint {
 public:
  double x = 0.0, y = 0.0;
  constexpr ON_2dPoint() = default;
  constexpr ON_2dPoint(double x_, double y_) : x(x_), y(y_) {}
  double& operator[](int i) { return i == 0 ? x : y; }
  double operator[](int i) const { return i == 0 ? x : y; }
  double DistanceTo(const ON_2dPoint& p) const { return std::hypot(p.x - x, p.y - y); }
  bool IsValid() const { return ON_IsValid(x) && ON_IsValid(y); }
  void Set(double x_, double y_) { x = x_; y = y_; }
  ON_2dPoint operator+(const ON_2dPoint& p) const { return {x + p.x, y + p.y}; }
  ON_2dPoint operator+(const ON_2dVector& v) const;
  ON_2dVector operator-(const ON_2dPoint& p) const;
  ON_2dPoint operator*(double s) const { return {x * s, y * s}; }
  ON_2dPoint operator/(double s) const { return {x / s, y / s}; }
  bool operator==(const ON_2dPoint& p) const { return x == p.x && y == p.y; }
  bool operator!=(const ON_2dPoint& p) const { return !(*this == p); }
};

class ON_2dVector {
 public:
  double x = 0.0, y = 0.0;
  constexpr ON_2dVector() = default;
  constexpr ON_2dVector(double x_, double y_) : x(x_), y(y_) {}
  double Length() const { return std::hypot(x, y); }
  double operator*(const ON_2dVector& v) const { return x * v.x + y * v.y; }
  ON_2dVector operator*(double s) const { return {x * s, y * s}; }
  ON_2dVector operator+(const ON_2dVector& v) const { return {x + v.x, y + v.y}; }
  ON_2dVector operator-(const ON_2dVector& v) const { return {x - v.x, y - v.y}; }
  bool Unitize();
};

inline ON_2dPoint ON_2dPoint::operator+(const ON_2dVector& v) const { return {x + v.x, y + v.y}; }
inline ON_2dVector ON_2dPoint::operator-(const ON_2dPoint& p) const { return {x - p.x, y - p.y}; }

class ON_3dPoint {
 public:
  double x = 0.0, y = 0.0, z = 0.0;
  constexpr ON_3dPoint() = default;
  constexpr ON_3dPoint(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
  constexpr ON_3dPoint(const ON_2dPoint& p) : x(p.x), y(p.y), z(0.0) {}
  ON_3dPoint(const ON_3fPoint& p);
  explicit ON_3dPoint(const ON_3dVector& v);
  // The Euclidean point of a homogeneous one (divided by w when w is not 0).
  explicit ON_3dPoint(const ON_4dPoint& p);
  explicit ON_3dPoint(const double* xyz) : x(xyz[0]), y(xyz[1]), z(xyz[2]) {}

  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  operator double*() { return &x; }
  operator const double*() const { return &x; }

  void Set(double x_, double y_, double z_) { x = x_; y = y_; z = z_; }
  double DistanceTo(const ON_3dPoint& p) const;
  bool IsValid() const { return ON_IsValid(x) && ON_IsValid(y) && ON_IsValid(z); }
  double MaximumCoordinate() const;
  void Transform(const ON_Xform& xform);

  ON_3dPoint& operator+=(const ON_3dVector& v);
  ON_3dPoint& operator-=(const ON_3dVector& v);
  ON_3dPoint& operator+=(const ON_3dPoint& p) { x += p.x; y += p.y; z += p.z; return *this; }
  ON_3dPoint& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
  ON_3dPoint& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
  ON_3dPoint operator+(const ON_3dPoint& p) const { return {x + p.x, y + p.y, z + p.z}; }
  ON_3dPoint operator+(const ON_3dVector& v) const;
  ON_3dPoint operator-(const ON_3dVector& v) const;
  ON_3dVector operator-(const ON_3dPoint& p) const;
  ON_3dPoint operator*(double s) const { return {x * s, y * s, z * s}; }
  ON_3dPoint operator/(double s) const { return {x / s, y / s, z / s}; }
  ON_3dPoint operator-() const { return {-x, -y, -z}; }
  bool operator==(const ON_3dPoint& p) const { return x == p.x && y == p.y && z == p.z; }
  bool operator!=(const ON_3dPoint& p) const { return !(*this == p); }
};
inline ON_3dPoint operator*(double s, const ON_3dPoint& p) { return p * s; }

class ON_3dVector {
 public:
  double x = 0.0, y = 0.0, z = 0.0;
  constexpr ON_3dVector() = default;
  constexpr ON_3dVector(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
  explicit ON_3dVector(const ON_3dPoint& p) : x(p.x), y(p.y), z(p.z) {}
  ON_3dVector(const ON_3fVector& v);
  explicit ON_3dVector(const double* xyz) : x(xyz[0]), y(xyz[1]), z(xyz[2]) {}

  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

  void Set(double x_, double y_, double z_) { x = x_; y = y_; z = z_; }
  double Length() const;
  double LengthSquared() const { return x * x + y * y + z * z; }
  // Scales to length 1; false (and unchanged) for the zero vector.
  bool Unitize();
  ON_3dVector UnitVector() const;
  bool IsZero() const { return x == 0.0 && y == 0.0 && z == 0.0; }
  bool IsTiny(double tiny_tol = ON_ZERO_TOLERANCE) const;
  bool IsUnitVector() const;
  bool IsValid() const { return ON_IsValid(x) && ON_IsValid(y) && ON_IsValid(z); }
  // A vector perpendicular to v: the two largest components of v swapped with
  // one sign changed, the smallest set to 0. False when v is zero.
  bool PerpendicularTo(const ON_3dVector& v);
  // 1: parallel, -1: anti-parallel, 0: neither (angle tolerance in radians).
  int IsParallelTo(const ON_3dVector& v, double angle_tolerance = ON_PI / 180.0) const;
  bool IsPerpendicularTo(const ON_3dVector& v, double angle_tolerance = ON_PI / 180.0) const;
  void Reverse() { x = -x; y = -y; z = -z; }
  void Transform(const ON_Xform& xform);

  ON_3dVector& operator+=(const ON_3dVector& v) { x += v.x; y += v.y; z += v.z; return *this; }
  ON_3dVector& operator-=(const ON_3dVector& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  ON_3dVector& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
  ON_3dVector& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
  ON_3dVector operator+(const ON_3dVector& v) const { return {x + v.x, y + v.y, z + v.z}; }
  ON_3dVector operator-(const ON_3dVector& v) const { return {x - v.x, y - v.y, z - v.z}; }
  ON_3dVector operator-() const { return {-x, -y, -z}; }
  ON_3dVector operator*(double s) const { return {x * s, y * s, z * s}; }
  ON_3dVector operator/(double s) const { return {x / s, y / s, z / s}; }
  double operator*(const ON_3dVector& v) const { return x * v.x + y * v.y + z * v.z; }
  bool operator==(const ON_3dVector& v) const { return x == v.x && y == v.y && z == v.z; }
  bool operator!=(const ON_3dVector& v) const { return !(*this == v); }

  static const ON_3dVector ZeroVector;
  static const ON_3dVector XAxis;
  static const ON_3dVector YAxis;
  static const ON_3dVector ZAxis;
};
inline ON_3dVector operator*(double s, const ON_3dVector& v) { return v * s; }

inline ON_3dPoint::ON_3dPoint(const ON_3dVector& v) : x(v.x), y(v.y), z(v.z) {}
inline ON_3dPoint& ON_3dPoint::operator+=(const ON_3dVector& v) { x += v.x; y += v.y; z += v.z; return *this; }
inline ON_3dPoint& ON_3dPoint::operator-=(const ON_3dVector& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
inline ON_3dPoint ON_3dPoint::operator+(const ON_3dVector& v) const { return {x + v.x, y + v.y, z + v.z}; }
inline ON_3dPoint ON_3dPoint::operator-(const ON_3dVector& v) const { return {x - v.x, y - v.y, z - v.z}; }
inline ON_3dVector ON_3dPoint::operator-(const ON_3dPoint& p) const { return {x - p.x, y - p.y, z - p.z}; }

double ON_DotProduct(const ON_3dVector& a, const ON_3dVector& b);
ON_3dVector ON_CrossProduct(const ON_3dVector& a, const ON_3dVector& b);
double ON_TripleProduct(const ON_3dVector& a, const ON_3dVector& b, const ON_3dVector& c);

// Homogeneous point (w x, w y, w z, w): the form of rational control points.
class ON_4dPoint {
 public:
  double x = 0.0, y = 0.0, z = 0.0, w = 1.0;
  constexpr ON_4dPoint() = default;
  constexpr ON_4dPoint(double x_, double y_, double z_, double w_) : x(x_), y(y_), z(z_), w(w_) {}
  constexpr ON_4dPoint(const ON_3dPoint& p) : x(p.x), y(p.y), z(p.z), w(1.0) {}
  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
  bool operator==(const ON_4dPoint& p) const { return x == p.x && y == p.y && z == p.z && w == p.w; }
};

inline ON_3dPoint::ON_3dPoint(const ON_4dPoint& p) {
  const double s = p.w != 0.0 ? 1.0 / p.w : 1.0;
  x = p.x * s;
  y = p.y * s;
  z = p.z * s;
}

class ON_3fPoint {
 public:
  float x = 0.0f, y = 0.0f, z = 0.0f;
  constexpr ON_3fPoint() = default;
  constexpr ON_3fPoint(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  explicit ON_3fPoint(const ON_3dPoint& p)
      : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)), z(static_cast<float>(p.z)) {}
  float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
  float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double DistanceTo(const ON_3fPoint& p) const;
  bool operator==(const ON_3fPoint& p) const { return x == p.x && y == p.y && z == p.z; }
  bool operator!=(const ON_3fPoint& p) const { return !(*this == p); }
  ON_3fPoint& operator=(const ON_3dPoint& p) {
    x = static_cast<float>(p.x); y = static_cast<float>(p.y); z = static_cast<float>(p.z);
    return *this;
  }
};

class ON_3fVector {
 public:
  float x = 0.0f, y = 0.0f, z = 0.0f;
  constexpr ON_3fVector() = default;
  constexpr ON_3fVector(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  explicit ON_3fVector(const ON_3dVector& v)
      : x(static_cast<float>(v.x)), y(static_cast<float>(v.y)), z(static_cast<float>(v.z)) {}
  bool operator==(const ON_3fVector& v) const { return x == v.x && y == v.y && z == v.z; }
};

class ON_2fPoint {
 public:
  float x = 0.0f, y = 0.0f;
  constexpr ON_2fPoint() = default;
  constexpr ON_2fPoint(float x_, float y_) : x(x_), y(y_) {}
  bool operator==(const ON_2fPoint& p) const { return x == p.x && y == p.y; }
};

inline ON_3dPoint::ON_3dPoint(const ON_3fPoint& p) : x(p.x), y(p.y), z(p.z) {}
inline ON_3dVector::ON_3dVector(const ON_3fVector& v) : x(v.x), y(v.y), z(v.z) {}

extern const ON_3dPoint ON_origin;
extern const ON_3dVector ON_xaxis;
extern const ON_3dVector ON_yaxis;
extern const ON_3dVector ON_zaxis;
extern const ON_3dPoint ON_UNSET_POINT;

class ON_2dPointArray : public ON_SimpleArray<ON_2dPoint> {
 public:
  using ON_SimpleArray<ON_2dPoint>::ON_SimpleArray;
  ON_2dPointArray(const ON_SimpleArray<ON_2dPoint>& a) : ON_SimpleArray<ON_2dPoint>(a) {}
  ON_2dPointArray& operator=(const ON_SimpleArray<ON_2dPoint>& a) {
    ON_SimpleArray<ON_2dPoint>::operator=(a);
    return *this;
  }
};

class ON_3dPointArray : public ON_SimpleArray<ON_3dPoint> {
 public:
  using ON_SimpleArray<ON_3dPoint>::ON_SimpleArray;
  ON_3dPointArray(const ON_SimpleArray<ON_3dPoint>& a) : ON_SimpleArray<ON_3dPoint>(a) {}
  ON_3dPointArray& operator=(const ON_SimpleArray<ON_3dPoint>& a) {
    ON_SimpleArray<ON_3dPoint>::operator=(a);
    return *this;
  }
  void Append(const ON_3dPoint& p) { ON_SimpleArray<ON_3dPoint>::Append(p); }
  void Append(int count, const ON_3dPoint* p) { ON_SimpleArray<ON_3dPoint>::Append(count, p); }
  void Append(double x, double y, double z) { Append(ON_3dPoint(x, y, z)); }
  bool Transform(const ON_Xform& xform);
};

class ON_3fPointArray : public ON_SimpleArray<ON_3fPoint> {
 public:
  using ON_SimpleArray<ON_3fPoint>::ON_SimpleArray;
};
class ON_3fVectorArray : public ON_SimpleArray<ON_3fVector> {
 public:
  using ON_SimpleArray<ON_3fVector>::ON_SimpleArray;
};
class ON_2fPointArray : public ON_SimpleArray<ON_2fPoint> {
 public:
  using ON_SimpleArray<ON_2fPoint>::ON_SimpleArray;
};
class ON_3dVectorArray : public ON_SimpleArray<ON_3dVector> {
 public:
  using ON_SimpleArray<ON_3dVector>::ON_SimpleArray;
};
