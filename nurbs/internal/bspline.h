#pragma once
// B-spline arithmetic shared by the curve and surface classes. Knot vectors
// are in openNURBS form: order + cv_count - 2 values; span s (0-based) uses
// CVs s .. s+order-1 and knots s .. s+2*order-3 and covers the parameters
// knot[s+order-2] to knot[s+order-1].
#include <cstddef>
#include <vector>

namespace on_bspline {

// The nonempty span that holds t; t outside the domain gives the first or
// last span. side < 0 prefers the span on the left of a knot. -1 when the
// domain is empty.
int FindSpan(int order, int cv_count, const double* knot, double t, int side);

// Values and derivatives of the order basis functions of the span whose
// local knots (2*order-2 values) start at local_knot: out[k*order + j] is the
// k-th derivative of the function of the span's CV j, for k = 0..der_count.
void BasisDerivatives(int order, const double* local_knot, double t, int der_count, double* out);

// Point and derivatives of a (rational) B-spline in dim dimensions; cv holds
// dim (+1 when rational) values per CV, cv_stride apart.
bool Evaluate(int dim, bool is_rat, int order, int cv_count, const double* knot,
              const double* cv, int cv_stride, double t, int der_count, int v_stride,
              double* v, int side);

// A B-spline held in vectors, for the operations that change knots and CVs.
struct Spline {
  int dim = 0;
  bool is_rat = false;
  int order = 0;
  int cv_count = 0;
  std::vector<double> knot;  // openNURBS form
  std::vector<double> cv;    // cv_size() values per CV, homogeneous when rational

  int cv_size() const { return dim + (is_rat ? 1 : 0); }
  int degree() const { return order - 1; }
  double* CV(int i) { return cv.data() + static_cast<std::size_t>(i) * cv_size(); }
  const double* CV(int i) const { return cv.data() + static_cast<std::size_t>(i) * cv_size(); }
  double DomainStart() const { return knot[order - 2]; }
  double DomainEnd() const { return knot[cv_count - 1]; }
  int Multiplicity(double u) const;
};

// Inserts u (strictly inside the domain or at one of its ends) until it has
// the wanted multiplicity (at most the degree); false when u is outside.
bool InsertKnot(Spline& s, double u, int multiplicity);
// Cuts the spline to [t0, t1] (inside its domain, t0 < t1), clamped at both ends.
bool Trim(Spline& s, double t0, double t1);
// Every span as its own Bezier piece: each distinct knot gets full multiplicity.
bool MakeBezierSpans(Spline& s);
// Raises the degree without changing the shape (the result is C0 at every knot).
bool IncreaseDegree(Spline& s, int degree);
void MakeRational(Spline& s);

}  // namespace on_bspline
