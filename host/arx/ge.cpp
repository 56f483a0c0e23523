// Vector, point and matrix arithmetic of the geometry library.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "arx/geCircArc3d.h"
#include "arx/geMatrix3d.h"

AcGeTol AcGeContext::gTol;

const AcGeVector2d AcGeVector2d::kIdentity(0.0, 0.0);
const AcGeVector2d AcGeVector2d::kXAxis(1.0, 0.0);
const AcGeVector2d AcGeVector2d::kYAxis(0.0, 1.0);
const AcGePoint2d AcGePoint2d::kOrigin(0.0, 0.0);
const AcGeVector3d AcGeVector3d::kIdentity(0.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kXAxis(1.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kYAxis(0.0, 1.0, 0.0);
const AcGeVector3d AcGeVector3d::kZAxis(0.0, 0.0, 1.0);
const AcGePoint3d AcGePoint3d::kOrigin(0.0, 0.0, 0.0);
const AcGeMatrix3d AcGeMatrix3d::kIdentity;

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

// --- 2D ---
double AcGeVector2d::length() const { return std::hypot(x, y); }
double AcGeVector2d::angle() const {
  double a = std::atan2(y, x);
  return a < 0.0 ? a + kTwoPi : a;
}
AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol) {
  double len = length();
  if (len > tol.equalVector()) { x /= len; y /= len; }
  return *this;
}
bool AcGeVector2d::isZeroLength(const AcGeTol& tol) const { return length() <= tol.equalVector(); }
bool AcGeVector2d::isEqualTo(const AcGeVector2d& v, const AcGeTol& tol) const {
  return (*this - v).length() <= tol.equalVector();
}
bool AcGePoint2d::isEqualTo(const AcGePoint2d& p, const AcGeTol& tol) const {
  return distanceTo(p) <= tol.equalPoint();
}

// --- 3D vectors and points ---
double AcGeVector3d::length() const { return std::sqrt(lengthSqrd()); }
AcGeVector3d& AcGeVector3d::normalize(const AcGeTol& tol) {
  double len = length();
  if (len > tol.equalVector()) { x /= len; y /= len; z /= len; }
  return *this;
}
AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
  AcGeVector3d v(*this);
  return v.normalize(tol);
}
double AcGeVector3d::angleTo(const AcGeVector3d& v) const {
  // atan2 of |a x b| and a.b is accurate also near 0 and pi.
  return std::atan2(crossProduct(v).length(), dotProduct(v));
}
double AcGeVector3d::angleTo(const AcGeVector3d& v, const AcGeVector3d& ref) const {
  double a = angleTo(v);
  if (ref.dotProduct(crossProduct(v)) < 0.0) a = kTwoPi - a;
  if (a >= kTwoPi) a -= kTwoPi;
  return a;
}
AcGeVector3d AcGeVector3d::perpVector() const { return arxhost::ArbitraryXAxis(*this); }
bool AcGeVector3d::isZeroLength(const AcGeTol& tol) const { return length() <= tol.equalVector(); }
bool AcGeVector3d::isUnitLength(const AcGeTol& tol) const { return std::fabs(length() - 1.0) <= tol.equalVector(); }
bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  AcGeVector3d a = normal(tol), b = v.normal(tol);
  return a.crossProduct(b).length() <= tol.equalVector();
}
bool AcGeVector3d::isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  return isParallelTo(v, tol) && dotProduct(v) > 0.0;
}
bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  AcGeVector3d a = normal(tol), b = v.normal(tol);
  return std::fabs(a.dotProduct(b)) <= tol.equalVector();
}
bool AcGeVector3d::isEqualTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  return (*this - v).length() <= tol.equalVector();
}
AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }
AcGeVector3d& AcGeVector3d::rotateBy(double angle, const AcGeVector3d& axis) {
  return transformBy(AcGeMatrix3d::rotation(angle, axis));
}
bool AcGePoint3d::isEqualTo(const AcGePoint3d& p, const AcGeTol& tol) const {
  return distanceTo(p) <= tol.equalPoint();
}
AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }

