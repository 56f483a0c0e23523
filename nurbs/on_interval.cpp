#include "on_interval.h"

#include <algorithm>

const ON_Interval ON_Interval::EmptyInterval;

bool ON_Interval::Intersection(const ON_Interval& other) {
  if (!IsValid() || !other.IsValid()) {
    Destroy();
    return false;
  }
  const double a = std::max(Min(), other.Min());
  const double b = std::min(Max(), other.Max());
  if (a > b) {
    Destroy();
    return false;
  }
  Set(a, b);
  return true;
}

bool ON_Interval::Union(const ON_Interval& other) {
  if (!other.IsValid()) return IsValid();
  if (!IsValid()) {
    *this = other;
    MakeIncreasing();
    return true;
  }
  Set(std::min(Min(), other.Min()), std::max(Max(), other.Max()));
  return true;
}
