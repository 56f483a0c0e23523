// Decoding and evaluating SAT geometry records.
#include "acis/AcisGeometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace arxhost::sat {

namespace {

constexpr int kMaxDegree = 25;

// Reads the data fields of one record in order; every read checks that a
// field is there and has the expected form.
class Cursor {
 public:
  explicit Cursor(std::vector<const Field*> fields) : fields_(std::move(fields)) {}
  bool done() const { return pos_ >= fields_.size(); }
  size_t left() const { return fields_.size() - pos_; }
  bool number(double& v) {
    if (done()) return false;
    const std::string& t = fields_[pos_]->text;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size() || !std::isfinite(v)) return false;
    ++pos_;
    return true;
  }
  bool integer(long& v) {
    if (done()) return false;
    const std::string& t = fields_[pos_]->text;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size()) return false;
    ++pos_;
    return true;
  }
  bool word(std::string& w) {
    if (done()) return false;
    w = fields_[pos_++]->text;
    return true;
  }
  bool expect(const char* w) {
    if (done() || fields_[pos_]->text != w) return false;
    ++pos_;
    return true;
  }
  bool point(AcGePoint3d& p) { return number(p.x) && number(p.y) && number(p.z); }
  bool vector(AcGeVector3d& v) { return number(v.x) && number(v.y) && number(v.z); }
  // Steps over a token if it is one of the two words; sets which.
  bool choice(const char* a, const char* b, bool& isA) {
    if (done()) return false;
    const std::string& t = fields_[pos_]->text;
    if (t != a && t != b) return false;
    isA = t == a;
    ++pos_;
    return true;
  }
  // Skips to just past the first field equal to w.
  bool skipPast(const char* w) {
    while (!done())
      if (fields_[pos_++]->text == w) return true;
    return false;
  }
  // An interval bound: "I" (infinite) or "F value".
  bool bound() {
    if (expect("I")) return true;
    double v = 0;
    return expect("F") && number(v);
  }

 private:
  std::vector<const Field*> fields_;
  size_t pos_ = 0;
};

bool Unit(AcGeVector3d& v) {
  double l = v.length();
  if (!(l > 0.0) || !std::isfinite(l)) return false;
  v /= l;
  return true;
}

// Distinct knots with multiplicities into a full list.
bool ReadKnots(Cursor& c, long distinct, std::vector<double>& knots) {
  if (distinct < 1 || static_cast<size_t>(distinct) * 2 > c.left()) return false;
  for (long i = 0; i < distinct; ++i) {
    double k = 0;
    long m = 0;
    if (!c.number(k) || !c.integer(m) || m < 1 || m > kMaxDegree + 1) return false;
    if (!knots.empty() && k < knots.back()) return false;
    knots.insert(knots.end(), static_cast<size_t>(m), k);
  }
  return true;
}

bool ReadPoints(Cursor& c, long count, int dimension, bool rational, std::vector<double>& points) {
  const size_t per = static_cast<size_t>(dimension + (rational ? 1 : 0));
  if (count < 1 || static_cast<size_t>(count) > c.left() / per) return false;
  points.reserve(static_cast<size_t>(count) * 4);
  for (long i = 0; i < count; ++i) {
    double x = 0, y = 0, z = 0, w = 1;
    if (!c.number(x) || !c.number(y) || (dimension == 3 && !c.number(z)) || (rational && !c.number(w)) || !(w > 0.0))
      return false;
    points.insert(points.end(), {x, y, z, w});
  }
  return true;
}

// A knot vector fits a B-spline of this degree over this many control
// points and spans a parameter interval.
bool KnotsFit(const std::vector<double>& knots, int degree, long count) {
  if (count < degree + 1 || knots.size() != static_cast<size_t>(count + degree - 1)) return false;
  return knots[static_cast<size_t>(degree - 1)] < knots[static_cast<size_t>(count - 1)];
}

