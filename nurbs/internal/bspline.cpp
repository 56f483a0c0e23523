#include "internal/bspline.h"

#include <algorithm>
#include <cmath>

namespace on_bspline {

int FindSpan(int order, int cv_count, const double* knot, double t, int side) {
  const int d = order - 1;
  if (order < 2 || cv_count < order || !knot) return -1;
  const int first = d - 1, last = cv_count - 1;  // domain knot indices
  if (!(knot[first] < knot[last])) return -1;
  int j;
  if (t >= knot[last]) {
    j = last - 1;
    while (j > first && !(knot[j] < knot[j + 1])) --j;
  } else if (t <= knot[first]) {
    j = first;
    while (j < last - 1 && !(knot[j] < knot[j + 1])) ++j;
  } else {
    // Largest j with knot[j] <= t; then knot[j] <= t < knot[j+1].
    int lo = first, hi = last;
    while (hi - lo > 1) {
      const int mid = (lo + hi) / 2;
      if (knot[mid] <= t) lo = mid;
      else hi = mid;
    }
    j = lo;
    if (side < 0 && t == knot[j] && j > first) {
      int k = j - 1;
      while (k > first && !(knot[k] < knot[k + 1])) --k;
      if (knot[k] < knot[k + 1]) j = k;
    }
  }
  return j - d + 1;
}

void BasisDerivatives(int order, const double* kn, double t, int der_count, double* out) {
  const int p = order - 1;
  const int n = std::min(der_count, p);
  // ndu: basis values (upper triangle incl. diagonal) and knot differences
  // (lower triangle), as in the standard derivative recurrence.
  std::vector<double> ndu(static_cast<size_t>(order * order));
  auto NDU = [&](int a, int b) -> double& { return ndu[static_cast<size_t>(a * order + b)]; };
  std::vector<double> left(static_cast<size_t>(order)), right(static_cast<size_t>(order));
  NDU(0, 0) = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = t - kn[p - j];
    right[j] = kn[p - 1 + j] - t;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      NDU(j, r) = right[r + 1] + left[j - r];
      const double temp = NDU(r, j - 1) / NDU(j, r);
      NDU(r, j) = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    NDU(j, j) = saved;
  }
  for (int k = 0; k <= der_count; ++k)
    for (int j = 0; j <= p; ++j) out[k * order + j] = 0.0;
  for (int j = 0; j <= p; ++j) out[j] = NDU(j, p);
  std::vector<double> a(static_cast<size_t>(2 * order));
  auto A = [&](int row, int col) -> double& { return a[static_cast<size_t>(row * order + col)]; };
  for (int r = 0; r <= p; ++r) {
    int s1 = 0, s2 = 1;
    A(0, 0) = 1.0;
    for (int k = 1; k <= n; ++k) {
      double dv = 0.0;
      const int rk = r - k, pk = p - k;
      if (r >= k) {
        A(s2, 0) = A(s1, 0) / NDU(pk + 1, rk);
        dv = A(s2, 0) * NDU(rk, pk);
      }
      const int j1 = (rk >= -1) ? 1 : -rk;
      const int j2 = (r - 1 <= pk) ? k - 1 : p - r;
      for (int j = j1; j <= j2; ++j) {
        A(s2, j) = (A(s1, j) - A(s1, j - 1)) / NDU(pk + 1, rk + j);
        dv += A(s2, j) * NDU(rk + j, pk);
      }
      if (r <= pk) {
        A(s2, k) = -A(s1, k - 1) / NDU(pk + 1, r);
        dv += A(s2, k) * NDU(r, pk);
      }
      out[k * order + r] = dv;
      std::swap(s1, s2);
    }
  }
  double f = p;
  for (int k = 1; k <= n; ++k) {
    for (int j = 0; j <= p; ++j) out[k * order + j] *= f;
    f *= (p - k);
  }
}

