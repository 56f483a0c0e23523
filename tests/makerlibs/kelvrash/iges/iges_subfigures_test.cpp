// Subfigures as instance definitions (members of mode 3) and references with
// their transform and scale, nested ones included; network subfigures and
// pattern arrays as references; level names from the level map.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <tuple>

#include "Kelv3dm.h"
#include "KelvIges.h"
#include "IgesDrawing.h"
#include "TestSupport.h"
#include "win32/strconv.h"

using namespace testiges;
using namespace kelv::model;

namespace {

constexpr EntityOptions kMember{.subordinate = 1};

std::vector<double> M(const InstanceRefT& r) {
  std::vector<double> m;
  for (double v : *r.xform.m()) m.push_back(v);
  return m;
}

void ExpectTranslation(const InstanceRefT& r, double x, double y, double z) {
  auto m = M(r);
  EXPECT_NEAR(m[3], x, 1e-9);
  EXPECT_NEAR(m[7], y, 1e-9);
  EXPECT_NEAR(m[11], z, 1e-9);
}

const InstanceDefinitionT* Definition(const ModelT& m, const Uuid& id) {
  for (auto& d : m.instance_definitions)
    if (d->uuid == id) return d.get();
  return nullptr;
}

const ObjectT* ObjectById(const ModelT& m, const Uuid& id) {
  for (auto& o : m.objects)
    if (o->attributes->uuid == id) return o.get();
  return nullptr;
}

}  // namespace

