// The model reader as the importer uses it: table records overwritten on
// every read, objects of every class with their openNURBS class names,
// look-ups by uuid, and clear refusals.
#include "Kelv3dm.h"
#include "TestSupport.h"
#include "model/ModelToNurbs.h"
#include "win32/strconv.h"

using namespace testiges;
using namespace kelv::model;

namespace {

GeometryUnion MakeAnnotation(AnnotationClass cls, int type, std::vector<Vec2> points, const std::string& text) {
  AnnotationT a;
  a.cls = cls;
  a.type = type;
  a.plane = WorldXY(V3(1, 2, 3));
  a.points = std::move(points);
  a.user_text = text;
  a.height = 2.5;
  a.style_index = 1;
  a.text_display_mode = 1;
  GeometryUnion g;
  g.Set(std::move(a));
  return g;
}

GeometryUnion Nurbs() {
  NurbsCurveT n;
  n.order = 2;
  n.cv_count = 2;
  n.cv = {0, 0, 0, 1, 1, 1};
  n.knots = {0, 1};
  CurveGeometryUnion c;
  c.Set(std::move(n));
  return MakeCurve(std::move(c));
}

GeometryUnion Poly() {
  PolyCurveT p;
  for (int i = 0; i < 2; ++i) {
    auto seg = std::make_unique<CurveT>();
    LineCurveT l;
    l.from = V3(i, 0);
    l.to = V3(i + 1, 0);
    l.domain = Interval(i, i + 1);
    seg->geometry.Set(std::move(l));
    p.segments.push_back(std::move(seg));
  }
  CurveGeometryUnion c;
  c.Set(std::move(p));
  return MakeCurve(std::move(c));
}

// One square face on a plane, with four edges, trims and a loop.
GeometryUnion SquareBrep(bool broken) {
  BrepT b;
  auto surface = std::make_unique<SurfaceT>();
  PlaneSurfaceT plane;
  plane.plane = WorldXY();
  plane.u = plane.v = plane.extents_u = plane.extents_v = Interval(0, 1);
  surface->geometry.Set(std::move(plane));
  b.surfaces.push_back(std::move(surface));
  const double xy[5][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
  for (int i = 0; i < 4; ++i) {
    auto v = std::make_unique<BrepVertexT>();
    v->point = V3(xy[i][0], xy[i][1]);
    v->edges = {i, (i + 3) % 4};
    b.vertices.push_back(std::move(v));
  }
  auto loop = std::make_unique<BrepLoopT>();
  loop->face = 0;
  loop->type = 1;
  for (int i = 0; i < 4; ++i) {
    auto c3 = std::make_unique<CurveT>();
    LineCurveT l;
    l.from = V3(xy[i][0], xy[i][1]);
    l.to = V3(xy[i + 1][0], xy[i + 1][1]);
    l.domain = Interval(0, 1);
    c3->geometry.Set(l);
    b.curves3d.push_back(std::move(c3));
    auto c2 = std::make_unique<CurveT>();
    NurbsCurveT n;
    n.dim = 2;
    n.order = 2;
    n.cv_count = 2;
    n.cv = {xy[i][0], xy[i][1], xy[i + 1][0], xy[i + 1][1]};
    n.knots = {0, 1};
    c2->geometry.Set(std::move(n));
    b.curves2d.push_back(std::move(c2));
    auto e = std::make_unique<BrepEdgeT>();
    e->curve3d = i;
    e->vertex0 = i;
    e->vertex1 = (i + 1) % 4;
    e->trims = {i};
    e->domain = Interval(0, 1);
    b.edges.push_back(std::move(e));
    auto t = std::make_unique<BrepTrimT>();
    t->curve2d = i;
    t->edge = broken && i == 3 ? 17 : i;
    t->loop = 0;
    t->type = 1;
    t->vertex0 = i;
    t->vertex1 = (i + 1) % 4;
    t->domain = Interval(0, 1);
    b.trims.push_back(std::move(t));
    loop->trims.push_back(i);
  }
  b.loops.push_back(std::move(loop));
  auto face = std::make_unique<BrepFaceT>();
  face->surface = 0;
  face->loops = {0};
  b.faces.push_back(std::move(face));
  GeometryUnion g;
  g.Set(std::move(b));
  return g;
}

std::string Utf8(const CString& s) { return arxhost::ToUtf8(s.str()); }
std::string Utf8(const wchar_t* s) { return arxhost::ToUtf8(s ? s : L""); }

}  // namespace

TEST(Kelv3dmReader, EveryClassReadsBackUnderItsOpenNurbsName) {
  TempFolder dir;
  ModelMaker m;
  m.AddLayer("0");
  m.AddLayer("Hidden", 0x00FF00, false, true);
  m.AddFont("Arial");
  m.AddFont("Courier");
  DimStyleT style;
  style.name = "S1";
  style.arrow_size = 0.2;
  style.text_alignment = 3;
  m.AddDimStyle(style);

  AttributesT member;
  member.mode = ObjectMode::InstanceDefinitionMember;
  member.layer_index = 1;
  member.color = 0x0000FF;
  member.color_source = ColorSource::Object;
  Uuid memberId = m.AddObject(MakePoint(V3(4, 5, 6)), member);
  const Uuid defId = NewUuid();
  m.AddInstanceDefinition("Block", {memberId}, defId);

  struct Expect {
    const char* className;
  };
  std::vector<std::pair<GeometryUnion, std::string>> objects;
  objects.emplace_back(MakeLine(V3(0, 0), V3(1, 1)), "ON_LineCurve");
  objects.emplace_back(MakePolyline({V3(0, 0), V3(1, 0), V3(1, 1)}), "ON_PolylineCurve");
  objects.emplace_back(MakeArc(V3(0, 0), V3(1, 0, 0), V3(0, 1, 0), 2.0, 0.0, 1.0), "ON_ArcCurve");
  objects.emplace_back(Nurbs(), "ON_NurbsCurve");
  objects.emplace_back(Poly(), "ON_PolyCurve");
  {
    PointCloudT cloud;
    cloud.points = {V3(1, 1), V3(2, 2)};
    GeometryUnion g;
    g.Set(std::move(cloud));
    objects.emplace_back(std::move(g), "ON_PointCloud");
  }
  {
    MeshT mesh;
    mesh.vertices = {V3(0, 0), V3(1, 0), V3(1, 1)};
    mesh.faces = {0, 1, 2, 2};
    GeometryUnion g;
    g.Set(std::move(mesh));
    objects.emplace_back(std::move(g), "ON_Mesh");
  }
  objects.emplace_back(SquareBrep(false), "ON_Brep");
  objects.emplace_back(MakeAnnotation(AnnotationClass::TextEntity2, 7, {Vec2(0, 0)}, "Note"), "ON_TextEntity2");
  objects.emplace_back(MakeAnnotation(AnnotationClass::Leader2, 6, {Vec2(0, 0), Vec2(1, 1)}, ""), "ON_Leader2");
  objects.emplace_back(MakeAnnotation(AnnotationClass::LinearDimension2, 1,
                                  {Vec2(0, 0), Vec2(0, 1), Vec2(3, 0), Vec2(3, 1), Vec2(1.5, 1)}, "3.00"),
                       "ON_LinearDimension2");
  objects.emplace_back(MakeAnnotation(AnnotationClass::RadialDimension2, 5, {Vec2(0, 0), Vec2(1, 0), Vec2(2, 1), Vec2(2, 1)}, "R<>"),
                       "ON_RadialDimension2");
  objects.emplace_back(MakeAnnotation(AnnotationClass::AngularDimension2, 3, {Vec2(0, 0), Vec2(1, 0), Vec2(0, 1), Vec2(1, 1)}, ""),
                       "ON_AngularDimension2");
  objects.emplace_back(MakeAnnotation(AnnotationClass::OrdinateDimension2, 8, {Vec2(0, 0), Vec2(1, 1)}, ""),
                       "ON_OrdinateDimension2");
  objects.emplace_back(MakeAnnotation(AnnotationClass::TextEntity, 7, {Vec2(0, 0)}, "Old"), "ON_TextEntity");
  objects.emplace_back(MakeAnnotation(AnnotationClass::Leader, 6, {Vec2(0, 0), Vec2(1, 1)}, ""), "ON_Leader");
  objects.emplace_back(MakeAnnotation(AnnotationClass::LinearDimension, 1, {Vec2(0, 0), Vec2(0, 1), Vec2(3, 0)}, ""),
                       "ON_LinearDimension");
  objects.emplace_back(MakeAnnotation(AnnotationClass::RadialDimension, 5, {Vec2(0, 0), Vec2(1, 0)}, ""), "ON_RadialDimension");
  objects.emplace_back(MakeAnnotation(AnnotationClass::AngularDimension, 3, {Vec2(0, 0), Vec2(1, 0), Vec2(0, 1)}, ""),
                       "ON_AngularDimension");
  {
    TextDotT dot;
    dot.point = V3(1, 2, 3);
    dot.text = "dot";
    GeometryUnion g;
    g.Set(std::move(dot));
    objects.emplace_back(std::move(g), "ON_TextDot");
    AnnotationTextDotT old;
    old.point = V3(1, 2, 3);
    old.text = "old dot";
    GeometryUnion g2;
    g2.Set(std::move(old));
    objects.emplace_back(std::move(g2), "ON_AnnotationTextDot");
    AnnotationArrowT arrow;
    arrow.tail = V3(0, 0);
    arrow.head = V3(10, 0);
    GeometryUnion g3;
    g3.Set(std::move(arrow));
    objects.emplace_back(std::move(g3), "ON_AnnotationArrow");
  }
  {
    InstanceRefT ref;
    ref.definition = defId;
    double xf[16] = {2, 0, 0, 10, 0, 2, 0, 20, 0, 0, 2, 0, 0, 0, 0, 1};
    ref.xform = Matrix(flatbuffers::span<const double, 16>(xf, 16));
    GeometryUnion g;
    g.Set(std::move(ref));
    objects.emplace_back(std::move(g), "ON_InstanceRef");
  }
  {
    PlaneSurfaceT plane;
    plane.plane = WorldXY();
    plane.u = plane.v = plane.extents_u = plane.extents_v = Interval(0, 1);
    SurfaceT s;
    s.geometry.Set(std::move(plane));
    GeometryUnion g;
    g.Set(std::move(s));
    objects.emplace_back(std::move(g), "ON_PlaneSurface");
  }
  std::vector<Uuid> ids;
  for (auto& [g, name] : objects) ids.push_back(m.AddObject(std::move(g)));
  std::string error;
  ASSERT_TRUE(m.Write(dir.File("all.k3m"), error)) << error;

  ON_3dmProperties props;
  ASSERT_EQ(Kelv3dm::ReadStart(CString(dir.File("all.k3m").c_str()), props), 1) << Utf8(Kelv3dm::GetError());
  ASSERT_EQ(Kelv3dm::ReadGetObjectTableSize(), static_cast<int>(objects.size()) + 1);
  for (size_t i = 0; i < objects.size(); ++i) {
    SCOPED_TRACE(objects[i].second);
    const ON_Object* o = Kelv3dm::ReadGetObject(static_cast<int>(i) + 1);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(Utf8(Kelv3dm::GetObjectClassName(o)), objects[i].second);
    EXPECT_EQ(Kelv3dm::ReadGetObjectIndex(ToOnUuid(&ids[i])), static_cast<int>(i) + 1);
  }
  EXPECT_EQ(Utf8(Kelv3dm::GetObjectClassName(nullptr)), "");
  EXPECT_EQ(Kelv3dm::ReadGetObject(-1), nullptr);
  EXPECT_EQ(Kelv3dm::ReadGetObject(1000), nullptr);
  EXPECT_EQ(Kelv3dm::ReadGetObjectIndex(ON_CreateUuid()), -1);

  // One layer record serves two reads: the second overwrites what it reads.
  ON_Layer layer;
  ASSERT_EQ(Kelv3dm::ReadGetLayer(1, layer), 1);
  EXPECT_EQ(Utf8(layer.LayerName()), "Hidden");
  EXPECT_FALSE(layer.IsVisible());
  EXPECT_TRUE(layer.IsLocked());
  EXPECT_EQ(static_cast<unsigned>(layer.Color()), 0x00FF00u);
  ASSERT_EQ(Kelv3dm::ReadGetLayer(0, layer), 1);
  EXPECT_EQ(Utf8(layer.LayerName()), "0");
  EXPECT_TRUE(layer.IsVisible());
  EXPECT_FALSE(layer.IsLocked());
  EXPECT_EQ(static_cast<unsigned>(layer.Color()), 0u);
  EXPECT_EQ(Kelv3dm::ReadGetLayer(2, layer), 0);

  ON_DimStyle ds;
  ASSERT_EQ(Kelv3dm::ReadGetDimStyle(0, ds), 1);
  EXPECT_EQ(Utf8(ds.Name()), "S1");
  EXPECT_EQ(ds.ArrowSize(), 0.2);
  EXPECT_EQ(ds.TextAlignment(), ON::dtInLine);
  ON_Font font;
  ASSERT_EQ(Kelv3dm::ReadGetFontTableSize(), 2);
  ASSERT_EQ(Kelv3dm::ReadGetFont(1, font), 1);
  EXPECT_EQ(Utf8(font.FontFaceName()), "Courier");
  EXPECT_EQ(Kelv3dm::ReadGetFont(5, font), 0);

  // The member: mode 3, its layer and colour; found through the definition.
  ON_InstanceDefinition def;
  ASSERT_EQ(Kelv3dm::ReadGetInstanceDefinition(ToOnUuid(&defId), def), 1);
  EXPECT_EQ(Utf8(def.Name()), "Block");
  ASSERT_EQ(def.m_object_uuid.Count(), 1);
  int memberIndex = Kelv3dm::ReadGetObjectIndex(def.m_object_uuid[0]);
  EXPECT_EQ(memberIndex, 0);
  ON_3dmObjectAttributes attributes;
  ASSERT_EQ(Kelv3dm::ReadGetObjectAttributes(memberIndex, attributes), 1);
  EXPECT_EQ(attributes.Mode(), ON::idef_object);
  EXPECT_EQ(attributes.m_layer_index, 1);
  EXPECT_EQ(attributes.ColorSource(), ON::color_from_object);
  EXPECT_EQ(static_cast<unsigned>(attributes.m_color), 0x0000FFu);
  ASSERT_EQ(Kelv3dm::ReadGetObjectAttributes(1, attributes), 1);
  EXPECT_EQ(attributes.Mode(), ON::normal_object);
  EXPECT_EQ(attributes.ColorSource(), ON::color_from_layer);
  EXPECT_EQ(Kelv3dm::ReadGetInstanceDefinition(ON_CreateUuid(), def), 0);

  // Values that the handlers read.
  auto* ref = dynamic_cast<const ON_InstanceRef*>(Kelv3dm::ReadGetObject(static_cast<int>(objects.size()) - 1));
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->m_xform.m_xform[0][3], 10.0);
  EXPECT_EQ(ON_UuidCompare(ref->m_instance_definition_uuid, ToOnUuid(&defId)), 0);
  auto* dim = dynamic_cast<const ON_LinearDimension2*>(Kelv3dm::ReadGetObject(11));
  ASSERT_NE(dim, nullptr);
  EXPECT_EQ(dim->PointCount(), 5);
  EXPECT_EQ(dim->Point(2).x, 3.0);
  EXPECT_EQ(Utf8(dim->UserText()), "3.00");
  EXPECT_EQ(dim->Index(), 1);
  EXPECT_EQ(dim->TextDisplayMode(), ON::dtHorizontal);
  EXPECT_EQ(dim->Plane().origin.z, 3.0);
  auto* brep = dynamic_cast<const ON_Brep*>(Kelv3dm::ReadGetObject(8));
  ASSERT_NE(brep, nullptr);
  EXPECT_EQ(brep->FaceCount(), 1);
  EXPECT_EQ(brep->TrimCount(), 4);
  ON_TextLog log;
  EXPECT_TRUE(brep->IsValid(&log)) << log.Text();
  EXPECT_EQ(Kelv3dm::ReadEnd(), 1);
  EXPECT_EQ(Kelv3dm::ReadGetObjectTableSize(), 0);
}