// "nubs"/"nurbs" degree closure knots points.
bool ReadBsCurve(Cursor& c, int dimension, BSplineCurve& out) {
  bool rational = false;
  long degree = 0, distinct = 0;
  std::string closure;
  if (!c.choice("nurbs", "nubs", rational) || !c.integer(degree) || degree < 1 || degree > kMaxDegree ||
      !c.word(closure) || !c.integer(distinct) || !ReadKnots(c, distinct, out.knots))
    return false;
  const long count = static_cast<long>(out.knots.size()) - degree + 1;
  out.degree = static_cast<int>(degree);
  out.dimension = dimension;
  out.rational = rational;
  return KnotsFit(out.knots, out.degree, count) && ReadPoints(c, count, dimension, rational, out.points);
}

bool ReadBsSurface(Cursor& c, BSplineSurface& out) {
  bool rational = false;
  long du = 0, dv = 0, ku = 0, kv = 0;
  std::string closeU, closeV, singU, singV;
  if (!c.choice("nurbs", "nubs", rational) || !c.integer(du) || !c.integer(dv) || du < 1 || dv < 1 ||
      du > kMaxDegree || dv > kMaxDegree)
    return false;
  // A rational surface says in which directions it is rational.
  bool both = false;
  if (rational && !c.choice("both", "u", both) && !c.choice("v", "none", both)) return false;
  if (!c.word(closeU) || !c.word(closeV) || !c.word(singU) ||
      !c.word(singV) || !c.integer(ku) || !c.integer(kv) || !ReadKnots(c, ku, out.knots[0]) ||
      !ReadKnots(c, kv, out.knots[1]))
    return false;
  const long nu = static_cast<long>(out.knots[0].size()) - du + 1, nv = static_cast<long>(out.knots[1].size()) - dv + 1;
  out.degree[0] = static_cast<int>(du);
  out.degree[1] = static_cast<int>(dv);
  out.count[0] = static_cast<int>(nu);
  out.count[1] = static_cast<int>(nv);
  out.rational = rational;
  if (!KnotsFit(out.knots[0], out.degree[0], nu) || !KnotsFit(out.knots[1], out.degree[1], nv)) return false;
  if (nu > 0 && nv > std::numeric_limits<long>::max() / nu) return false;
  return ReadPoints(c, nu * nv, 3, rational, out.points);
}

// The span s with knots[s + degree - 1] <= t < knots[s + degree] (clamped
// to the domain) and the degree + 1 basis values there.
int Basis(const std::vector<double>& knots, int degree, int count, double t, double* n) {
  // Full knot vector U of count + degree + 1 values: knots with an end knot repeated.
  auto U = [&](int i) {
    if (i <= 0) return knots.front();
    if (i > static_cast<int>(knots.size())) return knots.back();
    return knots[static_cast<size_t>(i - 1)];
  };
  const double lo = U(degree), hi = U(count);
  t = std::clamp(t, lo, hi);
  int span = degree;
  while (span < count - 1 && t >= U(span + 1)) ++span;
  double left[kMaxDegree + 2], right[kMaxDegree + 2];
  n[0] = 1.0;
  for (int j = 1; j <= degree; ++j) {
    left[j] = t - U(span + 1 - j);
    right[j] = U(span + j) - t;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      const double denom = right[r + 1] + left[j - r];
      const double temp = denom != 0.0 ? n[r] / denom : 0.0;
      n[r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    n[j] = saved;
  }
  return span - degree;  // index of the first control point that counts
}

AcGePoint3d Project(double x, double y, double z, double w) {
  if (w == 0.0) return {x, y, z};
  return {x / w, y / w, z / w};
}

// Unit vector and its derivative-free angle in the plane of x and y.
double AngleIn(const AcGeVector3d& d, const AcGeVector3d& x, const AcGeVector3d& y) {
  return std::atan2(d.dotProduct(y), d.dotProduct(x));
}

}  // namespace

AcGePoint3d BSplineCurve::evaluate(double t) const {
  double n[kMaxDegree + 1];
  const int first = Basis(knots, degree, count(), t, n);
  double acc[4] = {0, 0, 0, 0};
  for (int i = 0; i <= degree; ++i) {
    const double* p = &points[static_cast<size_t>(first + i) * 4];
    const double w = p[3];
    for (int k = 0; k < 3; ++k) acc[k] += n[i] * p[k] * w;
    acc[3] += n[i] * w;
  }
  return Project(acc[0], acc[1], acc[2], acc[3]);
}

