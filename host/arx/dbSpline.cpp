// Splines: validation of NURBS data, evaluation (de Boor on homogeneous
// points) and global interpolation of fit points.
#include "arx/dbSpline.h"

#include <algorithm>
#include <cmath>
#include <vector>

ARXHOST_RX_DEFINE(AcDbSpline, AcDbCurve, L"SPLINE")

namespace {

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The span index i with knots[i] <= t < knots[i+1], within [p, n-1].
int FindSpan(int n, int p, double t, const std::vector<double>& U) {
  if (t >= U[static_cast<size_t>(n)]) return n - 1;
  if (t <= U[static_cast<size_t>(p)]) return p;
  int lo = p, hi = n;
  while (hi - lo > 1) {
    int mid = (lo + hi) / 2;
    if (t < U[static_cast<size_t>(mid)]) hi = mid; else lo = mid;
  }
  return lo;
}

// The non-zero basis functions N[i-p..i] at t.
void BasisFuns(int span, double t, int p, const std::vector<double>& U, std::vector<double>& N) {
  N.assign(static_cast<size_t>(p) + 1, 0.0);
  std::vector<double> left(static_cast<size_t>(p) + 1), right(static_cast<size_t>(p) + 1);
  N[0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = t - U[static_cast<size_t>(span + 1 - j)];
    right[j] = U[static_cast<size_t>(span + j)] - t;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      double denom = right[static_cast<size_t>(r + 1)] + left[static_cast<size_t>(j - r)];
      double temp = denom != 0.0 ? N[static_cast<size_t>(r)] / denom : 0.0;
      N[static_cast<size_t>(r)] = saved + right[static_cast<size_t>(r + 1)] * temp;
      saved = left[static_cast<size_t>(j - r)] * temp;
    }
    N[static_cast<size_t>(j)] = saved;
  }
}

// Solves the interpolation system A x = b for each coordinate; A is the
// collocation matrix, banded and totally positive, so elimination without
// pivoting is stable.
bool SolveBanded(std::vector<std::vector<double>>& A, std::vector<AcGePoint3d>& b, int band) {
  size_t n = A.size();
  for (size_t k = 0; k < n; ++k) {
    double piv = A[k][k];
    if (std::fabs(piv) < 1e-300) return false;
    size_t last = std::min(n, k + static_cast<size_t>(band) + 1);
    for (size_t i = k + 1; i < last; ++i) {
      double f = A[i][k] / piv;
      if (f == 0.0) continue;
      for (size_t j = k; j < std::min(n, k + 2 * static_cast<size_t>(band) + 1); ++j) A[i][j] -= f * A[k][j];
      b[i] = AcGePoint3d(b[i].x - f * b[k].x, b[i].y - f * b[k].y, b[i].z - f * b[k].z);
    }
  }
  for (size_t k = n; k-- > 0;) {
    AcGePoint3d s = b[k];
    for (size_t j = k + 1; j < std::min(n, k + 2 * static_cast<size_t>(band) + 1); ++j)
      s = AcGePoint3d(s.x - A[k][j] * b[j].x, s.y - A[k][j] * b[j].y, s.z - A[k][j] * b[j].z);
    b[k] = AcGePoint3d(s.x / A[k][k], s.y / A[k][k], s.z / A[k][k]);
  }
  return true;
}

}  // namespace

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, int order, double fitTolerance) {
  setFitData(fitPoints, order - 1, fitTolerance, AcGeVector3d(), AcGeVector3d());
}

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
                       const AcGeVector3d& endTangent, int order, double fitTolerance) {
  setFitData(fitPoints, order - 1, fitTolerance, startTangent, endTangent);
}

AcDbSpline::AcDbSpline(int degree, bool rational, bool closed, bool periodic, const AcGePoint3dArray& controlPoints,
                       const AcGeDoubleArray& knots, const AcGeDoubleArray& weights, double controlPtTol,
                       double knotTol) {
  setNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights, controlPtTol, knotTol);
}

