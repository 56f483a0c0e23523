// Mapping B-rep topology onto SAT records.
//
// Orientation: SAT runs every loop counter-clockwise about the face's
// outward normal (the face lies to the left of its coedges), and gives each
// face a sense against its surface. openNURBS B-reps do not all agree on
// which normal their loops follow, so each face's outer loop is measured in
// the parameter plane and the face's loops are reversed where needed; a
// reversed loop runs its coedges the other way (order and sense).
#include "acis/BrepToSat.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "acis/SatGeometry.h"

namespace kelv::acis {

namespace {

// Twice the signed area that a loop's 2D curves enclose (counter-clockwise
// positive), from points along each trim.
double LoopArea(const ON_Brep& brep, const ON_BrepLoop& loop) {
  constexpr int kSteps = 32;
  std::vector<ON_3dPoint> pts;
  for (int ti : loop.m_ti) {
    const ON_BrepTrim& trim = brep.m_T[ti];
    const ON_Curve* c = trim.TrimCurveOf();
    if (!c) continue;
    const ON_Interval d = trim.Domain();
    for (int k = 0; k < kSteps; ++k) pts.push_back(c->PointAt(d.ParameterAt(static_cast<double>(k) / kSteps)));
  }
  double area = 0.0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const ON_3dPoint& p = pts[i];
    const ON_3dPoint& q = pts[(i + 1) % pts.size()];
    area += p.x * q.y - q.x * p.y;
  }
  return area;
}

struct FacePlan {
  std::vector<int> loops;  // SAT loop record per written loop
  std::vector<std::vector<int>> trims;  // ON trims of each written loop, in SAT order
  bool reverseLoops = false;
};

}  // namespace