bool Evaluate(int dim, bool is_rat, int order, int cv_count, const double* knot,
              const double* cv, int cv_stride, double t, int der_count, int v_stride,
              double* v, int side) {
  if (dim <= 0 || der_count < 0 || !cv || v_stride < dim) return false;
  const int s = FindSpan(order, cv_count, knot, t, side);
  if (s < 0) return false;
  const int cvdim = dim + (is_rat ? 1 : 0);
  std::vector<double> basis(static_cast<size_t>((der_count + 1) * order));
  BasisDerivatives(order, knot + s, t, der_count, basis.data());
  // Homogeneous derivatives.
  std::vector<double> h(static_cast<size_t>((der_count + 1) * cvdim), 0.0);
  for (int k = 0; k <= der_count; ++k)
    for (int j = 0; j < order; ++j) {
      const double b = basis[static_cast<size_t>(k * order + j)];
      if (b == 0.0) continue;
      const double* P = cv + static_cast<size_t>(s + j) * cv_stride;
      for (int c = 0; c < cvdim; ++c) h[static_cast<size_t>(k * cvdim + c)] += b * P[c];
    }
  if (!is_rat) {
    for (int k = 0; k <= der_count; ++k)
      for (int c = 0; c < dim; ++c) v[k * v_stride + c] = h[static_cast<size_t>(k * cvdim + c)];
    return true;
  }
  const double w0 = h[static_cast<size_t>(dim)];
  if (w0 == 0.0) return false;
  // Quotient rule: C(k) = (A(k) - sum_{i=1..k} binom(k,i) w(i) C(k-i)) / w.
  for (int k = 0; k <= der_count; ++k) {
    for (int c = 0; c < dim; ++c) {
      double x = h[static_cast<size_t>(k * cvdim + c)];
      double binom = 1.0;
      for (int i = 1; i <= k; ++i) {
        binom = binom * (k - i + 1) / i;
        x -= binom * h[static_cast<size_t>(i * cvdim + dim)] * v[(k - i) * v_stride + c];
      }
      v[k * v_stride + c] = x / w0;
    }
  }
  return true;
}

int Spline::Multiplicity(double u) const {
  return static_cast<int>(std::count(knot.begin(), knot.end(), u));
}

bool InsertKnot(Spline& s, double u, int mult) {
  const int p = s.degree();
  if (p < 1 || mult < 1) return mult < 1;
  if (mult > p) mult = p;
  if (u < s.DomainStart() || u > s.DomainEnd()) return false;
  const int have = s.Multiplicity(u);
  const int r = mult - have;
  if (r <= 0) return true;
  const int cvs = s.cv_size();
  // Conventional knot vector: one extra knot at each end.
  std::vector<double> U;
  U.reserve(s.knot.size() + 2);
  U.push_back(s.knot.front());
  U.insert(U.end(), s.knot.begin(), s.knot.end());
  U.push_back(s.knot.back());
  const int n = s.cv_count - 1;
  // Span k: U[k] <= u < U[k+1], k in [p, n]; at the domain end use the last span.
  int k = n;
  if (u < U[static_cast<size_t>(n + 1)]) {
    k = static_cast<int>(std::upper_bound(U.begin() + p, U.begin() + n + 1, u) - U.begin()) - 1;
  }
  // At the very end, u == U[n+1]: its copies lie after span n; treat them as
  // already present there.
  const int sm = (k == n && u == U[static_cast<size_t>(n + 1)]) ? 0 : have;
  std::vector<double> UQ(U.size() + static_cast<size_t>(r));
  for (int i = 0; i <= k; ++i) UQ[static_cast<size_t>(i)] = U[static_cast<size_t>(i)];
  for (int i = 1; i <= r; ++i) UQ[static_cast<size_t>(k + i)] = u;
  for (size_t i = static_cast<size_t>(k + 1); i < U.size(); ++i) UQ[i + static_cast<size_t>(r)] = U[i];
  std::vector<double> Q(static_cast<size_t>((s.cv_count + r) * cvs));
  auto q = [&](int i) { return Q.data() + static_cast<size_t>(i) * cvs; };
  auto P = [&](int i) { return s.cv.data() + static_cast<size_t>(i) * cvs; };
  for (int i = 0; i <= k - p; ++i) std::copy(P(i), P(i) + cvs, q(i));
  for (int i = k - sm; i <= n; ++i) std::copy(P(i), P(i) + cvs, q(i + r));
  std::vector<double> R(static_cast<size_t>((p - sm + 1) * cvs));
  auto Rp = [&](int i) { return R.data() + static_cast<size_t>(i) * cvs; };
  for (int i = 0; i <= p - sm; ++i) std::copy(P(k - p + i), P(k - p + i) + cvs, Rp(i));
  int L = k - p;
  for (int j = 1; j <= r; ++j) {
    L = k - p + j;
    for (int i = 0; i <= p - j - sm; ++i) {
      const double den = U[static_cast<size_t>(i + k + 1)] - U[static_cast<size_t>(L + i)];
      const double alpha = den != 0.0 ? (u - U[static_cast<size_t>(L + i)]) / den : 0.0;
      for (int c = 0; c < cvs; ++c) Rp(i)[c] = alpha * Rp(i + 1)[c] + (1.0 - alpha) * Rp(i)[c];
    }
    std::copy(Rp(0), Rp(0) + cvs, q(L));
    std::copy(Rp(p - j - sm), Rp(p - j - sm) + cvs, q(k + r - j - sm));
  }
  for (int i = L + 1; i < k - sm; ++i) std::copy(Rp(i - L), Rp(i - L) + cvs, q(i));
  s.knot.assign(UQ.begin() + 1, UQ.end() - 1);
  s.cv.swap(Q);
  s.cv_count += r;
  return true;
}