TEST(Kelv3dmReader, InconsistentObjectsAreNullAndBadFilesRefused) {
  TempFolder dir;
  ModelMaker m;
  m.AddObject(SquareBrep(true));
  m.AddObject(MakeLine(V3(0, 0), V3(1, 0)));
  NurbsCurveT n;  // knot count does not match
  n.order = 3;
  n.cv_count = 3;
  n.cv = {0, 0, 0, 1, 0, 0, 2, 0, 0};
  n.knots = {0, 1};
  CurveGeometryUnion c;
  c.Set(std::move(n));
  m.AddObject(MakeCurve(std::move(c)));
  std::string error;
  ASSERT_TRUE(m.Write(dir.File("m.k3m"), error));
  ON_3dmProperties props;
  ASSERT_EQ(Kelv3dm::ReadStart(CString(dir.File("m.k3m").c_str()), props), 1);
  EXPECT_EQ(Kelv3dm::ReadGetObject(0), nullptr);
  EXPECT_NE(Kelv3dm::ReadGetObject(1), nullptr);
  EXPECT_EQ(Kelv3dm::ReadGetObject(2), nullptr);
  Kelv3dm::ReadEnd();

  std::string missing = dir.File("nowhere.k3m");
  EXPECT_EQ(Kelv3dm::ReadStart(CString(missing.c_str()), props), 0);
  EXPECT_EQ(Utf8(Kelv3dm::GetError()), "The model file '" + missing + "' does not exist.");
  EXPECT_EQ(Kelv3dm::ReadGetLayerTableSize(), 0);
  EXPECT_EQ(Kelv3dm::ReadGetObject(0), nullptr);
}