Acad::ErrorStatus AcDbSpline::setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                           const AcGePoint3dArray& cps, const AcGeDoubleArray& knots,
                                           const AcGeDoubleArray& weights, double controlPtTol, double knotTol) {
  ARXHOST_CHECK_WRITE();
  int n = cps.length();
  if (degree < 1 || degree > 25 || n < degree + 1) return Acad::eInvalidInput;
  if (knots.length() != n + degree + 1) return Acad::eInvalidInput;
  for (const AcGePoint3d& p : cps)
    if (!Finite(p)) return Acad::eInvalidInput;
  double tol = std::max(knotTol, 0.0);
  for (int i = 0; i < knots.length(); ++i) {
    if (!std::isfinite(knots[i])) return Acad::eInvalidInput;
    if (i > 0 && knots[i] - knots[i - 1] < -tol) return Acad::eInvalidInput;
  }
  // End knots may repeat degree + 1 times, inner knots degree times.
  for (int i = 0; i < knots.length();) {
    int j = i + 1;
    while (j < knots.length() && knots[j] - knots[j - 1] <= tol) ++j;
    bool end = i == 0 || j == knots.length();
    if (j - i > (end ? degree + 1 : degree)) return Acad::eInvalidInput;
    i = j;
  }
  if (!(knots[n] - knots[degree] > tol)) return Acad::eInvalidInput;
  if (rational) {
    if (weights.length() != n) return Acad::eInvalidInput;
    for (double w : weights)
      if (!(w > 0.0) || !std::isfinite(w)) return Acad::eInvalidInput;
  }
  degree_ = degree;
  rational_ = rational;
  closed_ = closed;
  periodic_ = periodic;
  ctrl_ = cps;
  knots_ = knots;
  weights_ = rational ? weights : AcGeDoubleArray();
  ctrlTol_ = controlPtTol;
  knotTol_ = knotTol;
  fit_.removeAll();
  tangents_ = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                           AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots,
                                           AcGeDoubleArray& weights, double& controlPtTol, double& knotTol) const {
  if (isNull()) return Acad::eNotApplicable;
  degree = degree_;
  rational = rational_;
  closed = isClosed();
  periodic = periodic_;
  controlPoints = ctrl_;
  knots = knots_;
  weights = weights_;
  controlPtTol = ctrlTol_;
  knotTol = knotTol_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setFitData(const AcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                                         const AcGeVector3d& startTangent, const AcGeVector3d& endTangent) {
  ARXHOST_CHECK_WRITE();
  if (degree < 1 || degree > 25 || !(fitTolerance >= 0.0)) return Acad::eInvalidInput;
  // Coincident neighbours carry no shape; the interpolation needs distinct
  // points.
  std::vector<AcGePoint3d> pts;
  for (const AcGePoint3d& p : fitPoints) {
    if (!Finite(p)) return Acad::eInvalidInput;
    if (pts.empty() || !pts.back().isEqualTo(p)) pts.push_back(p);
  }
  if (pts.size() < 2) return Acad::eInvalidInput;
  int n = static_cast<int>(pts.size());
  int p = std::min(degree, n - 1);
  // Chord-length parameters, knots by averaging.
  std::vector<double> u(static_cast<size_t>(n), 0.0);
  double total = 0.0;
  for (int i = 1; i < n; ++i) total += pts[static_cast<size_t>(i)].distanceTo(pts[static_cast<size_t>(i - 1)]);
  for (int i = 1; i < n; ++i)
    u[static_cast<size_t>(i)] =
        u[static_cast<size_t>(i - 1)] + pts[static_cast<size_t>(i)].distanceTo(pts[static_cast<size_t>(i - 1)]) / total;
  u[static_cast<size_t>(n - 1)] = 1.0;
  std::vector<double> U(static_cast<size_t>(n + p + 1), 0.0);
  for (int i = n; i <= n + p; ++i) U[static_cast<size_t>(i)] = 1.0;
  for (int j = 1; j <= n - p - 1; ++j) {
    double s = 0.0;
    for (int i = j; i <= j + p - 1; ++i) s += u[static_cast<size_t>(i)];
    U[static_cast<size_t>(j + p)] = s / p;
  }
  std::vector<std::vector<double>> A(static_cast<size_t>(n), std::vector<double>(static_cast<size_t>(n), 0.0));
  std::vector<double> N;
  for (int i = 0; i < n; ++i) {
    int span = FindSpan(n, p, u[static_cast<size_t>(i)], U);
    BasisFuns(span, u[static_cast<size_t>(i)], p, U, N);
    for (int j = 0; j <= p; ++j) A[static_cast<size_t>(i)][static_cast<size_t>(span - p + j)] = N[static_cast<size_t>(j)];
  }
  std::vector<AcGePoint3d> b = pts;
  if (!SolveBanded(A, b, p)) return Acad::eInvalidInput;
  degree_ = p;
  rational_ = false;
  periodic_ = false;
  closed_ = pts.front().isEqualTo(pts.back());
  ctrl_.removeAll();
  for (const AcGePoint3d& c : b) ctrl_.append(c);
  knots_.removeAll();
  for (double k : U) knots_.append(k);
  weights_.removeAll();
  fit_ = fitPoints;
  fitTol_ = fitTolerance;
  tangents_ = !startTangent.isZeroLength() || !endTangent.isZeroLength();
  startTangent_ = startTangent;
  endTangent_ = endTangent;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitData(AcGePoint3dArray& fitPoints, int& degree, double& fitTolerance,
                                         bool& tangentsExist, AcGeVector3d& startTangent,
                                         AcGeVector3d& endTangent) const {
  if (fit_.isEmpty()) return Acad::eNotApplicable;
  fitPoints = fit_;
  degree = degree_;
  fitTolerance = fitTol_;
  tangentsExist = tangents_;
  startTangent = startTangent_;
  endTangent = endTangent_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getControlPointAt(int i, AcGePoint3d& point) const {
  if (i < 0 || i >= ctrl_.length()) return Acad::eInvalidIndex;
  point = ctrl_[i];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setControlPointAt(int i, const AcGePoint3d& point) {
  ARXHOST_CHECK_WRITE();
  if (i < 0 || i >= ctrl_.length()) return Acad::eInvalidIndex;
  if (!Finite(point)) return Acad::eInvalidInput;
  ctrl_[i] = point;
  fit_.removeAll();
  return Acad::eOk;
}

double AcDbSpline::weightAt(int i) const {
  if (i < 0 || i >= ctrl_.length()) return 0.0;
  return rational_ ? weights_[i] : 1.0;
}

Acad::ErrorStatus AcDbSpline::getFitPointAt(int i, AcGePoint3d& point) const {
  if (i < 0 || i >= fit_.length()) return Acad::eInvalidIndex;
  point = fit_[i];
  return Acad::eOk;
}

bool AcDbSpline::isClosed() const {
  if (isNull()) return false;
  if (closed_ || periodic_) return true;
  AcGePoint3d a, b;
  getStartPoint(a);
  getEndPoint(b);
  return a.isEqualTo(b);
}

Acad::ErrorStatus AcDbSpline::getStartParam(double& p) const {
  if (isNull()) return Acad::eNotApplicable;
  p = knots_[degree_];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getEndParam(double& p) const {
  if (isNull()) return Acad::eNotApplicable;
  p = knots_[ctrl_.length()];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getPointAtParam(double t, AcGePoint3d& point) const {
  if (isNull()) return Acad::eNotApplicable;
  if (!inRange(t)) return Acad::eInvalidInput;
  int n = ctrl_.length(), p = degree_;
  const std::vector<double>& U = knots_.vector();
  int span = FindSpan(n, p, t, U);
  std::vector<double> N;
  BasisFuns(span, t, p, U, N);
  double x = 0.0, y = 0.0, z = 0.0, w = 0.0;
  for (int j = 0; j <= p; ++j) {
    int i = span - p + j;
    double wi = rational_ ? weights_[i] : 1.0, f = N[static_cast<size_t>(j)] * wi;
    x += f * ctrl_[i].x;
    y += f * ctrl_[i].y;
    z += f * ctrl_[i].z;
    w += f;
  }
  if (w == 0.0) return Acad::eInvalidInput;
  point.set(x / w, y / w, z / w);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::subTransformBy(const AcGeMatrix3d& xform) {
  if (xform.isPerspective()) return Acad::eCannotScaleNonUniformly;
  for (AcGePoint3d& p : ctrl_) p.transformBy(xform);
  for (AcGePoint3d& p : fit_) p.transformBy(xform);
  startTangent_ = xform * startTangent_;
  endTangent_ = xform * endTangent_;
  return Acad::eOk;
}
