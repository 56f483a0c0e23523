#include "dxf/Ocs.h"

#include <cmath>

namespace arxhost::dxf {
namespace {

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Unit(const Vec3& v) {
  double n = std::sqrt(Dot(v, v));
  return n > 0 ? Vec3{v[0] / n, v[1] / n, v[2] / n} : Vec3{0, 0, 1};
}

}  // namespace

Ocs::Ocs(Vec3 normal) {
  z_ = Unit(normal);
  world_ = std::fabs(z_[0]) < 1e-12 && std::fabs(z_[1]) < 1e-12 && z_[2] > 0;
  if (world_) z_ = {0, 0, 1};
  // The arbitrary-axis rule: near the Z axis, X comes from world Y cross N,
  // elsewhere from world Z cross N.
  constexpr double kLimit = 1.0 / 64.0;
  Vec3 ax = (std::fabs(z_[0]) < kLimit && std::fabs(z_[1]) < kLimit) ? Cross({0, 1, 0}, z_) : Cross({0, 0, 1}, z_);
  x_ = Unit(ax);
  y_ = Unit(Cross(z_, x_));
}

Vec3 Ocs::fromWorld(const Vec3& p) const {
  if (world_) return p;
  return {Dot(p, x_), Dot(p, y_), Dot(p, z_)};
}

Vec3 Ocs::toWorld(const Vec3& p) const {
  if (world_) return p;
  return {p[0] * x_[0] + p[1] * y_[0] + p[2] * z_[0], p[0] * x_[1] + p[1] * y_[1] + p[2] * z_[1],
          p[0] * x_[2] + p[1] * y_[2] + p[2] * z_[2]};
}

double Ocs::angleOf(const Vec3& direction) const {
  Vec3 d = fromWorld(direction);
  return std::atan2(d[1], d[0]);
}

}  // namespace arxhost::dxf
