#include "PolylineCorners.h"

namespace vrngeo {
namespace {

// p within tol of the segment a-b and not beyond its ends.
bool OnSegment(const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& p, double tol) {
  const ON_3dVector ab = b - a;
  const double len = ab.Length();
  if (!(len > tol)) return false;
  const ON_3dVector dir = ab / len;
  const ON_3dVector ap = p - a;
  const double t = ap * dir;
  if (t < -tol || t > len + tol) return false;
  return (ap - dir * t).Length() <= tol;
}

}  // namespace

std::vector<ON_3dPoint> CornerPoints(const std::vector<ON_3dPoint>& chain, double tol) {
  // Repeated points first, so that every segment below has a direction.
  std::vector<ON_3dPoint> distinct;
  for (const ON_3dPoint& p : chain)
    if (distinct.empty() || distinct.back().DistanceTo(p) > tol) distinct.push_back(p);
  if (chain.size() >= 2 && distinct.size() >= 2 && distinct.back() != chain.back()) distinct.back() = chain.back();
  if (distinct.size() <= 2) return distinct;

  std::vector<ON_3dPoint> corners{distinct.front()};
  size_t kept = 0;  // index in distinct of corners.back()
  for (size_t i = 1; i + 1 < distinct.size(); ++i) {
    const ON_3dPoint& next = distinct[i + 1];
    bool straight = true;
    for (size_t j = kept + 1; j <= i && straight; ++j)
      straight = OnSegment(distinct[kept], next, distinct[j], tol);
    if (!straight) {
      corners.push_back(distinct[i]);
      kept = i;
    }
  }
  corners.push_back(distinct.back());
  return corners;
}

}  // namespace vrngeo
