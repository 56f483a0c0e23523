#include "CurveChains.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace kelv::iges {

using namespace kelv::model;

namespace {

// Start or end of a curve piece as the model keeps it (B-splines from the
// conversion are clamped, so their ends are their end control points).
bool EndOf(const CurveGeometryUnion& g, bool last, gp_XYZ& p) {
  auto xyz = [](const Vec3& v) { return gp_XYZ(v.x(), v.y(), v.z()); };
  if (auto* l = g.AsLineCurve()) {
    p = xyz(last ? l->to : l->from);
    return true;
  }
  if (auto* pl = g.AsPolylineCurve()) {
    if (pl->points.empty()) return false;
    p = xyz(last ? pl->points.back() : pl->points.front());
    return true;
  }
  if (auto* a = g.AsArcCurve()) {
    double t = last ? a->angle.t1() : a->angle.t0();
    p = xyz(a->plane.origin()) +
        (xyz(a->plane.xaxis()) * std::cos(t) + xyz(a->plane.yaxis()) * std::sin(t)) * a->radius;
    return true;
  }
  if (auto* n = g.AsNurbsCurve()) {
    const int stride = n->dim + (n->is_rat ? 1 : 0);
    if (n->cv_count < 1 || n->dim < 2 || n->cv.size() < static_cast<size_t>(stride * n->cv_count)) return false;
    const size_t i = last ? static_cast<size_t>((n->cv_count - 1) * stride) : 0;
    const double w = n->is_rat ? n->cv[i + static_cast<size_t>(n->dim)] : 1.0;
    if (w == 0.0) return false;
    p = gp_XYZ(n->cv[i] / w, n->cv[i + 1] / w, n->dim > 2 ? n->cv[i + 2] / w : 0.0);
    return true;
  }
  return false;
}

// Runs a piece the other way, over the same domain.
void Reverse(CurveGeometryUnion& g) {
  if (auto* l = g.AsLineCurve()) {
    std::swap(l->from, l->to);
  } else if (auto* pl = g.AsPolylineCurve()) {
    std::reverse(pl->points.begin(), pl->points.end());
    if (!pl->params.empty()) {
      const double sum = pl->params.front() + pl->params.back();
      std::reverse(pl->params.begin(), pl->params.end());
      for (double& t : pl->params) t = sum - t;
    }
  } else if (auto* a = g.AsArcCurve()) {
    // Mirroring the plane's y axis runs the arc backwards over negated angles.
    const Vec3 &y = a->plane.yaxis(), &z = a->plane.zaxis();
    a->plane = Plane(a->plane.origin(), a->plane.xaxis(), Vec3(-y.x(), -y.y(), -y.z()), Vec3(-z.x(), -z.y(), -z.z()));
    a->angle = Interval(-a->angle.t1(), -a->angle.t0());
  } else if (auto* n = g.AsNurbsCurve()) {
    const size_t stride = static_cast<size_t>(n->dim + (n->is_rat ? 1 : 0));
    const size_t count = static_cast<size_t>(n->cv_count);
    if (count * stride > n->cv.size()) return;
    for (size_t i = 0, j = count - 1; i < j; ++i, --j)
      std::swap_ranges(n->cv.begin() + static_cast<long>(i * stride), n->cv.begin() + static_cast<long>((i + 1) * stride),
                       n->cv.begin() + static_cast<long>(j * stride));
    if (!n->knots.empty()) {
      const double sum = n->knots.front() + n->knots.back();
      std::reverse(n->knots.begin(), n->knots.end());
      for (double& k : n->knots) k = sum - k;
    }
  }
}

// Moves the start or end of a piece onto p, where the piece allows it
// (arcs keep their shape), so that joined pieces meet exactly.
bool MoveEnd(CurveGeometryUnion& g, bool last, const gp_XYZ& p) {
  const Vec3 v(p.X(), p.Y(), p.Z());
  if (auto* l = g.AsLineCurve()) {
    (last ? l->to : l->from) = v;
    return true;
  }
  if (auto* pl = g.AsPolylineCurve()) {
    if (pl->points.empty()) return false;
    (last ? pl->points.back() : pl->points.front()) = v;
    return true;
  }
  if (auto* n = g.AsNurbsCurve()) {
    const int stride = n->dim + (n->is_rat ? 1 : 0);
    if (n->cv_count < 1 || n->dim < 3 || n->cv.size() < static_cast<size_t>(stride * n->cv_count)) return false;
    const size_t i = last ? static_cast<size_t>((n->cv_count - 1) * stride) : 0;
    const double w = n->is_rat ? n->cv[i + 3] : 1.0;
    n->cv[i] = p.X() * w;
    n->cv[i + 1] = p.Y() * w;
    n->cv[i + 2] = p.Z() * w;
    return true;
  }
  return false;
}

struct Piece {
  CurveGeometryUnion g;
  gp_XYZ s, e;
  bool ends = false, used = false;
};

// Grows the chain that starts with piece 'first' at its end, then at its
// start, taking the piece listed next where it fits, else the nearest
// fitting piece (the earliest listed on a tie), turning pieces where needed.
std::deque<size_t> GrowChain(std::vector<Piece>& all, size_t first, double tol) {
  std::deque<size_t> chain{first};
  if (!all[first].ends) return chain;
  gp_XYZ head = all[first].s, tail = all[first].e;
  for (bool atTail : {true, false}) {
    for (;;) {
      const gp_XYZ& at = atTail ? tail : head;
      size_t best = all.size();
      bool flip = false;
      double bestGap = INFINITY;
      auto consider = [&](size_t i) {
        if (all[i].used || !all[i].ends) return;
        // At the tail a piece should start there; at the head end there.
        const double straight = ((atTail ? all[i].s : all[i].e) - at).Modulus();
        const double turned = ((atTail ? all[i].e : all[i].s) - at).Modulus();
        if (straight <= tol && straight < bestGap) best = i, flip = false, bestGap = straight;
        if (turned <= tol && turned < bestGap) best = i, flip = true, bestGap = turned;
      };
      // The piece listed next is the path the file means where it fits;
      // only a misfit searches the others.
      if (atTail && chain.back() + 1 < all.size()) consider(chain.back() + 1);
      if (best == all.size())
        for (size_t i = 0; i < all.size(); ++i) consider(i);
      if (best == all.size()) break;
      Piece& p = all[best];
      p.used = true;
      if (flip) {
        Reverse(p.g);
        std::swap(p.s, p.e);
      }
      if (atTail) {
        chain.push_back(best);
        tail = p.e;
      } else {
        chain.push_front(best);
        head = p.s;
      }
    }
  }
  return chain;
}

// The pieces of a chain in order, with the small gaps the tolerance allowed
// closed: this piece's start moves, or the previous piece's end when this
// one is an arc.
std::vector<CurveGeometryUnion> ClosedChain(std::vector<Piece>& all, const std::deque<size_t>& chain) {
  std::vector<CurveGeometryUnion> pieceChain;
  for (size_t i = 0; i < chain.size(); ++i) {
    Piece& p = all[chain[i]];
    if (i > 0) {
      const gp_XYZ end = all[chain[i - 1]].e;
      if (!MoveEnd(p.g, false, end)) MoveEnd(pieceChain.back(), true, p.s);
    }
    pieceChain.push_back(std::move(p.g));
  }
  return pieceChain;
}

}  // namespace

