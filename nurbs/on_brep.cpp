#include "on_brep.h"

#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_BrepVertex, ON_Point)
ON_OBJECT_IMPLEMENT(ON_BrepEdge, ON_Object)
ON_OBJECT_IMPLEMENT(ON_BrepTrim, ON_Object)
ON_OBJECT_IMPLEMENT(ON_BrepLoop, ON_Object)
ON_OBJECT_IMPLEMENT(ON_BrepFace, ON_Object)
ON_OBJECT_IMPLEMENT(ON_Brep, ON_Geometry)

namespace {
template <class T>
T* Item(ON_Brep* brep, ON_ObjectArray<T> ON_Brep::*array, int i) {
  if (!brep) return nullptr;
  auto& a = brep->*array;
  return (i >= 0 && i < a.Count()) ? &a[i] : nullptr;
}
}  // namespace

const ON_Curve* ON_BrepEdge::EdgeCurveOf() const {
  return (m_brep && m_c3i >= 0 && m_c3i < m_brep->m_C3.Count()) ? m_brep->m_C3[m_c3i] : nullptr;
}

ON_Interval ON_BrepEdge::Domain() const {
  if (m_domain.IsIncreasing()) return m_domain;
  const ON_Curve* c = EdgeCurveOf();
  return c ? c->Domain() : ON_Interval();
}

ON_BrepVertex* ON_BrepEdge::Vertex(int i) const { return Item(m_brep, &ON_Brep::m_V, m_vi[i ? 1 : 0]); }

ON_BrepTrim* ON_BrepEdge::Trim(int i) const {
  return (i >= 0 && i < m_ti.Count()) ? Item(m_brep, &ON_Brep::m_T, m_ti[i]) : nullptr;
}

ON_3dPoint ON_BrepEdge::PointAtStart() const {
  const ON_Curve* c = EdgeCurveOf();
  return c ? c->PointAt(Domain()[0]) : ON_UNSET_POINT;
}

ON_3dPoint ON_BrepEdge::PointAtEnd() const {
  const ON_Curve* c = EdgeCurveOf();
  return c ? c->PointAt(Domain()[1]) : ON_UNSET_POINT;
}

const ON_Curve* ON_BrepTrim::TrimCurveOf() const {
  return (m_brep && m_c2i >= 0 && m_c2i < m_brep->m_C2.Count()) ? m_brep->m_C2[m_c2i] : nullptr;
}

ON_Interval ON_BrepTrim::Domain() const {
  if (m_domain.IsIncreasing()) return m_domain;
  const ON_Curve* c = TrimCurveOf();
  return c ? c->Domain() : ON_Interval();
}

ON_BrepEdge* ON_BrepTrim::Edge() const { return Item(m_brep, &ON_Brep::m_E, m_ei); }
ON_BrepLoop* ON_BrepTrim::Loop() const { return Item(m_brep, &ON_Brep::m_L, m_li); }
ON_BrepFace* ON_BrepTrim::Face() const {
  const ON_BrepLoop* l = Loop();
  return l ? l->Face() : nullptr;
}
ON_BrepVertex* ON_BrepTrim::Vertex(int i) const { return Item(m_brep, &ON_Brep::m_V, m_vi[i ? 1 : 0]); }

ON_BrepTrim* ON_BrepLoop::Trim(int i) const {
  return (i >= 0 && i < m_ti.Count()) ? Item(m_brep, &ON_Brep::m_T, m_ti[i]) : nullptr;
}
ON_BrepFace* ON_BrepLoop::Face() const { return Item(m_brep, &ON_Brep::m_F, m_fi); }

const ON_Surface* ON_BrepFace::SurfaceOf() const {
  return (m_brep && m_si >= 0 && m_si < m_brep->m_S.Count()) ? m_brep->m_S[m_si] : nullptr;
}
ON_BrepLoop* ON_BrepFace::Loop(int i) const {
  return (i >= 0 && i < m_li.Count()) ? Item(m_brep, &ON_Brep::m_L, m_li[i]) : nullptr;
}
ON_BrepLoop* ON_BrepFace::OuterLoop() const {
  for (int i = 0; i < m_li.Count(); ++i) {
    ON_BrepLoop* l = Loop(i);
    if (l && l->m_type == ON_BrepLoop::outer) return l;
  }
  return nullptr;
}

ON_Brep::ON_Brep(const ON_Brep& src)
    : ON_Geometry(src), m_C2(src.m_C2), m_C3(src.m_C3), m_S(src.m_S), m_V(src.m_V), m_E(src.m_E),
      m_T(src.m_T), m_L(src.m_L), m_F(src.m_F) {
  SetBackPointers();
}

