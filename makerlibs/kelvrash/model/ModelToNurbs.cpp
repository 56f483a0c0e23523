#include "ModelToNurbs.h"

#include <cmath>
#include <cstring>

#include "win32/strconv.h"

namespace kelv::model {

namespace {

constexpr int kMaxDepth = 16;

ON_3dPoint P(const Vec3* v) { return v ? ON_3dPoint(v->x(), v->y(), v->z()) : ON_3dPoint(0, 0, 0); }
ON_3dVector V(const Vec3& v) { return ON_3dVector(v.x(), v.y(), v.z()); }

bool Finite(double v) { return std::isfinite(v); }
bool Finite(const Vec3* v) { return !v || (Finite(v->x()) && Finite(v->y()) && Finite(v->z())); }

ON_Interval I(const Interval* i, double t0, double t1) {
  if (i && Finite(i->t0()) && Finite(i->t1()) && i->t0() != i->t1()) return ON_Interval(i->t0(), i->t1());
  return ON_Interval(t0, t1);
}

bool ToPlane(const Plane* p, ON_Plane& out) {
  if (!p) return false;
  if (!Finite(&p->origin()) || !Finite(&p->xaxis()) || !Finite(&p->yaxis())) return false;
  ON_Plane plane;
  if (!plane.CreateFromFrame(P(&p->origin()), V(p->xaxis()), V(p->yaxis()))) return false;
  out = plane;
  return true;
}

std::unique_ptr<ON_NurbsCurve> ToNurbs(const NurbsCurve* n) {
  if (!n || !n->cv() || !n->knots()) return nullptr;
  const int dim = n->dim(), order = n->order(), count = n->cv_count();
  const bool rat = n->is_rat();
  if (dim < 1 || dim > 3 || order < 2 || order > 64 || count < order || count > 10'000'000) return nullptr;
  const size_t stride = static_cast<size_t>(dim + (rat ? 1 : 0));
  if (n->cv()->size() != stride * static_cast<size_t>(count)) return nullptr;
  if (n->knots()->size() != static_cast<size_t>(order + count - 2)) return nullptr;
  auto curve = std::make_unique<ON_NurbsCurve>();
  if (!curve->Create(dim, rat, order, count)) return nullptr;
  for (int i = 0; i < count; ++i) {
    double* cv = curve->CV(i);
    for (size_t k = 0; k < stride; ++k) {
      double v = n->cv()->Get(static_cast<flatbuffers::uoffset_t>(static_cast<size_t>(i) * stride + k));
      if (!Finite(v)) return nullptr;
      cv[k] = v;
    }
  }
  double last = -INFINITY;
  for (int i = 0; i < order + count - 2; ++i) {
    double k = n->knots()->Get(static_cast<flatbuffers::uoffset_t>(i));
    if (!Finite(k) || k < last) return nullptr;
    last = k;
    curve->SetKnot(i, k);
  }
  return curve;
}

std::unique_ptr<ON_Curve> CurveOf(const Curve* c, int depth);

std::unique_ptr<ON_Curve> CurveGeometryOf(CurveGeometry type, const void* g, int depth) {
  switch (type) {
    case CurveGeometry::LineCurve: {
      auto* l = static_cast<const LineCurve*>(g);
      if (!Finite(l->from()) || !Finite(l->to())) return nullptr;
      auto out = std::make_unique<ON_LineCurve>();
      out->m_line = ON_Line(P(l->from()), P(l->to()));
      out->m_t = I(l->domain(), 0.0, 1.0);
      return out;
    }
    case CurveGeometry::PolylineCurve: {
      auto* pl = static_cast<const PolylineCurve*>(g);
      if (!pl->points() || pl->points()->size() < 2) return nullptr;
      auto out = std::make_unique<ON_PolylineCurve>();
      const auto* params = pl->params();
      bool useParams = params && params->size() == pl->points()->size();
      double last = -INFINITY;
      for (flatbuffers::uoffset_t i = 0; i < pl->points()->size(); ++i) {
        const Vec3* v = pl->points()->Get(i);
        if (!Finite(v)) return nullptr;
        out->m_pline.Append(P(v));
        double t = useParams ? params->Get(i) : static_cast<double>(i);
        if (!Finite(t) || t <= last) {
          useParams = false;
          t = static_cast<double>(i);
        }
        last = t;
      }
      for (flatbuffers::uoffset_t i = 0; i < pl->points()->size(); ++i)
        out->m_t.Append(useParams ? params->Get(i) : static_cast<double>(i));
      return out;
    }
    case CurveGeometry::ArcCurve: {
      auto* a = static_cast<const ArcCurve*>(g);
      ON_Plane plane;
      if (!ToPlane(a->plane(), plane) || !(a->radius() > 0) || !Finite(a->radius())) return nullptr;
      ON_Interval angle = I(a->angle(), 0.0, 2.0 * ON_PI);
      if (!(angle.Length() > 0) || angle.Length() > 2.0 * ON_PI + 1e-9) return nullptr;
      auto out = std::make_unique<ON_ArcCurve>();
      out->m_arc.plane = plane;
      out->m_arc.radius = a->radius();
      out->m_arc.m_angle = angle;
      out->m_t = I(a->domain(), angle.Min(), angle.Max());
      return out;
    }
    case CurveGeometry::NurbsCurve:
      return ToNurbs(static_cast<const NurbsCurve*>(g));
    case CurveGeometry::PolyCurve: {
      auto* p = static_cast<const PolyCurve*>(g);
      if (!p->segments() || p->segments()->size() == 0 || depth >= kMaxDepth) return nullptr;
      auto out = std::make_unique<ON_PolyCurve>();
      for (const Curve* s : *p->segments()) {
        std::unique_ptr<ON_Curve> seg = CurveOf(s, depth + 1);
        if (!seg) return nullptr;
        out->Append(seg.release());
      }
      return out;
    }
    default:
      return nullptr;
  }
}

std::unique_ptr<ON_Curve> CurveOf(const Curve* c, int depth) {
  if (!c || !c->geometry()) return nullptr;
  return CurveGeometryOf(c->geometry_type(), c->geometry(), depth);
}

std::unique_ptr<ON_Surface> SurfaceOf(const Surface* s) {
  if (!s || !s->geometry()) return nullptr;
  switch (s->geometry_type()) {
    case SurfaceGeometry::PlaneSurface: {
      auto* p = s->geometry_as_PlaneSurface();
      auto out = std::make_unique<ON_PlaneSurface>();
      if (!ToPlane(p->plane(), out->m_plane)) return nullptr;
      out->m_domain[0] = I(p->u(), 0, 1);
      out->m_domain[1] = I(p->v(), 0, 1);
      out->m_extents[0] = I(p->extents_u(), out->m_domain[0].Min(), out->m_domain[0].Max());
      out->m_extents[1] = I(p->extents_v(), out->m_domain[1].Min(), out->m_domain[1].Max());
      return out;
    }
    case SurfaceGeometry::NurbsSurface: {
      auto* n = s->geometry_as_NurbsSurface();
      if (!n->cv() || !n->knots_u() || !n->knots_v()) return nullptr;
      const int dim = n->dim(), o0 = n->order_u(), o1 = n->order_v(), c0 = n->cv_count_u(), c1 = n->cv_count_v();
      const bool rat = n->is_rat();
      if (dim < 1 || dim > 3 || o0 < 2 || o1 < 2 || o0 > 64 || o1 > 64 || c0 < o0 || c1 < o1) return nullptr;
      if (static_cast<int64_t>(c0) * c1 > 10'000'000) return nullptr;
      const size_t stride = static_cast<size_t>(dim + (rat ? 1 : 0));
      if (n->cv()->size() != stride * static_cast<size_t>(c0) * static_cast<size_t>(c1)) return nullptr;
      if (n->knots_u()->size() != static_cast<size_t>(o0 + c0 - 2) ||
          n->knots_v()->size() != static_cast<size_t>(o1 + c1 - 2))
        return nullptr;
      auto out = std::make_unique<ON_NurbsSurface>();
      if (!out->Create(dim, rat, o0, o1, c0, c1)) return nullptr;
      for (int i = 0; i < c0; ++i)
        for (int j = 0; j < c1; ++j) {
          double* cv = out->CV(i, j);
          for (size_t k = 0; k < stride; ++k) {
            double v = n->cv()->Get(static_cast<flatbuffers::uoffset_t>(
                (static_cast<size_t>(i) * static_cast<size_t>(c1) + static_cast<size_t>(j)) * stride + k));
            if (!Finite(v)) return nullptr;
            cv[k] = v;
          }
        }
      for (int dir = 0; dir < 2; ++dir) {
        const auto* knots = dir ? n->knots_v() : n->knots_u();
        double last = -INFINITY;
        for (flatbuffers::uoffset_t i = 0; i < knots->size(); ++i) {
          double k = knots->Get(i);
          if (!Finite(k) || k < last) return nullptr;
          last = k;
          out->SetKnot(dir, static_cast<int>(i), k);
        }
      }
      return out;
    }
    case SurfaceGeometry::RevSurface: {
      auto* r = s->geometry_as_RevSurface();
      std::unique_ptr<ON_Curve> profile = CurveOf(r->profile(), 0);
      if (!profile || !Finite(r->axis_from()) || !Finite(r->axis_to())) return nullptr;
      ON_Line axis(P(r->axis_from()), P(r->axis_to()));
      if (!(axis.Length() > 0)) return nullptr;
      auto out = std::make_unique<ON_RevSurface>();
      out->m_curve = profile.release();
      out->m_axis = axis;
      out->m_angle = I(r->angle(), 0, 2 * ON_PI);
      out->m_t = I(r->t(), out->m_angle.Min(), out->m_angle.Max());
      out->m_bTransposed = r->transposed();
      return out;
    }
    default:
      return nullptr;
  }
}

template <class Vector>
bool InRange(int index, const Vector* v) {
  return v && index >= 0 && static_cast<flatbuffers::uoffset_t>(index) < v->size();
}

std::unique_ptr<ON_Brep> BrepOf(const Brep* b) {
  auto brep = std::make_unique<ON_Brep>();
  auto count = [](auto* v) { return v ? static_cast<int>(v->size()) : 0; };
  if (b->curves2d())
    for (const Curve* c : *b->curves2d()) {
      auto curve = CurveOf(c, 0);
      if (!curve) return nullptr;
      brep->m_C2.Append(curve.release());
    }
  if (b->curves3d())
    for (const Curve* c : *b->curves3d()) {
      auto curve = CurveOf(c, 0);
      if (!curve) return nullptr;
      brep->m_C3.Append(curve.release());
    }
  if (b->surfaces())
    for (const Surface* s : *b->surfaces()) {
      auto surface = SurfaceOf(s);
      if (!surface) return nullptr;
      brep->m_S.Append(surface.release());
    }
  const int nv = count(b->vertices()), ne = count(b->edges()), nt = count(b->trims()), nl = count(b->loops()),
            nf = count(b->faces());
  auto ok = [](int i, int n, bool allowNone = false) { return (allowNone && i == -1) || (i >= 0 && i < n); };
  auto ints = [&](const flatbuffers::Vector<int32_t>* v, int n, ON_SimpleArray<int>& out) {
    if (!v) return true;
    for (int32_t i : *v) {
      if (!ok(i, n)) return false;
      out.Append(i);
    }
    return true;
  };
  for (int i = 0; i < nv; ++i) {
    const BrepVertex* v = b->vertices()->Get(static_cast<flatbuffers::uoffset_t>(i));
    if (!Finite(v->point())) return nullptr;
    ON_BrepVertex& bv = brep->NewVertex(P(v->point()), v->tolerance());
    if (!ints(v->edges(), ne, bv.m_ei)) return nullptr;
  }
  for (int i = 0; i < ne; ++i) {
    const BrepEdge* e = b->edges()->Get(static_cast<flatbuffers::uoffset_t>(i));
    if (!ok(e->curve3d(), brep->m_C3.Count()) || !ok(e->vertex0(), nv) || !ok(e->vertex1(), nv)) return nullptr;
    ON_BrepEdge& be = brep->m_E.AppendNew();
    be.m_edge_index = i;
    be.m_c3i = e->curve3d();
    be.m_vi[0] = e->vertex0();
    be.m_vi[1] = e->vertex1();
    be.m_tolerance = e->tolerance();
    be.m_domain = I(e->domain(), 0, 1);
    be.m_brep = brep.get();
    if (!ints(e->trims(), nt, be.m_ti)) return nullptr;
  }
  for (int i = 0; i < nt; ++i) {
    const BrepTrim* t = b->trims()->Get(static_cast<flatbuffers::uoffset_t>(i));
    if (!ok(t->curve2d(), brep->m_C2.Count()) || !ok(t->edge(), ne, true) || !ok(t->loop(), nl) ||
        !ok(t->vertex0(), nv, true) || !ok(t->vertex1(), nv, true) || t->type() < 0 || t->type() > 7 || t->iso() < 0 ||
        t->iso() > 6)
      return nullptr;
    ON_BrepTrim& bt = brep->m_T.AppendNew();
    bt.m_trim_index = i;
    bt.m_c2i = t->curve2d();
    bt.m_ei = t->edge();
    bt.m_vi[0] = t->vertex0();
    bt.m_vi[1] = t->vertex1();
    bt.m_bRev3d = t->rev3d();
    bt.m_type = static_cast<ON_BrepTrim::TYPE>(t->type());
    bt.m_iso = static_cast<ON_Surface::ISO>(t->iso());
    bt.m_li = t->loop();
    bt.m_tolerance[0] = t->tolerance_u();
    bt.m_tolerance[1] = t->tolerance_v();
    bt.m_domain = I(t->domain(), 0, 1);
    bt.m_brep = brep.get();
  }
  for (int i = 0; i < nl; ++i) {
    const BrepLoop* l = b->loops()->Get(static_cast<flatbuffers::uoffset_t>(i));
    if (!ok(l->face(), nf) || l->type() < 0 || l->type() > 5) return nullptr;
    ON_BrepLoop& bl = brep->m_L.AppendNew();
    bl.m_loop_index = i;
    bl.m_type = static_cast<ON_BrepLoop::TYPE>(l->type());
    bl.m_fi = l->face();
    bl.m_brep = brep.get();
    if (!ints(l->trims(), nt, bl.m_ti)) return nullptr;
  }
  for (int i = 0; i < nf; ++i) {
    const BrepFace* f = b->faces()->Get(static_cast<flatbuffers::uoffset_t>(i));
    if (!ok(f->surface(), brep->m_S.Count())) return nullptr;
    ON_BrepFace& bf = brep->m_F.AppendNew();
    bf.m_face_index = i;
    bf.m_si = f->surface();
    bf.m_bRev = f->rev();
    bf.m_brep = brep.get();
    if (!ints(f->loops(), nl, bf.m_li)) return nullptr;
  }
  return brep;
}

std::unique_ptr<ON_Annotation2> NewAnnotation2(AnnotationClass cls) {
  switch (cls) {
    case AnnotationClass::TextEntity2: return std::make_unique<ON_TextEntity2>();
    case AnnotationClass::Leader2: return std::make_unique<ON_Leader2>();
    case AnnotationClass::LinearDimension2: return std::make_unique<ON_LinearDimension2>();
    case AnnotationClass::RadialDimension2: return std::make_unique<ON_RadialDimension2>();
    case AnnotationClass::AngularDimension2: return std::make_unique<ON_AngularDimension2>();
    case AnnotationClass::OrdinateDimension2: return std::make_unique<ON_OrdinateDimension2>();
    default: return nullptr;
  }
}

std::unique_ptr<ON_Annotation> NewAnnotation1(AnnotationClass cls) {
  switch (cls) {
    case AnnotationClass::TextEntity: return std::make_unique<ON_TextEntity>();
    case AnnotationClass::Leader: return std::make_unique<ON_Leader>();
    case AnnotationClass::LinearDimension: return std::make_unique<ON_LinearDimension>();
    case AnnotationClass::RadialDimension: return std::make_unique<ON_RadialDimension>();
    case AnnotationClass::AngularDimension: return std::make_unique<ON_AngularDimension>();
    default: return nullptr;
  }
}

std::unique_ptr<ON_Object> AnnotationOf(const Annotation* a) {
  ON_Plane plane;
  if (!ToPlane(a->plane(), plane)) return nullptr;
  ON_SimpleArray<ON_2dPoint> points;
  if (a->points())
    for (const Vec2* p : *a->points()) {
      if (!Finite(p->x()) || !Finite(p->y())) return nullptr;
      points.Append(ON_2dPoint(p->x(), p->y()));
    }
  const int type = a->type();
  if (type < 0 || type > 8) return nullptr;
  if (auto two = NewAnnotation2(a->cls())) {
    two->m_type = static_cast<ON::eAnnotationType>(type);
    two->SetPlane(plane);
    two->SetPoints(points);
    two->SetUserText(ToOnString(a->user_text()));
    two->m_userpositionedtext = a->user_positioned_text();
    two->SetHeight(Finite(a->height()) ? a->height() : 1.0);
    two->SetIndex(a->style_index());
    two->SetTextDisplayMode(ON::TextDisplayMode(a->text_display_mode()));
    two->SetJustification(static_cast<unsigned>(a->justification()));
    if (auto* ord = dynamic_cast<ON_OrdinateDimension2*>(two.get())) {
      ord->m_direction = a->direction();
      ord->m_kink_offset_0 = a->kink_offset_0();
      ord->m_kink_offset_1 = a->kink_offset_1();
    }
    return two;
  }
  if (auto one = NewAnnotation1(a->cls())) {
    one->m_type = static_cast<ON::eAnnotationType>(type);
    one->SetPlane(plane);
    one->SetPoints(points);
    one->SetUserText(ToOnString(a->user_text()));
    one->m_userpositionedtext = a->user_positioned_text();
    if (auto* text = dynamic_cast<ON_TextEntity*>(one.get())) {
      text->SetFaceName(ToOnString(a->face_name()));
      text->SetFontWeight(a->font_weight());
      text->SetHeight(Finite(a->height()) ? a->height() : 1.0);
    }
    return one;
  }
  return nullptr;
}

}  // namespace

ON_UUID ToOnUuid(const Uuid* id) {
  ON_UUID out = ON_nil_uuid;
  if (id) {
    const uint8_t* b = id->bytes()->Data();
    out.Data1 = static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 | static_cast<uint32_t>(b[2]) << 8 | b[3];
    out.Data2 = static_cast<uint16_t>(b[4] << 8 | b[5]);
    out.Data3 = static_cast<uint16_t>(b[6] << 8 | b[7]);
    std::memcpy(out.Data4, b + 8, 8);
  }
  return out;
}

Uuid FromOnUuid(const ON_UUID& id) {
  uint8_t b[16] = {static_cast<uint8_t>(id.Data1 >> 24), static_cast<uint8_t>(id.Data1 >> 16),
                   static_cast<uint8_t>(id.Data1 >> 8),  static_cast<uint8_t>(id.Data1),
                   static_cast<uint8_t>(id.Data2 >> 8),  static_cast<uint8_t>(id.Data2),
                   static_cast<uint8_t>(id.Data3 >> 8),  static_cast<uint8_t>(id.Data3)};
  std::memcpy(b + 8, id.Data4, 8);
  return Uuid(flatbuffers::span<const uint8_t, 16>(b, 16));
}

ON_wString ToOnString(const flatbuffers::String* text) {
  if (!text) return ON_wString();
  std::wstring wide = arxhost::FromUtf8(std::string_view(text->c_str(), text->size()));
  return ON_wString(wide.c_str());
}

std::unique_ptr<ON_Curve> ToNurbsCurve(const Curve* curve) { return CurveOf(curve, 0); }
std::unique_ptr<ON_Surface> ToNurbsSurface(const Surface* surface) { return SurfaceOf(surface); }

std::unique_ptr<ON_Object> ToNurbsObject(const Object& object) {
  if (!object.geometry()) return nullptr;
  switch (object.geometry_type()) {
    case Geometry::Point: {
      const Point* p = object.geometry_as_Point();
      if (!Finite(p->point())) return nullptr;
      return std::make_unique<ON_Point>(P(p->point()));
    }
    case Geometry::PointCloud: {
      auto cloud = std::make_unique<ON_PointCloud>();
      if (auto* pts = object.geometry_as_PointCloud()->points())
        for (const Vec3* v : *pts) {
          if (!Finite(v)) return nullptr;
          cloud->m_P.Append(P(v));
        }
      return cloud;
    }
    case Geometry::Curve:
      return CurveOf(object.geometry_as_Curve(), 0);
    case Geometry::Surface:
      return SurfaceOf(object.geometry_as_Surface());
    case Geometry::Brep:
      return BrepOf(object.geometry_as_Brep());
    case Geometry::Mesh: {
      const Mesh* m = object.geometry_as_Mesh();
      auto mesh = std::make_unique<ON_Mesh>();
      const int nv = m->vertices() ? static_cast<int>(m->vertices()->size()) : 0;
      if (m->vertices())
        for (const Vec3* v : *m->vertices()) {
          if (!Finite(v)) return nullptr;
          mesh->m_V.Append(ON_3fPoint(static_cast<float>(v->x()), static_cast<float>(v->y()), static_cast<float>(v->z())));
        }
      if (m->faces()) {
        if (m->faces()->size() % 4 != 0) return nullptr;
        for (flatbuffers::uoffset_t i = 0; i < m->faces()->size(); i += 4) {
          ON_MeshFace f;
          for (int k = 0; k < 4; ++k) {
            int vi = m->faces()->Get(i + static_cast<flatbuffers::uoffset_t>(k));
            if (vi < 0 || vi >= nv) return nullptr;
            f.vi[k] = vi;
          }
          mesh->m_F.Append(f);
        }
      }
      if (m->normals() && static_cast<int>(m->normals()->size()) == nv)
        for (const Vec3* n : *m->normals())
          mesh->m_N.Append(ON_3fVector(static_cast<float>(n->x()), static_cast<float>(n->y()), static_cast<float>(n->z())));
      return mesh;
    }
    case Geometry::Annotation:
      return AnnotationOf(object.geometry_as_Annotation());
    case Geometry::TextDot: {
      auto* t = object.geometry_as_TextDot();
      if (!Finite(t->point())) return nullptr;
      auto dot = std::make_unique<ON_TextDot>();
      dot->SetPoint(P(t->point()));
      dot->SetTextString(ToOnString(t->text()));
      return dot;
    }
    case Geometry::AnnotationTextDot: {
      auto* t = object.geometry_as_AnnotationTextDot();
      if (!Finite(t->point())) return nullptr;
      auto dot = std::make_unique<ON_AnnotationTextDot>();
      dot->point = P(t->point());
      dot->m_text = ToOnString(t->text());
      return dot;
    }
    case Geometry::AnnotationArrow: {
      auto* a = object.geometry_as_AnnotationArrow();
      if (!Finite(a->tail()) || !Finite(a->head())) return nullptr;
      auto arrow = std::make_unique<ON_AnnotationArrow>();
      arrow->m_tail = P(a->tail());
      arrow->m_head = P(a->head());
      return arrow;
    }
    case Geometry::InstanceRef: {
      auto* r = object.geometry_as_InstanceRef();
      auto ref = std::make_unique<ON_InstanceRef>();
      ref->m_instance_definition_uuid = ToOnUuid(r->definition());
      if (r->xform()) {
        const auto* m = r->xform()->m();
        double values[16];
        for (int i = 0; i < 16; ++i) {
          values[i] = m->Get(static_cast<flatbuffers::uoffset_t>(i));
          if (!Finite(values[i])) return nullptr;
        }
        ref->m_xform = ON_Xform(values);
      }
      return ref;
    }
    default:
      return nullptr;
  }
}

}  // namespace kelv::model