std::optional<BSplineCurve> BSplineCurve::part(double a, double b) const {
  if (!(a < b) || a < start() || b > end()) return std::nullopt;
  const int p = degree;
  // The full knot vector and homogeneous control points.
  std::vector<double> U;
  U.push_back(knots.front());
  U.insert(U.end(), knots.begin(), knots.end());
  U.push_back(knots.back());
  std::vector<double> P(points.size());
  for (size_t i = 0; i < points.size(); i += 4) {
    const double w = points[i + 3];
    P[i] = points[i] * w;
    P[i + 1] = points[i + 1] * w;
    P[i + 2] = points[i + 2] * w;
    P[i + 3] = w;
  }
  // Boehm's insertion of u, raising its multiplicity to at least p.
  auto raise = [&](double u) {
    int mult = static_cast<int>(std::count(U.begin(), U.end(), u));
    for (; mult < p; ++mult) {
      const int n = static_cast<int>(P.size() / 4);
      int k = p;
      while (k < n - 1 && u >= U[static_cast<size_t>(k + 1)]) ++k;
      std::vector<double> Q(P.size() + 4);
      for (int i = 0; i <= n; ++i) {
        double* q = &Q[static_cast<size_t>(i) * 4];
        if (i <= k - p) {
          std::copy_n(&P[static_cast<size_t>(i) * 4], 4, q);
        } else if (i > k) {
          std::copy_n(&P[static_cast<size_t>(i - 1) * 4], 4, q);
        } else {
          const double denom = U[static_cast<size_t>(i + p)] - U[static_cast<size_t>(i)];
          const double alpha = denom != 0.0 ? (u - U[static_cast<size_t>(i)]) / denom : 0.0;
          for (int c = 0; c < 4; ++c)
            q[c] = (1.0 - alpha) * P[static_cast<size_t>(i - 1) * 4 + c] + alpha * P[static_cast<size_t>(i) * 4 + c];
        }
      }
      U.insert(U.begin() + k + 1, u);
      P = std::move(Q);
    }
  };
  raise(a);
  raise(b);
  // The curve at a is control point e - p (e: the last knot equal to a),
  // at b control point f - 1 (f: the first knot equal to b).
  const int e = static_cast<int>(std::upper_bound(U.begin(), U.end(), a) - U.begin()) - 1;
  const int f = static_cast<int>(std::lower_bound(U.begin(), U.end(), b) - U.begin());
  if (e - p < 0 || f - 1 < e - p || static_cast<size_t>(f) > P.size() / 4) return std::nullopt;
  BSplineCurve out;
  out.degree = p;
  out.dimension = dimension;
  out.rational = rational;
  out.knots.assign(static_cast<size_t>(p), a);
  out.knots.insert(out.knots.end(), U.begin() + e + 1, U.begin() + f);
  out.knots.insert(out.knots.end(), static_cast<size_t>(p), b);
  for (int i = e - p; i <= f - 1; ++i) {
    const double* q = &P[static_cast<size_t>(i) * 4];
    const double w = q[3];
    out.points.insert(out.points.end(), {q[0] / w, q[1] / w, q[2] / w, w});
  }
  if (out.knots.size() != static_cast<size_t>(out.count() + p - 1)) return std::nullopt;
  return out;
}

AcGePoint3d BSplineSurface::evaluate(double u, double v) const {
  double nu[kMaxDegree + 1], nv[kMaxDegree + 1];
  const int fu = Basis(knots[0], degree[0], count[0], u, nu);
  const int fv = Basis(knots[1], degree[1], count[1], v, nv);
  double acc[4] = {0, 0, 0, 0};
  for (int i = 0; i <= degree[0]; ++i)
    for (int j = 0; j <= degree[1]; ++j) {
      const double* p = &points[(static_cast<size_t>(fu + i) * static_cast<size_t>(count[1]) + static_cast<size_t>(fv + j)) * 4];
      const double b = nu[i] * nv[j] * p[3];
      for (int k = 0; k < 3; ++k) acc[k] += b * p[k];
      acc[3] += b;
    }
  return Project(acc[0], acc[1], acc[2], acc[3]);
}

