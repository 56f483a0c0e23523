// Notes, labels, leaders and dimensions as second-generation annotations,
// with definition points where the model importer reads them, fonts in the
// font table and one dimension style per set of settings.
#include <cmath>

#include "TestSupport.h"

using namespace testiges;
using namespace kelv::model;

namespace {

const double kHalfPi = 1.5707963267948966;
constexpr EntityOptions kPart{.subordinate = 1, .use = 1};

std::vector<std::string> NoteString(const std::string& text, double h, int font, double angle, double x, double y) {
  return {std::to_string(text.size()), "1.", R(h), std::to_string(font), R(kHalfPi), R(angle), "0", "0", R(x), R(y), "0.", H(text)};
}

std::vector<std::string> Note(const std::vector<std::vector<std::string>>& strings) {
  std::vector<std::string> p = {std::to_string(strings.size())};
  for (auto& s : strings) p.insert(p.end(), s.begin(), s.end());
  return p;
}

void ExpectPoint(const Vec2& p, double x, double y) {
  EXPECT_NEAR(p.x(), x, 1e-9);
  EXPECT_NEAR(p.y(), y, 1e-9);
}

std::vector<const AnnotationT*> Annotations(const ModelT& m) {
  std::vector<const AnnotationT*> out;
  for (auto& o : m.objects)
    if (auto* a = o->geometry.AsAnnotation()) out.push_back(a);
  return out;
}

}  // namespace

TEST(IgesAnnotations, NotesKeepEveryStringWithPositionHeightRotationAndFont) {
  IgesBuilder b;
  int font = b.Add(310, {"1001", H("Gothic"), "0", "8", "1", "65", "8", "0", "1", "0", "4", "8"});
  int move = b.Add(124, {"1.", "0.", "0.", "10.", "0.", "1.", "0.", "0.", "0.", "0.", "1.", "0."});
  b.Add(212, Note({NoteString("HELLO", 0.2, 1, kHalfPi, 1, 2), NoteString("WORLD", 0.3, -font, 0, 1, 1)}),
        {.level = 3, .transform = move});
  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  auto texts = Annotations(c.model());
  ASSERT_EQ(texts.size(), 2u);
  ASSERT_EQ(c.model().fonts.size(), 2u);
  EXPECT_EQ(c.model().fonts[0]->face_name, "Standard");
  EXPECT_EQ(c.model().fonts[1]->face_name, "Gothic");

  const AnnotationT& hello = *texts[0];
  EXPECT_EQ(hello.cls, AnnotationClass::TextEntity2);
  EXPECT_EQ(hello.user_text, "HELLO");
  EXPECT_NEAR(hello.height, 0.2, 1e-12);
  EXPECT_NEAR(hello.plane.origin().x(), 11, 1e-12);
  EXPECT_NEAR(hello.plane.origin().y(), 2, 1e-12);
  EXPECT_NEAR(hello.plane.xaxis().x(), 0, 1e-9);  // turned a quarter
  EXPECT_NEAR(hello.plane.xaxis().y(), 1, 1e-9);
  ASSERT_EQ(hello.points.size(), 1u);
  ExpectPoint(hello.points[0], 0, 0);
  // The importer finds a text's font at (count - index - 1).
  EXPECT_EQ(hello.style_index, 1);
  EXPECT_EQ(texts[1]->style_index, 0);
  EXPECT_EQ(texts[1]->user_text, "WORLD");
  EXPECT_NEAR(texts[1]->plane.xaxis().x(), 1, 1e-12);
  EXPECT_EQ(c.model().layers[static_cast<size_t>(c.model().objects[0]->attributes->layer_index)]->name, "3");
}

