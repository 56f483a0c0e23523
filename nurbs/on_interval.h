#pragma once
// ON_Interval: a parameter interval [m_t[0], m_t[1]], possibly decreasing.
#include "on_base.h"

class ON_Interval {
 public:
  double m_t[2] = {ON_UNSET_VALUE, ON_UNSET_VALUE};

  constexpr ON_Interval() = default;
  constexpr ON_Interval(double t0, double t1) : m_t{t0, t1} {}

  double& operator[](int i) { return m_t[i ? 1 : 0]; }
  double operator[](int i) const { return m_t[i ? 1 : 0]; }
  void Set(double t0, double t1) { m_t[0] = t0; m_t[1] = t1; }
  void Destroy() { m_t[0] = m_t[1] = ON_UNSET_VALUE; }
  double Min() const { return m_t[0] <= m_t[1] ? m_t[0] : m_t[1]; }
  double Max() const { return m_t[0] <= m_t[1] ? m_t[1] : m_t[0]; }
  double Mid() const { return 0.5 * (m_t[0] + m_t[1]); }
  double Length() const { return m_t[1] - m_t[0]; }
  bool IsValid() const { return ON_IsValid(m_t[0]) && ON_IsValid(m_t[1]); }
  bool IsIncreasing() const { return IsValid() && m_t[0] < m_t[1]; }
  bool IsDecreasing() const { return IsValid() && m_t[0] > m_t[1]; }
  bool IsSingleton() const { return IsValid() && m_t[0] == m_t[1]; }
  bool IsInterval() const { return IsValid() && m_t[0] != m_t[1]; }
  bool IsEmptyInterval() const { return !IsValid(); }
  // Normalised parameter 0..1 to the interval's parameter, and back.
  double ParameterAt(double s) const { return (1.0 - s) * m_t[0] + s * m_t[1]; }
  double NormalizedParameterAt(double t) const {
    const double d = m_t[1] - m_t[0];
    return d != 0.0 ? (t - m_t[0]) / d : 0.0;
  }
  bool Includes(double t, bool test_open_interval = false) const {
    if (!IsValid() || !ON_IsValid(t)) return false;
    return test_open_interval ? (Min() < t && t < Max()) : (Min() <= t && t <= Max());
  }
  void Reverse() { const double t = m_t[0]; m_t[0] = -m_t[1]; m_t[1] = -t; }
  void Swap() { const double t = m_t[0]; m_t[0] = m_t[1]; m_t[1] = t; }
  bool MakeIncreasing() {
    if (IsDecreasing()) Swap();
    return IsIncreasing();
  }
  bool Intersection(const ON_Interval& other);
  bool Union(const ON_Interval& other);
  bool operator==(const ON_Interval& i) const { return m_t[0] == i.m_t[0] && m_t[1] == i.m_t[1]; }
  bool operator!=(const ON_Interval& i) const { return !(*this == i); }

  static const ON_Interval EmptyInterval;
};
