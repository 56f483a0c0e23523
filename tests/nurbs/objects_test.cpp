// Run-time class names, casts and deep copies of the object classes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "opennurbs.h"

namespace {

TEST(Objects, EachClassReportsItsOpenNurbsNameAndDuplicatesAsItself) {
  std::unique_ptr<ON_Object> objects[] = {
      std::make_unique<ON_Point>(1, 2, 3),
      std::make_unique<ON_PointCloud>(),
      std::make_unique<ON_LineCurve>(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0)),
      std::make_unique<ON_PolylineCurve>(),
      std::make_unique<ON_ArcCurve>(ON_Circle(ON_3dPoint(0, 0, 0), 2.0)),
      std::make_unique<ON_NurbsCurve>(3, false, 2, 2),
      std::make_unique<ON_PolyCurve>(),
      std::make_unique<ON_Brep>(),
      std::make_unique<ON_Mesh>(),
      std::make_unique<ON_TextEntity>(),
      std::make_unique<ON_Leader>(),
      std::make_unique<ON_RadialDimension>(),
      std::make_unique<ON_LinearDimension>(),
      std::make_unique<ON_AngularDimension>(),
      std::make_unique<ON_TextEntity2>(),
      std::make_unique<ON_Leader2>(),
      std::make_unique<ON_RadialDimension2>(),
      std::make_unique<ON_LinearDimension2>(),
      std::make_unique<ON_AngularDimension2>(),
      std::make_unique<ON_OrdinateDimension2>(),
      std::make_unique<ON_TextDot>(),
      std::make_unique<ON_AnnotationTextDot>(),
      std::make_unique<ON_AnnotationArrow>(),
      std::make_unique<ON_InstanceRef>(),
      std::make_unique<ON_InstanceDefinition>(),
      std::make_unique<ON_NurbsSurface>(),
      std::make_unique<ON_PlaneSurface>(),
      std::make_unique<ON_RevSurface>(),
      std::make_unique<ON_Layer>(),
      std::make_unique<ON_DimStyle>(),
      std::make_unique<ON_Font>(),
      std::make_unique<ON_3dmObjectAttributes>(),
  };
  const char* names[] = {"ON_Point", "ON_PointCloud", "ON_LineCurve", "ON_PolylineCurve",
                         "ON_ArcCurve", "ON_NurbsCurve", "ON_PolyCurve", "ON_Brep", "ON_Mesh",
                         "ON_TextEntity", "ON_Leader", "ON_RadialDimension", "ON_LinearDimension",
                         "ON_AngularDimension", "ON_TextEntity2", "ON_Leader2",
                         "ON_RadialDimension2", "ON_LinearDimension2", "ON_AngularDimension2",
                         "ON_OrdinateDimension2", "ON_TextDot", "ON_AnnotationTextDot",
                         "ON_AnnotationArrow", "ON_InstanceRef", "ON_InstanceDefinition",
                         "ON_NurbsSurface", "ON_PlaneSurface", "ON_RevSurface", "ON_Layer",
                         "ON_DimStyle", "ON_Font", "ON_3dmObjectAttributes"};
  static_assert(std::size(names) == std::size(objects));
  for (size_t i = 0; i < std::size(names); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_STREQ(objects[i]->ClassId()->ClassName(), names[i]);
    EXPECT_STREQ(ON_ObjectClassName(objects[i].get()), names[i]);
    std::unique_ptr<ON_Object> copy(objects[i]->Duplicate());
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->ClassId()->ClassName(), names[i]);
  }
  EXPECT_STREQ(ON_ObjectClassName(nullptr), "");
}

TEST(Objects, KindAndCastFollowTheHierarchyOnly) {
  ON_LineCurve line(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0));
  const ON_Object* o = &line;
  EXPECT_TRUE(o->IsKindOf(ON_CLASS_RTTI(ON_Curve)));
  EXPECT_TRUE(o->IsKindOf(ON_CLASS_RTTI(ON_Geometry)));
  EXPECT_FALSE(o->IsKindOf(ON_CLASS_RTTI(ON_NurbsCurve)));
  EXPECT_EQ(ON_Curve::Cast(o), &line);
  EXPECT_EQ(ON_NurbsCurve::Cast(o), nullptr);
  ON_TextEntity2 text;
  EXPECT_EQ(ON_TextEntity::Cast(&text), nullptr);  // the generations are unrelated
  EXPECT_STREQ(ON_CLASS_RTTI(ON_TextEntity2)->BaseClassName(), "ON_Annotation2");
}