TEST(IgesSubfigures, DefinitionsInstancesAndArraysComeOverAsBlocks) {
  IgesBuilder b;
  b.Add(406, {"1", "1", "4", H("Walls"), "0", H("L4")}, {.form = 24});
  int innerLine = b.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."}, {.level = 2, .subordinate = 1});
  int inner = b.Add(308, {"0", H("INNER"), "1", S(innerLine)});
  int outerPoint = b.Add(116, {"5.", "5.", "0.", "0"}, kMember);
  int nested = b.Add(408, {S(inner), "10.", "0.", "0.", "2."}, kMember);
  int outer = b.Add(308, {"1", H("OUTER"), "2", S(outerPoint), S(nested)});
  b.Add(408, {S(outer), "100.", "0.", "0.", "3."}, {.level = 4, .color = 2});
  int rot = b.Add(124, {"0.", "-1.", "0.", "0.", "1.", "0.", "0.", "0.", "0.", "0.", "1.", "0."});
  b.Add(408, {S(inner), "0.", "50.", "0.", "1."}, {.transform = rot});
  int netLine = b.Add(110, {"0.", "0.", "0.", "0.", "1.", "0."}, kMember);
  int net = b.Add(320, {"0", H("NET"), "1", S(netLine), "0", H("R"), "0", "0"});
  b.Add(420, {S(net), "1.", "2.", "0.", "2.", "3.", "1.", "0", H("N1"), "0", "0"});
  int base = b.Add(116, {"1.", "1.", "0.", "0"}, kMember);
  b.Add(412, {S(base), "1.", "1.", "1.", "0.", "2", "2", "10.", "20.", "0.", "0", "0"});
  int spoke = b.Add(110, {"5.", "0.", "0.", "6.", "0.", "0."}, kMember);
  b.Add(414, {S(spoke), "4", "0.", "0.", "0.", "5.", "0.", R(M_PI / 2), "0", "0"});

  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  for (auto [type, count] : c.result.skipped) ADD_FAILURE() << "skipped " << count << " of type " << type;
  const ModelT& m = c.model();

  // Nested definitions come first, so block references among members find them.
  ASSERT_EQ(m.instance_definitions.size(), 5u);
  EXPECT_EQ(m.instance_definitions[0]->name, "INNER");
  EXPECT_EQ(m.instance_definitions[1]->name, "OUTER");
  EXPECT_EQ(m.instance_definitions[2]->name, "NET");

  const InstanceDefinitionT& innerDef = *m.instance_definitions[0];
  ASSERT_EQ(innerDef.members.size(), 1u);
  const ObjectT* line = ObjectById(m, innerDef.members[0]);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->attributes->mode, ObjectMode::InstanceDefinitionMember);
  EXPECT_EQ(m.layers[static_cast<size_t>(line->attributes->layer_index)]->name, "2");

  const InstanceDefinitionT& outerDef = *m.instance_definitions[1];
  ASSERT_EQ(outerDef.members.size(), 2u);
  const ObjectT* nestedRef = ObjectById(m, outerDef.members[1]);
  ASSERT_NE(nestedRef, nullptr);
  EXPECT_EQ(nestedRef->attributes->mode, ObjectMode::InstanceDefinitionMember);
  ASSERT_NE(nestedRef->geometry.AsInstanceRef(), nullptr);
  EXPECT_EQ(nestedRef->geometry.AsInstanceRef()->definition, innerDef.uuid);
  EXPECT_NEAR(M(*nestedRef->geometry.AsInstanceRef())[0], 2.0, 1e-12);  // its own scale

  std::vector<const InstanceRefT*> refs;
  std::vector<const ObjectT*> refObjects;
  for (auto* o : TopLevel(m))
    if (auto* r = o->geometry.AsInstanceRef()) {
      refs.push_back(r);
      refObjects.push_back(o);
    }
  ASSERT_EQ(refs.size(), 1u + 1u + 1u + 4u + 4u);
  // Scaled singular instance: scale 3, moved by (100, 0, 0), named level.
  EXPECT_EQ(refs[0]->definition, outerDef.uuid);
  EXPECT_NEAR(M(*refs[0])[0], 3.0, 1e-12);
  EXPECT_NEAR(M(*refs[0])[10], 3.0, 1e-12);
  ExpectTranslation(*refs[0], 100, 0, 0);
  EXPECT_EQ(m.layers[static_cast<size_t>(refObjects[0]->attributes->layer_index)]->name, "Walls");
  EXPECT_EQ(refObjects[0]->attributes->color, 0x0000FFu);
  // Rotated instance: the rotation applies to its translation too.
  EXPECT_EQ(refs[1]->definition, innerDef.uuid);
  ExpectTranslation(*refs[1], -50, 0, 0);
  EXPECT_NEAR(M(*refs[1])[1], -1.0, 1e-12);
  // Network instance with its three scale factors.
  EXPECT_EQ(Definition(m, refs[2]->definition)->name, "NET");
  EXPECT_NEAR(M(*refs[2])[0], 2.0, 1e-12);
  EXPECT_NEAR(M(*refs[2])[5], 3.0, 1e-12);
  ExpectTranslation(*refs[2], 1, 2, 0);
  // Rectangular array: columns 10 apart, rows 20 apart, base at the corner.
  const double rect[4][2] = {{0, 0}, {10, 0}, {0, 20}, {10, 20}};
  for (int k = 0; k < 4; ++k) ExpectTranslation(*refs[3 + k], rect[k][0], rect[k][1], 0);
  EXPECT_EQ(refs[3]->definition, refs[6]->definition);
  // Circular array: four places a quarter turn apart on a circle of 5.
  const double circ[4][2] = {{0, 0}, {-5, 5}, {-10, 0}, {-5, -5}};
  for (int k = 0; k < 4; ++k) ExpectTranslation(*refs[7 + k], circ[k][0], circ[k][1], 0);
}

namespace {

// The x of each top-level line's start, sorted: which lines the drawing gets.
std::vector<double> LooseLineStarts(const ModelT& m) {
  std::vector<double> xs;
  for (auto* o : TopLevel(m))
    if (auto* c = o->geometry.AsCurve())
      if (auto* l = c->geometry.AsLineCurve()) xs.push_back(l->from.x());
  std::sort(xs.begin(), xs.end());
  return xs;
}

std::vector<std::string> LineAt(double x) { return {R(x), "0.", "0.", R(x), "1.", "0."}; }

}  // namespace