AcGePoint3d Surface::evaluate(double u, double v) const {
  switch (kind) {
    case SurfaceKind::Plane:
      return origin + xdir * u + ydir * v;
    case SurfaceKind::Cone: {
      // u runs along a generator (distance over the scale) from the base
      // ellipse, v round it.
      const double d = u * scale, r = xdir.length();
      const AcGeVector3d dir = xdir * std::cos(v) + ydir * std::sin(v);
      return origin + dir * (1.0 + (r > 0.0 ? d * sine / r : 0.0)) + normal * (d * cosine);
    }
    case SurfaceKind::Sphere:
      return origin + (xdir * (std::cos(u) * std::cos(v)) + ydir * (std::cos(u) * std::sin(v)) + normal * std::sin(u)) *
                          radius;
    case SurfaceKind::Torus: {
      const AcGeVector3d dir = xdir * std::cos(v) + ydir * std::sin(v);
      return origin + dir * (major + minor * std::cos(u)) + normal * (minor * std::sin(u));
    }
    case SurfaceKind::Spline:
      return spline.evaluate(u, v);
  }
  return origin;
}

AcGeVector3d Surface::normalAt(double u, double v) const {
  switch (kind) {
    case SurfaceKind::Plane:
      return normal;
    case SurfaceKind::Cone: {
      AcGeVector3d radial = xdir * std::cos(v) + ydir * std::sin(v);
      Unit(radial);
      AcGeVector3d n = radial * cosine - normal * sine;
      Unit(n);
      return n;
    }
    case SurfaceKind::Sphere: {
      AcGeVector3d n = (evaluate(u, v) - origin) * (radius < 0.0 ? -1.0 : 1.0);
      Unit(n);
      return n;
    }
    case SurfaceKind::Torus: {
      const AcGeVector3d dir = xdir * std::cos(v) + ydir * std::sin(v);
      AcGeVector3d n = (dir * std::cos(u) + normal * std::sin(u)) * (minor < 0.0 ? -1.0 : 1.0);
      Unit(n);
      return n;
    }
    case SurfaceKind::Spline: {
      // Central differences, stepping inside the domain.
      const double hu = 1e-6 * std::max(1.0, std::fabs(spline.knots[0].back() - spline.knots[0].front()));
      const double hv = 1e-6 * std::max(1.0, std::fabs(spline.knots[1].back() - spline.knots[1].front()));
      const AcGeVector3d su = spline.evaluate(u + hu, v) - spline.evaluate(u - hu, v);
      const AcGeVector3d sv = spline.evaluate(u, v + hv) - spline.evaluate(u, v - hv);
      AcGeVector3d n = su.crossProduct(sv);
      Unit(n);
      return n;
    }
  }
  return normal;
}