TEST(Objects, PolyCurveCopiesAreDeep) {
  ON_PolyCurve pc;
  ASSERT_TRUE(pc.Append(new ON_LineCurve(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0))));
  EXPECT_FALSE(pc.Append(nullptr));
  // A segment without a domain is refused and disposed of (the sanitizer
  // build would report a leak otherwise).
  auto* broken = new ON_LineCurve(ON_Line(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0)), 2.0, 2.0);
  EXPECT_FALSE(pc.Append(broken));
  EXPECT_EQ(pc.Count(), 1);
  ON_PolyCurve copy(pc);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_NE(copy.SegmentCurve(0), pc.SegmentCurve(0));
  static_cast<ON_LineCurve*>(copy.SegmentCurve(0))->m_line.to = ON_3dPoint(5, 0, 0);
  EXPECT_EQ(pc.PointAtEnd(), ON_3dPoint(1, 0, 0));
  std::unique_ptr<ON_PolyCurve> dup(pc.Duplicate());
  EXPECT_EQ(dup->PointAtEnd(), ON_3dPoint(1, 0, 0));
  EXPECT_EQ(pc.SegmentCurve(1), nullptr);
}

TEST(Tables, RecordsStartWithTheOpenNurbsDefaults) {
  const ON_Font font;
  EXPECT_STREQ(font.FontFaceName(), L"Arial");
  const ON_Layer layer;
  EXPECT_STREQ(layer.LayerName(), L"");
  EXPECT_TRUE(layer.IsVisible());
  EXPECT_FALSE(layer.IsLocked());
  ON_3dmObjectAttributes attributes;
  EXPECT_EQ(attributes.Mode(), ON::normal_object);
  EXPECT_EQ(attributes.ColorSource(), ON::color_from_layer);
  attributes.SetMode(ON::idef_object);
  EXPECT_EQ(static_cast<int>(attributes.Mode()), 3);

  const ON_3dmAnnotationSettings& s = ON_AnnotationSettings();
  EXPECT_EQ(s.m_arrowlength, 1.0);
  EXPECT_EQ(s.m_textheight, 1.0);
  EXPECT_EQ(s.m_dimexe, 1.0);
  EXPECT_EQ(s.m_dimexo, 1.0);
  EXPECT_EQ(s.m_dimscale, 1.0);
  EXPECT_EQ(s.m_centermark, 1.0);
  EXPECT_EQ(s.m_resolution, 0);
  EXPECT_EQ(s.m_textalign, 0);
}

TEST(Annotations, MissingDefinitionPointsReadAsOriginAndTheEcsMapsToThePlane) {
  ON_LinearDimension2 dim;
  dim.m_plane = ON_Plane(ON_3dPoint(10, 20, 30), ON_3dVector(0, 1, 0), ON_3dVector(0, 0, 1));
  dim.SetPoint(1, ON_2dPoint(2, 3));
  EXPECT_EQ(dim.PointCount(), 2);
  EXPECT_EQ(dim.Point(0), ON_2dPoint(0, 0));
  EXPECT_EQ(dim.Point(1), ON_2dPoint(2, 3));
  EXPECT_EQ(dim.Point(4), ON_2dPoint(0, 0));
  EXPECT_EQ(dim.Point(-1), ON_2dPoint(0, 0));
  ON_Xform ecs;
  ASSERT_TRUE(dim.GetECStoWCSXform(ecs));
  const ON_3dPoint w = ecs * ON_3dPoint(dim.Point(1));
  EXPECT_NEAR(w.x, 10.0, 1e-12);
  EXPECT_NEAR(w.y, 22.0, 1e-12);
  EXPECT_NEAR(w.z, 33.0, 1e-12);

  ON_TextEntity2 text;
  text.SetFontIndex(4);
  EXPECT_EQ(text.FontIndex(), 4);
  EXPECT_EQ(text.Index(), 4);

  ON_AnnotationArrow arrow;
  arrow.m_tail = ON_3dPoint(0, 0, 0);
  arrow.m_head = ON_3dPoint(10, 0, 0);
  EXPECT_EQ(arrow.Vector(), ON_3dVector(10, 0, 0));
}

}  // namespace

namespace {

TEST(Annotations, TextDotLocationAnswersToBothNamesAndSurvivesCopies) {
  ON_AnnotationTextDot dot;
  dot.m_point = ON_3dPoint(1, 2, 3);
  EXPECT_EQ(dot.point, ON_3dPoint(1, 2, 3));
  dot.m_text = L"A";
  ON_AnnotationTextDot copy(dot);
  copy.m_point.x = 9;
  EXPECT_EQ(copy.point, ON_3dPoint(9, 2, 3));
  EXPECT_EQ(dot.point, ON_3dPoint(1, 2, 3));
  ON_AnnotationTextDot assigned;
  assigned = dot;
  EXPECT_EQ(assigned.m_point, ON_3dPoint(1, 2, 3));
  EXPECT_STREQ(assigned.TextString(), L"A");
  std::unique_ptr<ON_AnnotationTextDot> dup(dot.Duplicate());
  dup->point.y = 7;
  EXPECT_EQ(dup->m_point, ON_3dPoint(1, 7, 3));
  EXPECT_TRUE(dot.IsKindOf(ON_CLASS_RTTI(ON_Point)));
}

}  // namespace