TEST(IgesSubfigures, EachEntityIsDrawnOnceThroughWhatUsesIt) {
  IgesBuilder b;
  constexpr EntityOptions kDependent{.subordinate = 1};
  // Dependent, yet nothing refers to it: drawn alone.
  b.Add(110, LineAt(1), kDependent);
  // Dependent and only listed by a group: a group draws nothing itself.
  int grouped = b.Add(110, LineAt(2), kDependent);
  b.Add(402, {"1", S(grouped)}, {.form = 7});
  // Dependent and drawn by its parent: only as part of the composite curve.
  int part = b.Add(110, LineAt(3), kDependent);
  int next = b.Add(110, {"3.", "1.", "0.", "6.", "1.", "0."}, kDependent);
  b.Add(102, {"2", S(part), S(next)});
  // Flagged independent but a definition member: through the instance only.
  int member = b.Add(110, LineAt(4));
  int def = b.Add(308, {"0", H("HELD"), "1", S(member)});
  b.Add(408, {S(def), "10.", "0.", "0.", "1."});
  // A definition that nothing places draws nothing.
  int unused = b.Add(110, LineAt(5));
  b.Add(308, {"0", H("UNUSED"), "1", S(unused)});

  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  for (auto [type, count] : c.result.skipped) ADD_FAILURE() << "skipped " << count << " of type " << type;
  const ModelT& m = c.model();
  EXPECT_EQ(LooseLineStarts(m), (std::vector<double>{1, 2}));
  int polycurves = 0, references = 0;
  for (auto* o : TopLevel(m)) {
    if (o->geometry.AsCurve() && o->geometry.AsCurve()->geometry.AsPolyCurve()) ++polycurves;
    if (o->geometry.AsInstanceRef()) ++references;
  }
  EXPECT_EQ(polycurves, 1);
  EXPECT_EQ(references, 1);
  ASSERT_EQ(m.instance_definitions.size(), 1u);
  EXPECT_EQ(m.instance_definitions[0]->name, "HELD");
  EXPECT_EQ(m.instance_definitions[0]->members.size(), 1u);
}

TEST(IgesSubfigures, BlockNamesStayUniqueWhereFilesRepeatThem) {
  IgesBuilder b;
  auto place = [&](const std::string& name, int member) {
    int def = b.Add(308, {"0", H(name), "1", S(member)});
    b.Add(408, {S(def), "0.", "0.", "0.", "1."});
    return def;
  };
  const int first = place("TWIN", b.Add(110, LineAt(1), kMember));
  const int second = place("TWIN", b.Add(110, LineAt(2), kMember));
  // A name that a file spells the way a repeated one is renamed.
  place("TWIN_" + std::to_string(second), b.Add(110, LineAt(3), kMember));
  // A definition holding one of its own name: the inner one is made first
  // and keeps the name.
  int innerDef = b.Add(308, {"0", H("SAME"), "1", S(b.Add(110, LineAt(4), kMember))});
  int nested = b.Add(408, {S(innerDef), "0.", "0.", "0.", "1."}, kMember);
  const int outer = b.Add(308, {"1", H("SAME"), "1", S(nested)});
  b.Add(408, {S(outer), "0.", "0.", "0.", "1."});
  (void)first;

  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  std::vector<std::string> names;
  for (auto& d : c.model().instance_definitions) names.push_back(d->name);
  const std::string s = std::to_string(second);
  EXPECT_EQ(names, (std::vector<std::string>{"TWIN", "TWIN_" + s, "TWIN_" + s + "_" + std::to_string(second + 6),
                                             "SAME", "SAME_" + std::to_string(outer)}));
}