// --- matrices ---
AcGeMatrix3d::AcGeMatrix3d() { setToIdentity(); }

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) entry[i][j] = i == j ? 1.0 : 0.0;
  return *this;
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (std::fabs(entry[i][j] - m.entry[i][j]) > tol.equalVector()) return false;
  return true;
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
  AcGeMatrix3d r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double s = 0.0;
      for (int k = 0; k < 4; ++k) s += entry[i][k] * m.entry[k][j];
      r.entry[i][j] = s;
    }
  return r;
}
AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& left) { return *this = left * *this; }
AcGeMatrix3d& AcGeMatrix3d::postMultBy(const AcGeMatrix3d& right) { return *this = *this * right; }
AcGeMatrix3d& AcGeMatrix3d::setToProduct(const AcGeMatrix3d& a, const AcGeMatrix3d& b) { return *this = a * b; }

double AcGeMatrix3d::det() const {
  // Laplace expansion over 2 x 2 minors of the first two and last two rows.
  const auto& m = entry;
  double s0 = m[0][0] * m[1][1] - m[1][0] * m[0][1];
  double s1 = m[0][0] * m[1][2] - m[1][0] * m[0][2];
  double s2 = m[0][0] * m[1][3] - m[1][0] * m[0][3];
  double s3 = m[0][1] * m[1][2] - m[1][1] * m[0][2];
  double s4 = m[0][1] * m[1][3] - m[1][1] * m[0][3];
  double s5 = m[0][2] * m[1][3] - m[1][2] * m[0][3];
  double c5 = m[2][2] * m[3][3] - m[3][2] * m[2][3];
  double c4 = m[2][1] * m[3][3] - m[3][1] * m[2][3];
  double c3 = m[2][1] * m[3][2] - m[3][1] * m[2][2];
  double c2 = m[2][0] * m[3][3] - m[3][0] * m[2][3];
  double c1 = m[2][0] * m[3][2] - m[3][0] * m[2][2];
  double c0 = m[2][0] * m[3][1] - m[3][0] * m[2][1];
  return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const { return std::fabs(det()) <= tol.equalVector(); }

AcGeMatrix3d AcGeMatrix3d::inverse() const {
  // Gauss-Jordan with partial pivoting.
  double a[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      a[i][j] = entry[i][j];
      a[i][j + 4] = i == j ? 1.0 : 0.0;
    }
  for (int c = 0; c < 4; ++c) {
    int p = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[p][c])) p = r;
    if (std::fabs(a[p][c]) < 1e-300) return AcGeMatrix3d();
    if (p != c)
      for (int j = 0; j < 8; ++j) std::swap(a[p][j], a[c][j]);
    double d = a[c][c];
    for (int j = 0; j < 8; ++j) a[c][j] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      double f = a[r][c];
      if (f == 0.0) continue;
      for (int j = 0; j < 8; ++j) a[r][j] -= f * a[c][j];
    }
  }
  AcGeMatrix3d r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.entry[i][j] = a[i][j + 4];
  return r;
}
AcGeMatrix3d& AcGeMatrix3d::invert() { return *this = inverse(); }
AcGeMatrix3d AcGeMatrix3d::transpose() const {
  AcGeMatrix3d r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.entry[i][j] = entry[j][i];
  return r;
}
AcGeMatrix3d& AcGeMatrix3d::transposeIt() { return *this = transpose(); }

bool AcGeMatrix3d::isPerspective() const {
  return entry[3][0] != 0.0 || entry[3][1] != 0.0 || entry[3][2] != 0.0 || entry[3][3] != 1.0;
}

namespace {
AcGeVector3d column(const AcGeMatrix3d& m, int c) { return {m.entry[0][c], m.entry[1][c], m.entry[2][c]}; }
}  // namespace