void Surface::project(const AcGePoint3d& p, double& u, double& v) const {
  const AcGeVector3d d = p - origin;
  switch (kind) {
    case SurfaceKind::Plane:
      u = d.dotProduct(xdir) / xdir.dotProduct(xdir);
      v = d.dotProduct(ydir) / ydir.dotProduct(ydir);
      return;
    case SurfaceKind::Cone: {
      AcGeVector3d x = xdir, y = ydir;
      Unit(x);
      Unit(y);
      const AcGeVector3d radialPart = d - normal * d.dotProduct(normal);
      v = AngleIn(radialPart, x, y);
      const AcGePoint3d base = evaluate(0.0, v);
      AcGeVector3d radial = xdir * std::cos(v) + ydir * std::sin(v);
      Unit(radial);
      const AcGeVector3d generator = radial * sine + normal * cosine;
      u = (p - base).dotProduct(generator) / scale;
      return;
    }
    case SurfaceKind::Sphere: {
      const double l = d.length();
      u = l > 0.0 ? std::asin(std::clamp(d.dotProduct(normal) / l, -1.0, 1.0)) : 0.0;
      v = AngleIn(d, xdir, ydir);
      return;
    }
    case SurfaceKind::Torus: {
      v = AngleIn(d, xdir, ydir);
      const AcGeVector3d dir = xdir * std::cos(v) + ydir * std::sin(v);
      const AcGeVector3d q = d - dir * major;
      u = std::atan2(q.dotProduct(normal), q.dotProduct(dir));
      return;
    }
    case SurfaceKind::Spline: {
      // The nearest of a grid of samples, refined by Gauss-Newton steps.
      const double u0 = spline.knots[0][static_cast<size_t>(spline.degree[0] - 1)];
      const double u1 = spline.knots[0][static_cast<size_t>(spline.count[0] - 1)];
      const double v0 = spline.knots[1][static_cast<size_t>(spline.degree[1] - 1)];
      const double v1 = spline.knots[1][static_cast<size_t>(spline.count[1] - 1)];
      constexpr int kGrid = 24;
      double best = std::numeric_limits<double>::max();
      for (int i = 0; i <= kGrid; ++i)
        for (int j = 0; j <= kGrid; ++j) {
          const double a = u0 + (u1 - u0) * i / kGrid, b = v0 + (v1 - v0) * j / kGrid;
          const double dist = spline.evaluate(a, b).distanceTo(p);
          if (dist < best) {
            best = dist;
            u = a;
            v = b;
          }
        }
      const double hu = 1e-7 * (u1 - u0), hv = 1e-7 * (v1 - v0);
      for (int it = 0; it < 50; ++it) {
        const AcGePoint3d s = spline.evaluate(u, v);
        const AcGeVector3d su = (spline.evaluate(u + hu, v) - spline.evaluate(u - hu, v)) / (2 * hu);
        const AcGeVector3d sv = (spline.evaluate(u, v + hv) - spline.evaluate(u, v - hv)) / (2 * hv);
        const AcGeVector3d r = p - s;
        const double a = su.dotProduct(su), b = su.dotProduct(sv), c = sv.dotProduct(sv);
        const double e = r.dotProduct(su), f = r.dotProduct(sv);
        const double det = a * c - b * b;
        if (!(std::fabs(det) > 0.0)) break;
        const double du = (e * c - f * b) / det, dv = (a * f - b * e) / det;
        u = std::clamp(u + du, u0, u1);
        v = std::clamp(v + dv, v0, v1);
        if (std::fabs(du) < 1e-15 * (u1 - u0) && std::fabs(dv) < 1e-15 * (v1 - v0)) break;
      }
      return;
    }
  }
}

AcGePoint3d Curve::evaluate(double t) const {
  switch (kind) {
    case CurveKind::Straight:
      return origin + direction * t;
    case CurveKind::Ellipse: {
      const AcGeVector3d minor = normal.crossProduct(major) * ratio;
      return origin + major * std::cos(t) + minor * std::sin(t);
    }
    case CurveKind::Spline:
      return spline.evaluate(t);
  }
  return origin;
}

std::vector<const Field*> DataFields(const Document& doc, const Record& record) {
  const size_t skip = doc.version >= 700 ? 3 : 1;
  std::vector<const Field*> out;
  for (size_t i = skip; i < record.fields.size(); ++i) out.push_back(&record.fields[i]);
  return out;
}

namespace {

const Record* At(const Document& doc, long index) {
  if (index < 0 || index >= static_cast<long>(doc.records.size())) return nullptr;
  return &doc.records[static_cast<size_t>(index)];
}

}  // namespace