std::vector<std::vector<CurveGeometryUnion>> Chains(std::vector<CurveGeometryUnion> pieces, double tol) {
  std::vector<Piece> all(pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    all[i].g = std::move(pieces[i]);
    all[i].ends = EndOf(all[i].g, false, all[i].s) && EndOf(all[i].g, true, all[i].e);
  }
  std::vector<std::vector<CurveGeometryUnion>> chains;
  for (size_t first = 0; first < all.size(); ++first) {
    if (all[first].used) continue;
    all[first].used = true;
    chains.push_back(ClosedChain(all, GrowChain(all, first, tol)));
  }
  return chains;
}

namespace {

double ParamLength(const CurveGeometryUnion& g) {
  double len = 1.0;
  if (auto* l = g.AsLineCurve()) len = l->domain.t1() - l->domain.t0();
  else if (auto* a = g.AsArcCurve()) len = a->domain.t1() - a->domain.t0();
  return len > 0 ? len : 1.0;
}

}  // namespace

CurveGeometryUnion JoinChain(std::vector<CurveGeometryUnion> chain) {
  if (chain.size() == 1) return std::move(chain[0]);
  PolyCurveT poly;
  double t = 0.0;
  poly.params.push_back(t);
  for (auto& g : chain) {
    t += ParamLength(g);
    auto c = std::make_unique<CurveT>();
    c->geometry = std::move(g);
    poly.segments.push_back(std::move(c));
    poly.params.push_back(t);
  }
  CurveGeometryUnion out;
  out.Set(std::move(poly));
  return out;
}

}  // namespace kelv::iges