bool AcGeMatrix3d::isScaledOrtho(const AcGeTol& tol) const {
  if (isPerspective()) return false;
  AcGeVector3d c0 = column(*this, 0), c1 = column(*this, 1), c2 = column(*this, 2);
  double l0 = c0.length(), l1 = c1.length(), l2 = c2.length();
  if (l0 <= tol.equalVector() || l1 <= tol.equalVector() || l2 <= tol.equalVector()) return false;
  double eps = 1e-9;
  return std::fabs(c0.dotProduct(c1)) <= eps * l0 * l1 && std::fabs(c0.dotProduct(c2)) <= eps * l0 * l2 &&
         std::fabs(c1.dotProduct(c2)) <= eps * l1 * l2;
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
  if (!isScaledOrtho(tol)) return false;
  double l0 = column(*this, 0).length(), l1 = column(*this, 1).length(), l2 = column(*this, 2).length();
  double eps = 1e-9 * std::max({l0, l1, l2});
  return std::fabs(l0 - l1) <= eps && std::fabs(l0 - l2) <= eps;
}

double AcGeMatrix3d::scale() const {
  return std::max({column(*this, 0).length(), column(*this, 1).length(), column(*this, 2).length()});
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& v) {
  setToIdentity();
  return setTranslation(v);
}
AcGeMatrix3d& AcGeMatrix3d::setTranslation(const AcGeVector3d& v) {
  entry[0][3] = v.x;
  entry[1][3] = v.y;
  entry[2][3] = v.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axisIn, const AcGePoint3d& center) {
  AcGeVector3d a = axisIn.normal();
  double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  setToIdentity();
  entry[0][0] = t * a.x * a.x + c;
  entry[0][1] = t * a.x * a.y - s * a.z;
  entry[0][2] = t * a.x * a.z + s * a.y;
  entry[1][0] = t * a.x * a.y + s * a.z;
  entry[1][1] = t * a.y * a.y + c;
  entry[1][2] = t * a.y * a.z - s * a.x;
  entry[2][0] = t * a.x * a.z - s * a.y;
  entry[2][1] = t * a.y * a.z + s * a.x;
  entry[2][2] = t * a.z * a.z + c;
  // Keep the centre fixed: p' = R (p - c) + c.
  AcGeVector3d cv = center.asVector();
  AcGeVector3d moved = cv - (*this * cv);
  return setTranslation(moved);
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double s, const AcGePoint3d& center) {
  setToIdentity();
  entry[0][0] = entry[1][1] = entry[2][2] = s;
  return setTranslation(center.asVector() * (1.0 - s));
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& p) {
  setToIdentity();
  entry[0][0] = entry[1][1] = entry[2][2] = -1.0;
  return setTranslation(p.asVector() * 2.0);
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& o, const AcGeVector3d& x, const AcGeVector3d& y,
                                           const AcGeVector3d& z) {
  setToIdentity();
  for (int i = 0; i < 3; ++i) {
    entry[i][0] = x[i];
    entry[i][1] = y[i];
    entry[i][2] = z[i];
    entry[i][3] = o[i];
  }
  return *this;
}

void AcGeMatrix3d::getCoordSystem(AcGePoint3d& o, AcGeVector3d& x, AcGeVector3d& y, AcGeVector3d& z) const {
  x = column(*this, 0);
  y = column(*this, 1);
  z = column(*this, 2);
  o.set(entry[0][3], entry[1][3], entry[2][3]);
}