TEST(IgesAnnotations, DimensionsLeadersAndLabelsPlaceTheirDefinitionPoints) {
  IgesBuilder b;
  auto note = [&](const std::string& text, double h, double x, double y, double angle = 0) {
    return b.Add(212, Note({NoteString(text, h, 1, angle, x, y)}), kPart);
  };
  auto leader = [&](std::vector<std::pair<double, double>> pts, double aw = 0.2) {
    return b.Add(214, Leader(0.05, aw, pts), {.form = 1, .subordinate = 1, .use = 1});
  };
  auto witness = [&](std::vector<std::pair<double, double>> pts) {
    return b.Add(106, Witness(pts), {.form = 40, .subordinate = 1, .use = 1});
  };
  // Horizontal linear dimension from (0, 0) to (4, 0), dimension line at y = 2.
  int n1 = note("4.00", 0.15, 1.8, 2.05), l1 = leader({{0, 2}, {1.5, 2}}), l2 = leader({{4, 2}, {2.5, 2}});
  int w1 = witness({{0, 0}, {0, 0.1}, {0, 2.2}}), w2 = witness({{4, 0}, {4, 0.1}, {4, 2.2}});
  b.Add(216, {S(n1), S(l1), S(l2), S(w1), S(w2)}, {.use = 1});
  // Vertical one, text horizontal: its plane's x axis runs up.
  int n2 = note("3.00", 0.15, 7.2, 1.5), l3 = leader({{7, 0}, {7, 1}}), l4 = leader({{7, 3}, {7, 2}});
  int w3 = witness({{5, 0}, {5.1, 0}, {7.2, 0}}), w4 = witness({{5, 3}, {5.1, 3}, {7.2, 3}});
  b.Add(216, {S(n2), S(l3), S(l4), S(w3), S(w4)}, {.use = 1});
  // Radius and diameter dimensions of a circle at (10, 10).
  int n3 = note("R2.00", 0.15, 14.2, 11), l5 = leader({{12, 10}, {14, 11}});
  b.Add(222, {S(n3), S(l5), "10.", "10."}, {.use = 1});
  int n4 = note("4.00", 0.25, 14.2, 9), l6 = leader({{8, 10}, {6, 9}});
  b.Add(206, {S(n4), S(l6), "0", "10.", "10."}, {.use = 1});
  // Angle of 90 degrees at the origin, radius 3.
  int n5 = note("90", 0.15, 2.2, 2.2), l7 = leader({{3, 0}, {2.5, 1.5}}), l8 = leader({{0, 3}, {1.5, 2.5}});
  b.Add(202, {S(n5), "0", "0", "0.", "0.", "3.", S(l7), S(l8)}, {.use = 1});
  // A label with one leader, on level 5 in green; a free leader.
  int n6 = note("HOLE", 0.15, 20, 5), l9 = leader({{18, 3}, {19.8, 5}});
  b.Add(210, {S(n6), "1", S(l9)}, {.level = 5, .color = 3, .use = 1});
  b.Add(214, Leader(0.05, 0.3, {{30, 0}, {31, 1}, {33, 1}}), {.form = 1, .use = 1});
  // Ordinate and point dimensions.
  int n7 = note("12.5", 0.15, 12.5, -2), w5 = witness({{12.5, 0}, {12.5, -0.1}, {12.5, -1.8}}),
      l10 = leader({{12.5, -1.8}, {12.5, -1.9}});
  b.Add(218, {S(n7), S(w5), S(l10)}, {.form = 1, .use = 1});
  int n8 = note("A", 0.15, 41, 1), l11 = leader({{40, 0}, {41, 1}});
  int circle = b.Add(100, {"0.", "40.", "0.", "40.5", "0.", "40.5", "0."}, kPart);
  b.Add(220, {S(n8), S(l11), S(circle)}, {.use = 1});

  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  for (auto [type, count] : c.result.skipped) ADD_FAILURE() << "skipped " << count << " of type " << type;
  auto a = Annotations(c.model());
  ASSERT_EQ(a.size(), 11u);

  const AnnotationT& h = *a[0];
  EXPECT_EQ(h.cls, AnnotationClass::LinearDimension2);
  EXPECT_EQ(h.user_text, "4.00");
  ASSERT_EQ(h.points.size(), 5u);
  ExpectPoint(h.points[0], 0, -2);  // first witness line's foot
  ExpectPoint(h.points[2], 4, -2);  // second witness line's foot
  ExpectPoint(h.points[1], 0, 0);   // the first arrowhead, on the dimension line
  ExpectPoint(h.points[4], 2.3, 0.125);  // the middle of the note's box (1 by 0.15 from (1.8, 2.05))
  EXPECT_TRUE(h.user_positioned_text);
  EXPECT_EQ(h.text_display_mode, 1);
  // A horizontal note on a vertical dimension keeps its text horizontal, at
  // the note's place.
  const AnnotationT& v = *a[1];
  EXPECT_NEAR(v.plane.xaxis().y(), 1, 1e-12);
  ExpectPoint(v.points[0], 0, 2);
  ExpectPoint(v.points[2], 3, 2);
  ExpectPoint(v.points[4], 1.575, -0.7);  // (7.7, 1.575) seen from (7, 0) with x up
  EXPECT_TRUE(v.user_positioned_text);
  EXPECT_EQ(v.text_display_mode, 1);
  EXPECT_EQ(h.style_index, v.style_index);  // same height, arrow and font

  const AnnotationT& r = *a[2];
  EXPECT_EQ(r.cls, AnnotationClass::RadialDimension2);
  EXPECT_EQ(r.type, 5);
  EXPECT_EQ(r.user_text, "R2.00");
  ExpectPoint(r.points[0], 10, 10);
  ExpectPoint(r.points[1], 12, 10);
  ExpectPoint(r.points[2], 14.7, 11.075);
  ExpectPoint(r.points[3], 14, 11);
  // A horizontal note on a slanted leader: horizontal text, not along it.
  EXPECT_EQ(r.text_display_mode, 1);
  const AnnotationT& d = *a[3];
  EXPECT_EQ(d.cls, AnnotationClass::RadialDimension2);
  EXPECT_EQ(d.type, 4);
  EXPECT_NE(d.style_index, r.style_index);  // another text height

  const AnnotationT& ang = *a[4];
  EXPECT_EQ(ang.cls, AnnotationClass::AngularDimension2);
  ExpectPoint(ang.points[0], 0, 0);
  ExpectPoint(ang.points[1], 3, 0);
  ExpectPoint(ang.points[2], 0, 3);
  EXPECT_NEAR(ang.points[3].x(), 3 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(ang.points[3].y(), 3 / std::sqrt(2.0), 1e-9);
  ASSERT_EQ(ang.points.size(), 5u);
  ExpectPoint(ang.points[4], 2.7, 2.275);  // the note's middle
  EXPECT_TRUE(ang.user_positioned_text);

  EXPECT_EQ(a[5]->cls, AnnotationClass::TextEntity2);
  EXPECT_EQ(a[5]->user_text, "HOLE");
  EXPECT_EQ(a[6]->cls, AnnotationClass::Leader2);
  ASSERT_EQ(a[6]->points.size(), 2u);
  ExpectPoint(a[6]->points[0], 18, 3);  // arrowhead first
  for (int i : {5, 6}) {
    const AttributesT& attr = *c.model().objects[static_cast<size_t>(i)]->attributes;
    EXPECT_EQ(c.model().layers[static_cast<size_t>(attr.layer_index)]->name, "5");
    EXPECT_EQ(attr.color, 0x00FF00u);
  }
  EXPECT_EQ(a[7]->cls, AnnotationClass::Leader2);
  ASSERT_EQ(a[7]->points.size(), 3u);
  ExpectPoint(a[7]->points[2], 33, 1);
  EXPECT_EQ(a[8]->cls, AnnotationClass::OrdinateDimension2);
  EXPECT_EQ(a[8]->user_text, "12.5");
  ExpectPoint(a[8]->points[0], 12.5, 0);
  EXPECT_EQ(a[9]->user_text, "A");
  EXPECT_EQ(a[10]->cls, AnnotationClass::Leader2);

  // Leaders and dimensions name styles that exist.
  for (const AnnotationT* x : a)
    if (x->cls != AnnotationClass::TextEntity2) {
      EXPECT_GE(x->style_index, 0);
      EXPECT_LT(x->style_index, static_cast<int>(c.model().dim_styles.size()));
    }
  EXPECT_NEAR(c.model().dim_styles[static_cast<size_t>(h.style_index)]->text_height, 0.15, 1e-12);
  EXPECT_NEAR(c.model().dim_styles[static_cast<size_t>(h.style_index)]->arrow_size, 0.2, 1e-12);
}

TEST(IgesAnnotations, LeadersHaveArrowheadsExceptInTheFormWithout) {
  // Forms 1 (wedge), 3 (filled triangle), 4 (no arrowhead) and 5 (circle),
  // alone and as a label's leader.
  IgesBuilder b;
  struct Case {
    int form;
    bool arrowhead;
  } cases[] = {{1, true}, {3, true}, {4, false}, {5, true}};
  for (const Case& k : cases) b.Add(214, Leader(0.1, 0.1, {{0, 0}, {1, 1}}), {.form = k.form});
  int note = b.Add(212, Note({NoteString("X", 0.1, 1, 0, 1, 1)}), kPart);
  int bare = b.Add(214, Leader(0.1, 0.1, {{0, 0}, {1, 1}}), {.form = 4, .subordinate = 1, .use = 1});
  b.Add(210, {S(note), "1", S(bare)});
  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  std::vector<bool> arrowheads;
  for (const AnnotationT* a : Annotations(c.model()))
    if (a->cls == AnnotationClass::Leader2)
      arrowheads.push_back(c.model().dim_styles.at(static_cast<size_t>(a->style_index))->leader_arrowhead);
  EXPECT_EQ(arrowheads, (std::vector<bool>{true, true, false, true, false}));
}

TEST(IgesAnnotations, DimensionTextStaysHorizontalUnlessTurnedWithTheLine) {
  // A linear dimension along a line at 'line' radians with its note turned
  // by 'note' radians.
  struct Case {
    double line, note;
    int mode;  // 1 horizontal, 2 aligned above the line
  } cases[] = {{0, 0, 1}, {kHalfPi, 0, 1}, {kHalfPi, kHalfPi, 2}, {0.5, 0.5, 2}, {0.5, 0, 1}, {0.5, 1.2, 1}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "line " << k.line << ", note " << k.note);
    IgesBuilder b;
    const double cx = std::cos(k.line) * 4, cy = std::sin(k.line) * 4;
    int n = b.Add(212, Note({NoteString("4", 0.1, 1, k.note, cx / 2, cy / 2)}), kPart);
    int l1 = b.Add(214, Leader(0.05, 0.1, {{0, 0}, {cx / 4, cy / 4}}), {.form = 1, .subordinate = 1, .use = 1});
    int l2 = b.Add(214, Leader(0.05, 0.1, {{cx, cy}, {cx * 3 / 4, cy * 3 / 4}}), {.form = 1, .subordinate = 1, .use = 1});
    b.Add(216, {S(n), S(l1), S(l2), "0", "0"}, {.use = 1});
    Converted c;
    Convert(b.Text(), c);
    ASSERT_TRUE(c.ok) << c.reason;
    auto a = Annotations(c.model());
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0]->text_display_mode, k.mode);
  }
}