bool BrepToSat(const ON_Brep& brep, SatDocument& doc, std::string& reason) {
  const int body = doc.Add("body"), lump = doc.Add("lump"), shell = doc.Add("shell");
  const int nf = brep.FaceCount(), ne = brep.EdgeCount(), nv = brep.VertexCount(), nt = brep.TrimCount();

  // Pass 1: every topology record, so that pointers can be written in any order.
  std::vector<FacePlan> plans(static_cast<size_t>(nf));
  std::vector<int> faceRec(static_cast<size_t>(nf)), edgeRec(static_cast<size_t>(ne), -1),
      vertexRec(static_cast<size_t>(nv)), pointRec(static_cast<size_t>(nv)), coedgeRec(static_cast<size_t>(nt), -1);
  for (int f = 0; f < nf; ++f) faceRec[static_cast<size_t>(f)] = doc.Add("face");
  for (int f = 0; f < nf; ++f) {
    const ON_BrepFace& face = brep.m_F[f];
    FacePlan& plan = plans[static_cast<size_t>(f)];
    if (face.m_li.Count() > 0) {
      const bool ccw = LoopArea(brep, brep.m_L[face.m_li[0]]) > 0.0;
      plan.reverseLoops = ccw == face.m_bRev;
    }
    for (int li : face.m_li) {
      std::vector<int> trims;
      for (int ti : brep.m_L[li].m_ti)
        if (brep.m_T[ti].m_ei >= 0) trims.push_back(ti);  // a pole trim has no SAT coedge
      if (trims.empty()) continue;
      if (plan.reverseLoops) std::reverse(trims.begin(), trims.end());
      plan.loops.push_back(doc.Add("loop"));
      plan.trims.push_back(std::move(trims));
    }
  }
  for (const FacePlan& plan : plans)
    for (const auto& trims : plan.trims)
      for (int ti : trims) coedgeRec[static_cast<size_t>(ti)] = doc.Add("coedge");
  for (int e = 0; e < ne; ++e) edgeRec[static_cast<size_t>(e)] = doc.Add("edge");
  for (int v = 0; v < nv; ++v) vertexRec[static_cast<size_t>(v)] = doc.Add("vertex");
  for (int v = 0; v < nv; ++v) pointRec[static_cast<size_t>(v)] = doc.Add("point");

  const bool solid = brep.IsSolid();
  doc[body].fields.insert(doc[body].fields.end(), {Pointer(lump), "$-1", "$-1"});
  doc[lump].fields.insert(doc[lump].fields.end(), {"$-1", Pointer(shell), Pointer(body)});
  doc[shell].fields.insert(doc[shell].fields.end(),
                           {"$-1", "$-1", Pointer(nf > 0 ? faceRec[0] : -1), "$-1", Pointer(lump)});

  // Pass 2: faces with their surfaces, loops and coedges.
  for (int f = 0; f < nf; ++f) {
    const ON_BrepFace& face = brep.m_F[f];
    const FacePlan& plan = plans[static_cast<size_t>(f)];
    const ON_Surface* s = face.SurfaceOf();
    if (!s) {
      reason = "face " + std::to_string(f) + " has no surface";
      return false;
    }
    const double u = s->Domain(0).Mid(), v = s->Domain(1).Mid();
    ON_3dVector normal = s->NormalAt(u, v);
    if (face.m_bRev) normal = -normal;
    MappedSurface surface;
    if (!AddSurface(doc, *s, s->PointAt(u, v), normal, surface, reason)) {
      reason = "face " + std::to_string(f) + ": " + reason;
      return false;
    }
    auto& ff = doc[faceRec[static_cast<size_t>(f)]].fields;
    ff.push_back(Pointer(f + 1 < nf ? faceRec[static_cast<size_t>(f + 1)] : -1));
    ff.push_back(Pointer(plan.loops.empty() ? -1 : plan.loops.front()));
    ff.push_back(Pointer(shell));
    ff.push_back("$-1");
    ff.push_back(Pointer(surface.record));
    ff.push_back(surface.reversed ? "reversed" : "forward");
    if (solid) {
      ff.push_back("single");
    } else {
      ff.push_back("double");
      ff.push_back("out");
    }

    for (size_t l = 0; l < plan.loops.size(); ++l) {
      const std::vector<int>& trims = plan.trims[l];
      auto& lf = doc[plan.loops[l]].fields;
      lf.push_back(Pointer(l + 1 < plan.loops.size() ? plan.loops[l + 1] : -1));
      lf.push_back(Pointer(coedgeRec[static_cast<size_t>(trims.front())]));
      lf.push_back(Pointer(faceRec[static_cast<size_t>(f)]));
      const size_t n = trims.size();
      for (size_t k = 0; k < n; ++k) {
        const ON_BrepTrim& trim = brep.m_T[trims[k]];
        const ON_BrepEdge& edge = brep.m_E[trim.m_ei];
        // Partners: the coedges of the edge in a ring, in trim order.
        int partner = -1;
        const int count = edge.m_ti.Count();
        for (int i = 0; i < count && count > 1; ++i)
          if (edge.m_ti[i] == trim.m_trim_index) {
            partner = coedgeRec[static_cast<size_t>(edge.m_ti[(i + 1) % count])];
            break;
          }
        int pcurve = -1;
        if (surface.takesPcurves) {
          const ON_Curve* c2 = trim.TrimCurveOf();
          if (!c2 || (pcurve = AddPcurve(doc, *c2, trim.Domain(), plan.reverseLoops, reason)) < 0) {
            reason = "trim " + std::to_string(trim.m_trim_index) + ": " + (c2 ? reason : "it has no 2D curve");
            return false;
          }
        }
        auto& cf = doc[coedgeRec[static_cast<size_t>(trims[k])]].fields;
        cf.push_back(Pointer(coedgeRec[static_cast<size_t>(trims[(k + 1) % n])]));
        cf.push_back(Pointer(coedgeRec[static_cast<size_t>(trims[(k + n - 1) % n])]));
        cf.push_back(Pointer(partner));
        cf.push_back(Pointer(edgeRec[static_cast<size_t>(trim.m_ei)]));
        cf.push_back(trim.m_bRev3d != plan.reverseLoops ? "reversed" : "forward");
        cf.push_back(Pointer(plan.loops[l]));
        cf.push_back(Pointer(pcurve));
      }
    }
  }

  // Edges run the way their curves run, from their first vertex to their second.
  for (int e = 0; e < ne; ++e) {
    const ON_BrepEdge& edge = brep.m_E[e];
    const ON_Curve* c = edge.EdgeCurveOf();
    if (!c) {
      reason = "edge " + std::to_string(e) + " has no curve";
      return false;
    }
    MappedCurve curve;
    if (!AddCurve(doc, *c, edge.Domain(), curve, reason)) {
      reason = "edge " + std::to_string(e) + ": " + reason;
      return false;
    }
    int firstCoedge = -1;
    for (int ti : edge.m_ti)
      if (coedgeRec[static_cast<size_t>(ti)] >= 0) {
        firstCoedge = coedgeRec[static_cast<size_t>(ti)];
        break;
      }
    auto& ef = doc[edgeRec[static_cast<size_t>(e)]].fields;
    ef.push_back(Pointer(vertexRec[static_cast<size_t>(edge.m_vi[0])]));
    ef.push_back(Number(curve.t0));
    ef.push_back(Pointer(vertexRec[static_cast<size_t>(edge.m_vi[1])]));
    ef.push_back(Number(curve.t1));
    ef.push_back(Pointer(firstCoedge));
    ef.push_back(Pointer(curve.record));
    ef.push_back("forward");
    ef.push_back(Counted("unknown"));
  }

  for (int v = 0; v < nv; ++v) {
    const ON_BrepVertex& vertex = brep.m_V[v];
    int edge = -1;
    for (int ei : vertex.m_ei)
      if (ei >= 0 && ei < ne) {
        edge = edgeRec[static_cast<size_t>(ei)];
        break;
      }
    const ON_3dPoint& p = vertex.Point();
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
      reason = "vertex " + std::to_string(v) + " is not at a finite point";
      return false;
    }
    doc[vertexRec[static_cast<size_t>(v)]].fields.insert(doc[vertexRec[static_cast<size_t>(v)]].fields.end(),
                                                         {Pointer(edge), Pointer(pointRec[static_cast<size_t>(v)])});
    doc[pointRec[static_cast<size_t>(v)]].fields.insert(doc[pointRec[static_cast<size_t>(v)]].fields.end(),
                                                        {Number(p.x), Number(p.y), Number(p.z)});
  }
  return true;
}

}  // namespace kelv::acis