std::optional<Surface> DecodeSurface(const Document& doc, long index, std::string& error) {
  const Record* r = At(doc, index);
  if (!r) {
    error = "no surface record";
    return std::nullopt;
  }
  Cursor c(DataFields(doc, *r));
  Surface s;
  bool ok = false;
  if (r->type == "plane-surface") {
    s.kind = SurfaceKind::Plane;
    bool forward = true;
    ok = c.point(s.origin) && c.vector(s.normal) && c.vector(s.xdir) && c.choice("forward_v", "reverse_v", forward) &&
         Unit(s.normal) && !s.xdir.isZeroLength();
    if (ok) s.ydir = s.normal.crossProduct(s.xdir) * (forward ? 1.0 : -1.0);
  } else if (r->type == "cone-surface") {
    s.kind = SurfaceKind::Cone;
    ok = c.point(s.origin) && c.vector(s.normal) && c.vector(s.xdir) && c.number(s.ratio) && c.bound() && c.bound() &&
         c.number(s.sine) && c.number(s.cosine) && Unit(s.normal) && !s.xdir.isZeroLength();
    if (ok) {
      double scale = 0;
      // The scale is there from version 5.0 on; before, u is the length itself.
      s.scale = c.number(scale) && scale > 0.0 ? scale : 1.0;
      s.ydir = s.normal.crossProduct(s.xdir) * s.ratio;
    }
  } else if (r->type == "sphere-surface") {
    s.kind = SurfaceKind::Sphere;
    bool forward = true;
    ok = c.point(s.origin) && c.number(s.radius) && c.vector(s.xdir) && c.vector(s.normal) &&
         c.choice("forward_v", "reverse_v", forward) && Unit(s.xdir) && Unit(s.normal) && s.radius != 0.0;
    if (ok) s.ydir = s.normal.crossProduct(s.xdir) * (forward ? 1.0 : -1.0);
  } else if (r->type == "torus-surface") {
    s.kind = SurfaceKind::Torus;
    bool forward = true;
    ok = c.point(s.origin) && c.vector(s.normal) && c.number(s.major) && c.number(s.minor) && c.vector(s.xdir) &&
         c.choice("forward_v", "reverse_v", forward) && Unit(s.normal) && Unit(s.xdir) && s.minor != 0.0;
    if (ok) s.ydir = s.normal.crossProduct(s.xdir) * (forward ? 1.0 : -1.0);
  } else if (r->type == "spline-surface") {
    s.kind = SurfaceKind::Spline;
    bool forward = true;
    std::string sub;
    ok = c.choice("forward", "reversed", forward) && c.expect("{") && c.word(sub) && sub == "exactsur" &&
         ReadBsSurface(c, s.spline) && c.skipPast("}");
  } else {
    error = "surfaces of type " + r->type + " are not decoded";
    return std::nullopt;
  }
  if (!ok) {
    error = "a malformed " + r->type + " record";
    return std::nullopt;
  }
  return s;
}

std::optional<Curve> DecodeCurve(const Document& doc, long index, std::string& error) {
  const Record* r = At(doc, index);
  if (!r) {
    error = "no curve record";
    return std::nullopt;
  }
  Cursor c(DataFields(doc, *r));
  Curve curve;
  bool ok = false;
  if (r->type == "straight-curve") {
    curve.kind = CurveKind::Straight;
    ok = c.point(curve.origin) && c.vector(curve.direction) && !curve.direction.isZeroLength();
  } else if (r->type == "ellipse-curve") {
    curve.kind = CurveKind::Ellipse;
    ok = c.point(curve.origin) && c.vector(curve.normal) && c.vector(curve.major) && c.number(curve.ratio) &&
         Unit(curve.normal) && !curve.major.isZeroLength();
  } else if (r->type == "intcurve-curve") {
    curve.kind = CurveKind::Spline;
    bool forward = true;
    std::string sub;
    ok = c.choice("forward", "reversed", forward) && c.expect("{") && c.word(sub) && sub == "exactcur" &&
         ReadBsCurve(c, 3, curve.spline) && c.skipPast("}");
    if (ok && !forward) {
      error = "reversed B-spline curves are not decoded";
      return std::nullopt;
    }
  } else {
    error = "curves of type " + r->type + " are not decoded";
    return std::nullopt;
  }
  if (!ok) {
    error = "a malformed " + r->type + " record";
    return std::nullopt;
  }
  return curve;
}

std::optional<BSplineCurve> DecodePcurve(const Document& doc, long index, bool& reversed, std::string& error) {
  const Record* r = At(doc, index);
  if (!r || r->type != "pcurve") {
    error = "no pcurve record";
    return std::nullopt;
  }
  Cursor c(DataFields(doc, *r));
  long kind = -1;
  bool forward = true;
  std::string sub;
  BSplineCurve out;
  if (!c.integer(kind) || kind != 0 || !c.choice("forward", "reversed", forward) || !c.expect("{") || !c.word(sub) ||
      sub != "exppc" || !ReadBsCurve(c, 2, out) || !c.skipPast("}")) {
    error = "a malformed or unsupported pcurve record";
    return std::nullopt;
  }
  reversed = !forward;
  return out;
}

}  // namespace arxhost::sat
