#include "on_polyline.h"

bool ON_Polyline::IsValid(double tolerance) const {
  if (Count() < 2) return false;
  for (int i = 1; i < Count(); ++i) {
    if (!(*this)[i].IsValid()) return false;
    if (tolerance > 0.0 ? (*this)[i].DistanceTo((*this)[i - 1]) <= tolerance
                        : (*this)[i] == (*this)[i - 1])
      return false;
  }
  return (*this)[0].IsValid();
}

bool ON_Polyline::IsClosed(double tolerance) const {
  const int last = Count() - 1;
  if (last < 3) return false;
  const ON_3dPoint& a = (*this)[0];
  const ON_3dPoint& b = (*this)[last];
  auto same = [tolerance](const ON_3dPoint& p, const ON_3dPoint& q) {
    return tolerance > 0.0 ? p.DistanceTo(q) <= tolerance : p == q;
  };
  if (!same(a, b)) return false;
  for (int i = 1; i < last; ++i)
    if (!same((*this)[i], a) && !same((*this)[i], b)) return true;
  return false;
}

double ON_Polyline::Length() const {
  double len = 0.0;
  for (int i = 1; i < Count(); ++i) len += (*this)[i].DistanceTo((*this)[i - 1]);
  return len;
}

ON_Line ON_Polyline::Segment(int i) const {
  if (i < 0 || i >= SegmentCount()) return ON_Line();
  return ON_Line((*this)[i], (*this)[i + 1]);
}

ON_3dPoint ON_Polyline::PointAt(double t) const {
  if (Count() == 0) return ON_UNSET_POINT;
  if (Count() == 1) return (*this)[0];
  int i = static_cast<int>(std::floor(t));
  if (i < 0) i = 0;
  if (i > Count() - 2) i = Count() - 2;
  return Segment(i).PointAt(t - i);
}

int ON_Polyline::Clean(double tolerance) {
  int removed = 0;
  for (int i = Count() - 1; i > 0; --i) {
    const bool dup = tolerance > 0.0 ? (*this)[i].DistanceTo((*this)[i - 1]) <= tolerance
                                     : (*this)[i] == (*this)[i - 1];
    if (dup && Count() > 2) {
      Remove(i);
      ++removed;
    }
  }
  return removed;
}