ON_Brep& ON_Brep::operator=(const ON_Brep& src) {
  if (this != &src) {
    ON_Geometry::operator=(src);
    m_C2 = src.m_C2;
    m_C3 = src.m_C3;
    m_S = src.m_S;
    m_V = src.m_V;
    m_E = src.m_E;
    m_T = src.m_T;
    m_L = src.m_L;
    m_F = src.m_F;
    SetBackPointers();
  }
  return *this;
}

void ON_Brep::SetBackPointers() {
  for (auto& e : m_E) e.m_brep = this;
  for (auto& t : m_T) t.m_brep = this;
  for (auto& l : m_L) l.m_brep = this;
  for (auto& f : m_F) f.m_brep = this;
}

void ON_Brep::Destroy() {
  m_C2.Destroy();
  m_C3.Destroy();
  m_S.Destroy();
  m_V.Destroy();
  m_E.Destroy();
  m_T.Destroy();
  m_L.Destroy();
  m_F.Destroy();
}

int ON_Brep::AddSurface(ON_Surface* s) {
  if (!s) return -1;
  m_S.Append(s);
  return m_S.Count() - 1;
}

int ON_Brep::AddEdgeCurve(ON_Curve* c) {
  if (!c) return -1;
  m_C3.Append(c);
  return m_C3.Count() - 1;
}

int ON_Brep::AddTrimCurve(ON_Curve* c) {
  if (!c) return -1;
  m_C2.Append(c);
  return m_C2.Count() - 1;
}

ON_BrepVertex& ON_Brep::NewVertex(const ON_3dPoint& p, double tolerance) {
  ON_BrepVertex& v = m_V.AppendNew();
  v.m_vertex_index = m_V.Count() - 1;
  v.point = p;
  v.m_tolerance = tolerance;
  return v;
}

ON_BrepEdge& ON_Brep::NewEdge(ON_BrepVertex& v0, ON_BrepVertex& v1, int c3i,
                              const ON_Interval* subdomain, double tolerance) {
  // Vertices are referred to by index: the edge array may move, the vertex
  // array does not change here.
  const int i0 = v0.m_vertex_index, i1 = v1.m_vertex_index;
  ON_BrepEdge& e = m_E.AppendNew();
  e.m_edge_index = m_E.Count() - 1;
  e.m_c3i = c3i;
  e.m_vi[0] = i0;
  e.m_vi[1] = i1;
  e.m_tolerance = tolerance;
  if (subdomain) e.m_domain = *subdomain;
  e.m_brep = this;
  if (i0 >= 0 && i0 < m_V.Count()) m_V[i0].m_ei.Append(e.m_edge_index);
  if (i1 >= 0 && i1 < m_V.Count() && i1 != i0) m_V[i1].m_ei.Append(e.m_edge_index);
  return e;
}

ON_BrepFace& ON_Brep::NewFace(int si) {
  ON_BrepFace& f = m_F.AppendNew();
  f.m_face_index = m_F.Count() - 1;
  f.m_si = si;
  f.m_brep = this;
  return f;
}

ON_BrepLoop& ON_Brep::NewLoop(ON_BrepLoop::TYPE type, ON_BrepFace& face) {
  const int fi = face.m_face_index;
  ON_BrepLoop& l = m_L.AppendNew();
  l.m_loop_index = m_L.Count() - 1;
  l.m_type = type;
  l.m_fi = fi;
  l.m_brep = this;
  if (fi >= 0 && fi < m_F.Count()) m_F[fi].m_li.Append(l.m_loop_index);
  return l;
}

ON_BrepTrim& ON_Brep::NewTrim(ON_BrepEdge& edge, bool rev3d, ON_BrepLoop& loop, int c2i) {
  const int ei = edge.m_edge_index, li = loop.m_loop_index;
  ON_BrepTrim& t = m_T.AppendNew();
  t.m_trim_index = m_T.Count() - 1;
  t.m_c2i = c2i;
  t.m_ei = ei;
  t.m_bRev3d = rev3d;
  t.m_li = li;
  t.m_brep = this;
  if (ei >= 0 && ei < m_E.Count()) {
    ON_BrepEdge& e = m_E[ei];
    t.m_vi[0] = e.m_vi[rev3d ? 1 : 0];
    t.m_vi[1] = e.m_vi[rev3d ? 0 : 1];
    e.m_ti.Append(t.m_trim_index);
    t.m_type = e.m_ti.Count() > 1 ? ON_BrepTrim::mated : ON_BrepTrim::boundary;
    if (e.m_ti.Count() == 2) m_T[e.m_ti[0]].m_type = ON_BrepTrim::mated;
  }
  if (li >= 0 && li < m_L.Count()) m_L[li].m_ti.Append(t.m_trim_index);
  return t;
}