AcGeMatrix3d& AcGeMatrix3d::setToAlignCoordSys(const AcGePoint3d& fo, const AcGeVector3d& fx,
                                               const AcGeVector3d& fy, const AcGeVector3d& fz,
                                               const AcGePoint3d& to, const AcGeVector3d& tx,
                                               const AcGeVector3d& ty, const AcGeVector3d& tz) {
  AcGeMatrix3d from, dest;
  from.setCoordSystem(fo, fx, fy, fz);
  dest.setCoordSystem(to, tx, ty, tz);
  return *this = dest * from.inverse();
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGeVector3d& normal) {
  AcGeVector3d n = normal.normal();
  AcGeVector3d ax = arxhost::ArbitraryXAxis(n);
  AcGeVector3d ay = n.crossProduct(ax).normal();
  return setCoordSystem(AcGePoint3d::kOrigin, ax, ay, n);
}
AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGeVector3d& normal) {
  setToPlaneToWorld(normal);
  return transposeIt();  // orthonormal: the inverse is the transpose
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& v) { return AcGeMatrix3d().setToTranslation(v); }
AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToRotation(angle, axis, center);
}
AcGeMatrix3d AcGeMatrix3d::scaling(double s, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToScaling(s, center);
}
AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& p) { return AcGeMatrix3d().setToMirroring(p); }
AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fo, const AcGeVector3d& fx, const AcGeVector3d& fy,
                                         const AcGeVector3d& fz, const AcGePoint3d& to, const AcGeVector3d& tx,
                                         const AcGeVector3d& ty, const AcGeVector3d& tz) {
  return AcGeMatrix3d().setToAlignCoordSys(fo, fx, fy, fz, to, tx, ty, tz);
}
AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) {
  return AcGeMatrix3d().setToPlaneToWorld(normal);
}
AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal) {
  return AcGeMatrix3d().setToWorldToPlane(normal);
}

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
  double r[4];
  for (int i = 0; i < 4; ++i) r[i] = m.entry[i][0] * p.x + m.entry[i][1] * p.y + m.entry[i][2] * p.z + m.entry[i][3];
  if (r[3] != 1.0 && r[3] != 0.0) return {r[0] / r[3], r[1] / r[3], r[2] / r[3]};
  return {r[0], r[1], r[2]};
}

AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
  return {m.entry[0][0] * v.x + m.entry[0][1] * v.y + m.entry[0][2] * v.z,
          m.entry[1][0] * v.x + m.entry[1][1] * v.y + m.entry[1][2] * v.z,
          m.entry[2][0] * v.x + m.entry[2][1] * v.y + m.entry[2][2] * v.z};
}

AcGeVector3d arxhost::ArbitraryXAxis(const AcGeVector3d& normal) {
  // The drawing format's arbitrary-axis rule: near the world z axis take
  // world y cross n, else world z cross n.
  AcGeVector3d n = normal.normal();
  constexpr double kLimit = 1.0 / 64.0;
  AcGeVector3d ax = (std::fabs(n.x) < kLimit && std::fabs(n.y) < kLimit) ? AcGeVector3d::kYAxis.crossProduct(n)
                                                                         : AcGeVector3d::kZAxis.crossProduct(n);
  return ax.normal();
}

// --- arcs ---
AcGeCircArc3d::AcGeCircArc3d() : normal_(AcGeVector3d::kZAxis), ref_(AcGeVector3d::kXAxis), end_(2.0 * std::numbers::pi) {}
AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& c, const AcGeVector3d& n, double r) { set(c, n, r); }
AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& c, const AcGeVector3d& n, const AcGeVector3d& ref, double r,
                             double a0, double a1) {
  set(c, n, ref, r, a0, a1);
}
AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& c, const AcGeVector3d& n, double r) {
  return set(c, n, n.perpVector(), r, 0.0, 2.0 * std::numbers::pi);
}
AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& c, const AcGeVector3d& n, const AcGeVector3d& ref, double r,
                                  double a0, double a1) {
  center_ = c;
  normal_ = n.normal();
  // Keep the reference vector in the plane of the arc.
  ref_ = (ref - normal_ * ref.dotProduct(normal_)).normal();
  radius_ = r;
  start_ = a0;
  end_ = a1;
  return *this;
}
AcGePoint3d AcGeCircArc3d::pointAt(double angle) const {
  AcGeVector3d y = normal_.crossProduct(ref_);
  return center_ + ref_ * (radius_ * std::cos(angle)) + y * (radius_ * std::sin(angle));
}
bool AcGeCircArc3d::isClosed(const AcGeTol& tol) const {
  return std::fabs(end_ - start_) >= kTwoPi - tol.equalVector();
}