namespace {

struct Placed {
  std::string text;
  double x, y, height;
  bool operator<(const Placed& o) const { return std::tie(text, x, y) < std::tie(o.text, o.x, o.y); }
};

// Every text the drawing shows, block references expanded (translations only).
std::vector<Placed> ShownTexts(const ModelT& m) {
  std::vector<Placed> out;
  auto add = [&](const ObjectT& o, double dx, double dy) {
    if (auto* a = o.geometry.AsAnnotation())
      out.push_back({a->user_text, a->plane.origin().x() + dx, a->plane.origin().y() + dy, a->height});
  };
  for (auto* o : TopLevel(m)) {
    add(*o, 0, 0);
    if (auto* r = o->geometry.AsInstanceRef()) {
      auto d = M(*r);
      for (const Uuid& id : Definition(m, r->definition)->members) add(*ObjectById(m, id), d[3], d[7]);
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

// Notes that a drawing lists, and a title block placed twice, in a file
// whose views a hundred associativities point back at.
TEST(IgesSubfigures, DrawingNotesAndNetworkSubfiguresArriveOncePerPlacement) {
  const std::string text = DrawingWithTitleBlock();
  Converted c;
  Convert(text, c);
  ASSERT_TRUE(c.ok) << c.reason;
  for (auto [type, count] : c.result.skipped) ADD_FAILURE() << "skipped " << count << " of type " << type;
  const ModelT& m = c.model();

  const std::vector<Placed> expected = {{"DRAWN BY", 301, 12, 2.5}, {"DRAWN BY", 301, 112, 2.5},
                                        {"SCALE 1:1", 200, 10, 3.5}, {"SHEET 1", 200, 20, 5},
                                        {"TITLE", 301, 2, 7},        {"TITLE", 301, 102, 7}};
  std::vector<Placed> shown = ShownTexts(m);
  ASSERT_EQ(shown.size(), expected.size());
  for (size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(shown[i].text);
    EXPECT_EQ(shown[i].text, expected[i].text);
    EXPECT_NEAR(shown[i].x, expected[i].x, 1e-9);
    EXPECT_NEAR(shown[i].y, expected[i].y, 1e-9);
    EXPECT_NEAR(shown[i].height, expected[i].height, 1e-9);
  }
  // One block of the two notes (the connect point left aside), two references.
  ASSERT_EQ(m.instance_definitions.size(), 1u);
  EXPECT_EQ(m.instance_definitions[0]->name, "TITLE_BLOCK");
  EXPECT_EQ(m.instance_definitions[0]->members.size(), 2u);
  int references = 0, lines = 0;
  for (auto* o : TopLevel(m)) {
    references += o->geometry.AsInstanceRef() != nullptr;
    lines += o->geometry.AsCurve() != nullptr;
    // The notes keep their own level and colour.
    if (o->geometry.AsAnnotation()) {
      EXPECT_EQ(m.layers[static_cast<size_t>(o->attributes->layer_index)]->name, "7");
      EXPECT_EQ(o->attributes->color, 0x0000FFu);
    }
  }
  EXPECT_EQ(references, 2);
  EXPECT_EQ(lines, kDrawingCurves);

  // The same file through the conversion process, as the import command
  // runs it: it ends cleanly and brings the same objects.
  TempFolder dir;
  std::ofstream(dir.File("drawing.igs"), std::ios::binary) << text;
  KelvIges iges;
  ASSERT_EQ(iges.IGESTo3DM(CString(dir.File("drawing.igs").c_str()), CString(dir.File("drawing.k3m").c_str()), 4), 1)
      << arxhost::ToUtf8(KelvIges::GetError().GetString());
  ON_3dmProperties props;
  ASSERT_EQ(Kelv3dm::ReadStart(CString(dir.File("drawing.k3m").c_str()), props), 1);
  EXPECT_EQ(Kelv3dm::ReadGetObjectTableSize(), static_cast<int>(m.objects.size()));
  Kelv3dm::ReadEnd();
}