ON_BrepTrim& ON_Brep::NewSingularTrim(const ON_BrepVertex& vertex, ON_BrepLoop& loop,
                                      ON_Surface::ISO iso, int c2i) {
  const int vi = vertex.m_vertex_index, li = loop.m_loop_index;
  ON_BrepTrim& t = m_T.AppendNew();
  t.m_trim_index = m_T.Count() - 1;
  t.m_c2i = c2i;
  t.m_ei = -1;
  t.m_vi[0] = t.m_vi[1] = vi;
  t.m_type = ON_BrepTrim::singular;
  t.m_iso = iso;
  t.m_li = li;
  t.m_brep = this;
  if (li >= 0 && li < m_L.Count()) m_L[li].m_ti.Append(t.m_trim_index);
  return t;
}

bool ON_Brep::IsSolid() const {
  if (m_E.Count() == 0) return false;
  for (const auto& e : m_E) {
    if (e.m_ti.Count() != 2) return false;
  }
  return true;
}

bool ON_Brep::IsValid(ON_TextLog* log) const {
  auto fail = [log](const char* what, int i) {
    if (log) log->Print("ON_Brep: %s %d is not valid.\n", what, i);
    return false;
  };
  if (m_F.Count() == 0) return fail("face count", 0);
  for (int i = 0; i < m_V.Count(); ++i)
    if (m_V[i].m_vertex_index != i) return fail("vertex", i);
  for (int i = 0; i < m_E.Count(); ++i) {
    const ON_BrepEdge& e = m_E[i];
    if (e.m_edge_index != i || e.m_c3i < 0 || e.m_c3i >= m_C3.Count() || !m_C3[e.m_c3i])
      return fail("edge", i);
    for (int v : e.m_vi)
      if (v < 0 || v >= m_V.Count()) return fail("edge", i);
    for (int t : e.m_ti)
      if (t < 0 || t >= m_T.Count() || m_T[t].m_ei != i) return fail("edge", i);
  }
  for (int i = 0; i < m_T.Count(); ++i) {
    const ON_BrepTrim& t = m_T[i];
    if (t.m_trim_index != i || t.m_li < 0 || t.m_li >= m_L.Count()) return fail("trim", i);
    if (t.m_c2i >= m_C2.Count() || (t.m_c2i >= 0 && !m_C2[t.m_c2i])) return fail("trim", i);
    if (t.m_type != ON_BrepTrim::singular && (t.m_ei < 0 || t.m_ei >= m_E.Count())) return fail("trim", i);
  }
  for (int i = 0; i < m_L.Count(); ++i) {
    const ON_BrepLoop& l = m_L[i];
    if (l.m_loop_index != i || l.m_fi < 0 || l.m_fi >= m_F.Count() || l.m_ti.Count() == 0)
      return fail("loop", i);
    for (int t : l.m_ti)
      if (t < 0 || t >= m_T.Count() || m_T[t].m_li != i) return fail("loop", i);
  }
  for (int i = 0; i < m_F.Count(); ++i) {
    const ON_BrepFace& f = m_F[i];
    // A face is bounded by at least its outer loop.
    if (f.m_face_index != i || f.m_si < 0 || f.m_si >= m_S.Count() || !m_S[f.m_si] || f.m_li.Count() == 0)
      return fail("face", i);
    for (int l : f.m_li)
      if (l < 0 || l >= m_L.Count() || m_L[l].m_fi != i) return fail("face", i);
  }
  return true;
}

bool ON_Brep::GetBBox(double* box_min, double* box_max, bool grow) const {
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  for (const auto& v : m_V) b.Set(v.point, true);
  for (const ON_Curve* c : m_C3)
    if (c) b.Union(c->BoundingBox());
  if (!b.IsValid())
    for (const ON_Surface* s : m_S)
      if (s) b.Union(s->BoundingBox());
  if (!b.IsValid()) return false;
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}

bool ON_Brep::Transform(const ON_Xform& xform) {
  bool ok = true;
  for (ON_Curve* c : m_C3)
    if (c && !c->Transform(xform)) ok = false;
  for (ON_Surface* s : m_S)
    if (s && !s->Transform(xform)) ok = false;
  for (auto& v : m_V) v.point = xform * v.point;
  return ok;
}
