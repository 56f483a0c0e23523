// Numerical defaults of curves: derivatives, lengths and nearest parameters.
#include "arx/dbCurve.h"

#include <cmath>

ARXHOST_RX_DEFINE(AcDbCurve, AcDbEntity, L"")

namespace {
// Gauss-Legendre nodes and weights on [-1, 1], five points.
constexpr double kNodes[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                              0.9061798459386640};
constexpr double kWeights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665, 0.2369268850561891,
                                0.2369268850561891};
constexpr int kPieces = 64;
}  // namespace

bool AcDbCurve::inRange(double param) const {
  double a = 0.0, b = 0.0;
  getStartParam(a);
  getEndParam(b);
  double slack = 1e-9 * std::max(1.0, std::fabs(b - a));
  return param >= a - slack && param <= b + slack;
}

Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d& point) const {
  double p = 0.0;
  getStartParam(p);
  return getPointAtParam(p, point);
}

Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d& point) const {
  double p = 0.0;
  getEndParam(p);
  return getPointAtParam(p, point);
}

Acad::ErrorStatus AcDbCurve::getFirstDeriv(double param, AcGeVector3d& deriv) const {
  double a = 0.0, b = 0.0;
  getStartParam(a);
  getEndParam(b);
  double h = 1e-6 * std::max(1.0, std::fabs(b - a));
  double lo = std::max(a, param - h), hi = std::min(b, param + h);
  if (hi <= lo) return Acad::eInvalidInput;
  AcGePoint3d p0, p1;
  getPointAtParam(lo, p0);
  getPointAtParam(hi, p1);
  deriv = (p1 - p0) / (hi - lo);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getDistAtParam(double param, double& dist) const {
  if (!inRange(param)) return Acad::eInvalidInput;
  double a = 0.0;
  getStartParam(a);
  double total = 0.0, step = (param - a) / kPieces;
  for (int k = 0; k < kPieces && step > 0.0; ++k) {
    double mid = a + (k + 0.5) * step, half = 0.5 * step;
    for (int i = 0; i < 5; ++i) {
      AcGeVector3d d;
      getFirstDeriv(mid + half * kNodes[i], d);
      total += kWeights[i] * half * d.length();
    }
  }
  dist = total;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getParamAtDist(double dist, double& param) const {
  double a = 0.0, b = 0.0, length = 0.0;
  getStartParam(a);
  getEndParam(b);
  getDistAtParam(b, length);
  if (dist < -1e-9 || dist > length + 1e-9) return Acad::eInvalidInput;
  double lo = a, hi = b;
  for (int i = 0; i < 100 && hi - lo > 1e-13 * std::max(1.0, std::fabs(b - a)); ++i) {
    double mid = 0.5 * (lo + hi), d = 0.0;
    getDistAtParam(mid, d);
    (d < dist ? lo : hi) = mid;
  }
  param = 0.5 * (lo + hi);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  double a = 0.0, b = 0.0;
  getStartParam(a);
  getEndParam(b);
  constexpr int kSamples = 512;
  double best = a, bestD = -1.0;
  for (int i = 0; i <= kSamples; ++i) {
    double t = a + (b - a) * i / kSamples;
    AcGePoint3d p;
    getPointAtParam(t, p);
    double d = p.distanceTo(point);
    if (bestD < 0 || d < bestD) { bestD = d; best = t; }
  }
  // Refine by golden-section search around the best sample.
  double h = (b - a) / kSamples, lo = std::max(a, best - h), hi = std::min(b, best + h);
  const double g = 0.6180339887498949;
  for (int i = 0; i < 80; ++i) {
    double t1 = hi - g * (hi - lo), t2 = lo + g * (hi - lo);
    AcGePoint3d p1, p2;
    getPointAtParam(t1, p1);
    getPointAtParam(t2, p2);
    (p1.distanceTo(point) < p2.distanceTo(point) ? hi : lo) = (p1.distanceTo(point) < p2.distanceTo(point) ? t2 : t1);
  }
  double t = 0.5 * (lo + hi);
  AcGePoint3d p;
  getPointAtParam(t, p);
  if (p.distanceTo(point) > std::max(AcGeContext::gTol.equalPoint(), 1e-9)) return Acad::ePointNotOnEntity;
  param = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getDistAtPoint(const AcGePoint3d& point, double& dist) const {
  double t = 0.0;
  if (Acad::ErrorStatus es = getParamAtPoint(point, t)) return es;
  return getDistAtParam(t, dist);
}

Acad::ErrorStatus AcDbCurve::getPointAtDist(double dist, AcGePoint3d& point) const {
  double t = 0.0;
  if (Acad::ErrorStatus es = getParamAtDist(dist, t)) return es;
  return getPointAtParam(t, point);
}