bool Trim(Spline& s, double t0, double t1) {
  const int d = s.degree();
  if (d < 1 || !(t0 < t1)) return false;
  if (t0 < s.DomainStart()) t0 = s.DomainStart();
  if (t1 > s.DomainEnd()) t1 = s.DomainEnd();
  if (!(t0 < t1)) return false;
  if (!InsertKnot(s, t0, d) || !InsertKnot(s, t1, d)) return false;
  const int before = static_cast<int>(std::lower_bound(s.knot.begin(), s.knot.end(), t0) - s.knot.begin());
  const int after = static_cast<int>(s.knot.end() - std::upper_bound(s.knot.begin(), s.knot.end(), t1));
  // Keep d copies of each end value.
  int drop_front = before, drop_back = after;
  const int front_copies = s.Multiplicity(t0), back_copies = s.Multiplicity(t1);
  drop_front += front_copies - d;
  drop_back += back_copies - d;
  if (drop_front < 0 || drop_back < 0) return false;
  const int cvs = s.cv_size();
  s.knot.erase(s.knot.end() - drop_back, s.knot.end());
  s.knot.erase(s.knot.begin(), s.knot.begin() + drop_front);
  s.cv.erase(s.cv.end() - static_cast<std::ptrdiff_t>(drop_back) * cvs, s.cv.end());
  s.cv.erase(s.cv.begin(), s.cv.begin() + static_cast<std::ptrdiff_t>(drop_front) * cvs);
  s.cv_count -= drop_front + drop_back;
  return s.cv_count >= s.order;
}

bool MakeBezierSpans(Spline& s) {
  const int d = s.degree();
  if (d < 1) return false;
  if (!Trim(s, s.DomainStart(), s.DomainEnd())) return false;
  std::vector<double> values;
  for (double k : s.knot)
    if (values.empty() || values.back() != k) values.push_back(k);
  for (size_t i = 1; i + 1 < values.size(); ++i)
    if (!InsertKnot(s, values[i], d)) return false;
  return true;
}

bool IncreaseDegree(Spline& s, int degree) {
  const int d = s.degree();
  if (degree < d || d < 1) return false;
  if (degree == d) return true;
  if (!MakeBezierSpans(s)) return false;
  const int cvs = s.cv_size();
  const int spans = (s.cv_count - 1) / d;
  std::vector<double> values;
  for (double k : s.knot)
    if (values.empty() || values.back() != k) values.push_back(k);
  std::vector<double> out;
  for (int sp = 0; sp < spans; ++sp) {
    std::vector<double> b(s.CV(sp * d), s.CV(sp * d) + static_cast<size_t>((d + 1) * cvs));
    for (int e = d; e < degree; ++e) {
      // Degree e to e + 1: Q_i = i/(e+1) P_{i-1} + (1 - i/(e+1)) P_i.
      std::vector<double> nb(static_cast<size_t>((e + 2) * cvs));
      for (int i = 0; i <= e + 1; ++i)
        for (int c = 0; c < cvs; ++c) {
          const double a = static_cast<double>(i) / (e + 1);
          const double prev = i > 0 ? b[static_cast<size_t>((i - 1) * cvs + c)] : 0.0;
          const double cur = i <= e ? b[static_cast<size_t>(i * cvs + c)] : 0.0;
          nb[static_cast<size_t>(i * cvs + c)] = a * prev + (1.0 - a) * cur;
        }
      b.swap(nb);
    }
    out.insert(out.end(), b.begin() + (sp == 0 ? 0 : cvs), b.end());
  }
  s.order = degree + 1;
  s.cv = out;
  s.cv_count = spans * degree + 1;
  s.knot.clear();
  for (double v : values) s.knot.insert(s.knot.end(), static_cast<size_t>(degree), v);
  return true;
}

void MakeRational(Spline& s) {
  if (s.is_rat) return;
  std::vector<double> out;
  out.reserve(static_cast<size_t>(s.cv_count * (s.dim + 1)));
  for (int i = 0; i < s.cv_count; ++i) {
    const double* p = s.CV(i);
    out.insert(out.end(), p, p + s.dim);
    out.push_back(1.0);
  }
  s.cv.swap(out);
  s.is_rat = true;
}

}  // namespace on_bspline
