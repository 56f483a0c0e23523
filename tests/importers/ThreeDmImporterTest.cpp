// The model importer end to end: models built with the model writer, read
// through the model reader, checked in the host's drawing database.
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <gp_Ax2.hxx>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "Kelvrash90Ux64.h"
#include "ThreeDmImporter.h"
#include "arx/dbAcisEntity.h"
#include "arx/dbInspector.h"
#include "IgesDrawing.h"
#include "TempFolder.h"
#include "iges/Convert.h"
#include "iges/ShapeToBrep.h"
#include "model/ModelWriter.h"
#include "win32/messagebox.h"
#include "win32/transcript.h"

namespace {

using namespace kelv::model;

class Importer : public ::testing::Test {
 protected:
  void SetUp() override {
    arxhost::ResetWorkingDatabase();
    arxhost::MessageBoxes::ClearHistory();
    const char* temp = std::getenv("TEMP");
    savedTemp_ = temp ? std::optional<std::string>(temp) : std::nullopt;
    ::setenv("TEMP", folder_.c_str(), 1);
  }
  void TearDown() override {
    // Nothing the importer made may stay open.
    EXPECT_TRUE(db.openObjects().empty());
    arxhost::ResetWorkingDatabase();
    if (savedTemp_)
      ::setenv("TEMP", savedTemp_->c_str(), 1);
    else
      ::unsetenv("TEMP");
  }

  // Writes the model and imports it; the transcript of the run in printed.
  int Import(const ModelMaker& maker, int report = 1, int polyCurveMode = 0, int meshMode = 0, int blockMode = 0) {
    const std::string path = folder_ + "/model.k3m";
    std::string error;
    EXPECT_TRUE(maker.Write(path, error)) << error;
    arxhost::Transcript::Capture capture;
    ThreeDmImporter importer;
    int result = importer.ImportFile(CString(path.c_str()), report, polyCurveMode, meshMode, blockMode);
    printed = capture.Text();
    xformAfter = importer.m_xform;
    blockNames = static_cast<int>(importer.m_blockNames.GetSize());
    return result;
  }

  template <class T>
  std::vector<T*> Entities(const wchar_t* block = L"*Model_Space") {
    std::vector<T*> out;
    for (AcDbObjectId id : db.entities(block))
      if (T* e = db.get<T>(id)) out.push_back(e);
    return out;
  }
  int EntityCount(const wchar_t* block = L"*Model_Space") { return static_cast<int>(db.entities(block).size()); }

  arxhost::DatabaseInspector db;
  std::wstring printed;
  ON_Xform xformAfter;
  int blockNames = 0;
  TempFolder temp_;  // the importer's TEMP
  std::string folder_ = temp_.Path().string();
  std::optional<std::string> savedTemp_;
};

GeometryUnion Nurbs(int order, bool rational, std::vector<double> cv, std::vector<double> knots) {
  NurbsCurveT n;
  n.dim = 3;
  n.is_rat = rational;
  n.order = order;
  n.cv_count = static_cast<int>(cv.size()) / (rational ? 4 : 3);
  n.cv = std::move(cv);
  n.knots = std::move(knots);
  CurveGeometryUnion c;
  c.Set(std::move(n));
  return MakeCurve(std::move(c));
}

GeometryUnion MeshOf(std::vector<Vec3> vertices, std::vector<int> faces) {
  MeshT m;
  m.vertices = std::move(vertices);
  m.faces = std::move(faces);
  GeometryUnion g;
  g.Set(std::move(m));
  return g;
}

GeometryUnion Annotation(AnnotationClass cls, std::vector<Vec2> points, const std::string& text) {
  AnnotationT a;
  a.cls = cls;
  a.plane = WorldXY();
  a.points = std::move(points);
  a.user_text = text;
  GeometryUnion g;
  g.Set(std::move(a));
  return g;
}

GeometryUnion Reference(const Uuid& definition, const ON_Xform& x) {
  InstanceRefT r;
  r.definition = definition;
  std::array<double, 16> m{};
  for (int i = 0; i < 16; ++i) m[i] = x.m_xform[i / 4][i % 4];
  r.xform = Matrix(flatbuffers::span<const double, 16>(m.data(), 16));
  GeometryUnion g;
  g.Set(std::move(r));
  return g;
}

// The text's contents: the entity hands out a copy that the caller frees.
CString Contents(const AcDbMText* text) {
  ACHAR* copy = text->contents();
  CString contents(copy);
  delete[] copy;
  return contents;
}

AttributesT Member() {
  AttributesT a;
  a.mode = ObjectMode::InstanceDefinitionMember;
  return a;
}

ON_Xform Translation(double x, double y, double z) {
  ON_Xform t(1.0);
  t.m_xform[0][3] = x;
  t.m_xform[1][3] = y;
  t.m_xform[2][3] = z;
  return t;
}

TEST_F(Importer, UnreadableFileFailsWithTheReadersTextAndAddsNothing) {
  ThreeDmImporter importer;
  arxhost::Transcript::Capture capture;
  EXPECT_EQ(importer.ImportFile(CString((folder_ + "/missing.k3m").c_str()), 1, 0, 0, 0), 0);
  EXPECT_EQ(ThreeDmImporter::GetError(), Kelv3dm::GetError());
  EXPECT_FALSE(ThreeDmImporter::GetError().IsEmpty());
  EXPECT_EQ(EntityCount(), 0);
  EXPECT_TRUE(capture.Text().empty());
}

TEST_F(Importer, SummaryLineCountsImportedAndIgnoredObjects) {
  struct Case {
    int points, ignored;
    std::wstring line;
  } cases[] = {
      {0, 0, L"Successfully imported 0 object(s)\n"},
      {2, 0, L"Successfully imported 2 object(s)\n"},
      {2, 1, L"Successfully imported 2 object(s). 1 object(s) were ignored\n"},
  };
  for (const Case& c : cases) {
    arxhost::ResetWorkingDatabase();
    ModelMaker m;
    for (int i = 0; i < c.points; ++i) m.AddObject(MakePoint(V3(i, 0, 0)));
    for (int i = 0; i < c.ignored; ++i) m.AddObject(Annotation(AnnotationClass::OrdinateDimension2, {}, "x"));
    m.AddObject(MakePoint(V3(9, 9, 9)), Member());  // block members are neither imported nor counted here
    EXPECT_EQ(Import(m), 1);
    EXPECT_EQ(printed, c.line);
    EXPECT_EQ(EntityCount(), c.points);
  }
  ModelMaker quiet;
  quiet.AddObject(MakePoint(V3(0, 0, 0)));
  EXPECT_EQ(Import(quiet, /*report=*/0), 1);
  EXPECT_TRUE(printed.empty());
  // The reader was closed: the tables read as empty again.
  EXPECT_EQ(Kelv3dm::ReadGetObjectTableSize(), 0);
}

TEST_F(Importer, DimensionStylesTakeTheirTenVariablesAndExistingNamesStay) {
  ModelMaker m;
  DimStyleT s;
  s.name = "Plans";
  s.angle_resolution = 3;
  s.angular_units = 1;
  s.arrow_size = 0.5;
  s.center_mark = 0.25;
  s.ext_extension = 0.3;
  s.ext_offset = 0.1;
  s.length_resolution = 4;
  s.text_alignment = 3;
  s.text_gap = 0.05;
  s.text_height = 0.35;
  m.AddDimStyle(s);
  DimStyleT standard;
  standard.name = "Standard";
  standard.arrow_size = 9.0;
  m.AddDimStyle(standard);
  DimStyleT above;
  above.name = "Above";
  above.text_alignment = 2;
  m.AddDimStyle(above);
  const double standardArrow = db.get<AcDbDimStyleTableRecord>(db.dimStyle(L"Standard"))->dimasz();

  ASSERT_EQ(Import(m), 1);
  auto* plans = db.get<AcDbDimStyleTableRecord>(db.dimStyle(L"Plans"));
  ASSERT_NE(plans, nullptr);
  EXPECT_EQ(plans->dimadec(), 3);
  EXPECT_EQ(plans->dimaunit(), 3);
  EXPECT_DOUBLE_EQ(plans->dimasz(), 0.5);
  EXPECT_DOUBLE_EQ(plans->dimcen(), 0.25);
  EXPECT_DOUBLE_EQ(plans->dimexe(), 0.3);
  EXPECT_DOUBLE_EQ(plans->dimexo(), 0.1);
  EXPECT_EQ(plans->dimdec(), 4);
  EXPECT_EQ(plans->dimtad(), 0);
  EXPECT_DOUBLE_EQ(plans->dimgap(), 0.05);
  EXPECT_DOUBLE_EQ(plans->dimtxt(), 0.35);
  EXPECT_EQ(db.get<AcDbDimStyleTableRecord>(db.dimStyle(L"Above"))->dimtad(), 1);
  EXPECT_EQ(db.get<AcDbDimStyleTableRecord>(db.dimStyle(L"Above"))->dimaunit(), 0);
  EXPECT_DOUBLE_EQ(db.get<AcDbDimStyleTableRecord>(db.dimStyle(L"Standard"))->dimasz(), standardArrow);
}

TEST_F(Importer, LayersTakeColourAndStateAndExistingLayersStay) {
  ModelMaker m;
  m.AddLayer("Black", 0x00000000);
  m.AddLayer("BlackWithAlpha", 0x01000000);
  m.AddLayer("Hidden", 0x0000FF, /*visible=*/false);
  m.AddLayer("Locked", 0x00FF00, true, /*locked=*/true);
  m.AddLayer("0", 0x0000FF);  // exists in every drawing
  ASSERT_EQ(Import(m), 1);

  struct Case {
    const wchar_t* name;
    bool off, locked;
  } cases[] = {{L"Black", false, false}, {L"BlackWithAlpha", false, false}, {L"Hidden", true, false},
               {L"Locked", false, true}};
  for (const Case& c : cases) {
    auto* layer = db.get<AcDbLayerTableRecord>(db.layer(c.name));
    ASSERT_NE(layer, nullptr) << c.name;
    EXPECT_EQ(layer->isOff(), c.off) << c.name;
    EXPECT_EQ(layer->isLocked(), c.locked) << c.name;
    EXPECT_FALSE(layer->isFrozen()) << c.name;
  }
  AcCmColor white = db.get<AcDbLayerTableRecord>(db.layer(L"Black"))->color();
  EXPECT_EQ(white.colorIndex(), 7);
  AcCmColor keptBlack = db.get<AcDbLayerTableRecord>(db.layer(L"BlackWithAlpha"))->color();
  EXPECT_EQ(keptBlack.red() + keptBlack.green() + keptBlack.blue(), 0);
  EXPECT_EQ(db.get<AcDbLayerTableRecord>(db.layer(L"0"))->color().colorIndex(), 7);
}

TEST_F(Importer, BlockDefinitionsAreMadeAndExistingOnesListedInOneNotice) {
  struct Case {
    int report;
    bool boxExpected;
  } cases[] = {{1, true}, {0, false}};
  for (const Case& c : cases) {
    arxhost::ResetWorkingDatabase();
    arxhost::MessageBoxes::ClearHistory();
    // Two blocks the drawing already has.
    for (const wchar_t* name : {L"Bolt", L"Nut"}) {
      AcDbBlockTable* table = nullptr;
      ASSERT_EQ(db.database()->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
      auto* record = new AcDbBlockTableRecord;
      record->setName(name);
      table->add(record);
      record->close();
      table->close();
    }
    ModelMaker m;
    Uuid point = m.AddObject(MakePoint(V3(1, 2, 3)), Member());
    Uuid surface = m.AddObject(Annotation(AnnotationClass::OrdinateDimension2, {}, "no handler"), Member());
    m.AddInstanceDefinition("Bolt", {point}, NewUuid());
    m.AddInstanceDefinition("Washer", {point, surface}, NewUuid());
    m.AddInstanceDefinition("Nut", {point}, NewUuid());
    ASSERT_EQ(Import(m, c.report), 1);
    EXPECT_EQ(blockNames, 3);
    ASSERT_FALSE(db.block(L"Washer").isNull());
    EXPECT_EQ(EntityCount(L"Washer"), 1);  // the member without a handler is left out
    EXPECT_EQ(EntityCount(L"Bolt"), 0);    // the drawing's block is untouched
    const auto& boxes = arxhost::MessageBoxes::History();
    ASSERT_EQ(boxes.size(), c.boxExpected ? 1u : 0u);
    if (c.boxExpected) {
      EXPECT_EQ(boxes[0].request.caption, L"Warning");
      EXPECT_EQ(boxes[0].request.type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
      const std::wstring& text = boxes[0].request.text;
      EXPECT_EQ(text.rfind(L"The current drawing already has the following block definitions:\n\nBolt\nNut\n\nThe new "
                           L"3DM block definitions will be ignored.",
                           0),
                0u);
    }
  }
}

TEST_F(Importer, ReferencesFindOnlyEarlierDefinitions) {
  ModelMaker m;
  const Uuid firstId = NewUuid(), secondId = NewUuid(), selfId = NewUuid();
  Uuid point = m.AddObject(MakePoint(V3(0, 0, 0)), Member());
  Uuid toFirst = m.AddObject(Reference(firstId, Translation(1, 0, 0)), Member());
  Uuid toSecond = m.AddObject(Reference(secondId, Translation(2, 0, 0)), Member());
  Uuid toSelf = m.AddObject(Reference(selfId, Translation(3, 0, 0)), Member());
  m.AddInstanceDefinition("First", {point, toSecond}, firstId);  // the second comes later: left out
  m.AddInstanceDefinition("Second", {point, toFirst}, secondId);
  m.AddInstanceDefinition("Self", {point, toSelf}, selfId);
  m.AddObject(Reference(secondId, Translation(10, 0, 0)));
  m.AddObject(Reference(NewUuid(), Translation(10, 0, 0)));  // no such definition
  ASSERT_EQ(Import(m), 1);
  EXPECT_EQ(EntityCount(L"First"), 1);
  EXPECT_EQ(EntityCount(L"Second"), 2);
  EXPECT_EQ(EntityCount(L"Self"), 1);
  EXPECT_NE(printed.find(L"Failure [Unable to locate block 'Second']\n"), std::wstring::npos);
  EXPECT_NE(printed.find(L"Failure [Unable to locate block 'Self']\n"), std::wstring::npos);
  EXPECT_NE(printed.find(L"Successfully imported 1 object(s). 1 object(s) were ignored\n"), std::wstring::npos);
  auto refs = Entities<AcDbBlockReference>();
  ASSERT_EQ(refs.size(), 1u);
  EXPECT_EQ(refs[0]->blockTableRecord(), db.block(L"Second"));
  EXPECT_DOUBLE_EQ(refs[0]->position().x, 10.0);
}

TEST_F(Importer, ExplodedReferencesMoveEveryMemberAndComposeNestedTransforms) {
  ModelMaker m;
  const Uuid innerId = NewUuid(), outerId = NewUuid();
  Uuid point = m.AddObject(MakePoint(V3(1, 0, 0)), Member());
  Uuid line = m.AddObject(MakeLine(V3(0, 0, 0), V3(0, 1, 0)), Member());
  Uuid inner = m.AddObject(Reference(innerId, Translation(0, 0, 5)), Member());
  m.AddInstanceDefinition("Inner", {point, line}, innerId);
  m.AddInstanceDefinition("Outer", {point, inner}, outerId);
  m.AddObject(Reference(outerId, Translation(100, 0, 0)));
  ASSERT_EQ(Import(m, 1, 0, 0, /*blockMode=*/1), 1);
  EXPECT_EQ(blockNames, 0);
  EXPECT_TRUE(db.block(L"Outer").isNull());
  auto points = Entities<AcDbPoint>();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_DOUBLE_EQ(points[0]->position().x, 101.0);
  EXPECT_DOUBLE_EQ(points[1]->position().x, 101.0);
  EXPECT_DOUBLE_EQ(points[1]->position().z, 5.0);
  auto lines = Entities<AcDbLine>();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_DOUBLE_EQ(lines[0]->startPoint().x, 100.0);
  EXPECT_DOUBLE_EQ(lines[0]->endPoint().z, 5.0);
  EXPECT_TRUE(xformAfter.IsIdentity(0.0));
  EXPECT_EQ(printed, L"Successfully imported 1 object(s)\n");
}

TEST_F(Importer, ExplodingADefinitionThatContainsItselfStops) {
  ModelMaker m;
  const Uuid selfId = NewUuid();
  Uuid point = m.AddObject(MakePoint(V3(0, 0, 0)), Member());
  Uuid self = m.AddObject(Reference(selfId, Translation(1, 0, 0)), Member());
  m.AddInstanceDefinition("Loop", {point, self}, selfId);
  m.AddObject(Reference(selfId, ON_Xform(1.0)));
  ASSERT_EQ(Import(m, 1, 0, 0, 1), 1);
  EXPECT_EQ(EntityCount(), ThreeDmImporter::kMaxExplodeDepth);
  EXPECT_TRUE(xformAfter.IsIdentity(0.0));
}

TEST_F(Importer, NurbsCurvesBecomeTheSimplestEntityThatDrawsThem) {
  const double w = std::sqrt(0.5);
  struct Case {
    const char* name;
    GeometryUnion curve;
    const AcRxClass* expected;
  };
  std::vector<Case> cases;
  cases.push_back({"collinear cubic", Nurbs(4, false, {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0}, {0, 0, 0, 1, 1, 1}),
                   AcDbLine::desc()});
  // A rational quadratic full circle of nine control points.
  std::vector<double> circle;
  const double px[] = {1, 1, 0, -1, -1, -1, 0, 1, 1}, py[] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
  for (int i = 0; i < 9; ++i) {
    double wi = (i % 2) ? w : 1.0;
    circle.insert(circle.end(), {px[i] * wi, py[i] * wi, 0, wi});
  }
  cases.push_back({"full circle", Nurbs(3, true, circle, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4}), AcDbCircle::desc()});
  cases.push_back({"quarter circle", Nurbs(3, true, {1, 0, 0, 1, w, w, 0, w, 0, 1, 0, 1}, {0, 0, 1, 1}),
                   AcDbArc::desc()});
  cases.push_back({"degree-1 zigzag", Nurbs(2, false, {0, 0, 0, 1, 1, 0, 2, 0, 0, 3, 1, 0}, {0, 1, 2, 3}),
                   AcDb3dPolyline::desc()});
  cases.push_back({"free-form cubic", Nurbs(4, false, {0, 0, 0, 1, 2, 0, 3, -1, 0, 4, 1, 0}, {0, 0, 0, 1, 1, 1}),
                   AcDbSpline::desc()});
  for (Case& c : cases) {
    arxhost::ResetWorkingDatabase();
    ModelMaker m;
    m.AddObject(std::move(c.curve));
    ASSERT_EQ(Import(m), 1) << c.name;
    auto ids = db.entities();
    ASSERT_EQ(ids.size(), 1u) << c.name;
    EXPECT_EQ(db.get<AcDbEntity>(ids[0])->isA(), c.expected) << c.name;
  }
}

TEST_F(Importer, PolyCurvesComeWholeOrSegmentBySegment) {
  auto polyCurve = [] {
    PolyCurveT p;
    auto line = std::make_unique<CurveT>();
    LineCurveT l;
    l.from = V3(-1, 0, 0);
    l.to = V3(0, 0, 0);
    line->geometry.Set(std::move(l));
    p.segments.push_back(std::move(line));
    auto arc = std::make_unique<CurveT>();
    GeometryUnion a = MakeArc(V3(0, 1, 0), V3(0, -1, 0), V3(1, 0, 0), 1.0, 0.0, std::numbers::pi / 2);
    arc->geometry = std::move(a.AsCurve()->geometry);
    p.segments.push_back(std::move(arc));
    CurveGeometryUnion c;
    c.Set(std::move(p));
    return MakeCurve(std::move(c));
  };
  ModelMaker whole;
  whole.AddObject(polyCurve());
  ASSERT_EQ(Import(whole, 1, /*polyCurveMode=*/0), 1);
  EXPECT_EQ(EntityCount(), 1);

  arxhost::ResetWorkingDatabase();
  ModelMaker split;
  split.AddObject(polyCurve());
  ASSERT_EQ(Import(split, 1, 1), 1);
  ASSERT_EQ(EntityCount(), 2);
  EXPECT_EQ(Entities<AcDbLine>().size(), 1u);
  EXPECT_EQ(Entities<AcDbArc>().size(), 1u);
}

TEST_F(Importer, APolyCurveThatDrawsNothingCountsAsIgnored) {
  // Two lines far apart have no NURBS form as one curve; segment by segment
  // both are drawn.
  auto gapped = [] {
    PolyCurveT p;
    for (double x : {0.0, 5.0}) {
      auto seg = std::make_unique<CurveT>();
      LineCurveT l;
      l.from = V3(x, 0, 0);
      l.to = V3(x + 1, 0, 0);
      l.domain = Interval(0, 1);
      seg->geometry.Set(std::move(l));
      p.segments.push_back(std::move(seg));
    }
    CurveGeometryUnion c;
    c.Set(std::move(p));
    return MakeCurve(std::move(c));
  };
  ModelMaker whole;
  whole.AddObject(gapped());
  whole.AddObject(MakeLine(V3(0, 1, 0), V3(1, 1, 0)));
  Import(whole, 1, /*polyCurveMode=*/0);
  EXPECT_EQ(EntityCount(), 1);
  EXPECT_EQ(printed, L"Successfully imported 1 object(s). 1 object(s) were ignored\n");

  arxhost::ResetWorkingDatabase();
  ModelMaker split;
  split.AddObject(gapped());
  Import(split, 1, 1);
  EXPECT_EQ(EntityCount(), 2);
  EXPECT_EQ(printed, L"Successfully imported 1 object(s)\n");
}

TEST_F(Importer, MeshesBecomePolyfaceMeshesWithinTheLimitAndFacesBeyondIt) {
  auto triangleAndQuad = [] {
    return MeshOf({V3(0, 0), V3(1, 0), V3(1, 1), V3(0, 1), V3(2, 0)}, {0, 1, 2, 2, 0, 1, 4, 3});
  };
  ModelMaker polyface;
  polyface.AddObject(triangleAndQuad());
  ASSERT_EQ(Import(polyface, 1, 0, /*meshMode=*/0), 1);
  auto meshes = Entities<AcDbPolyFaceMesh>();
  ASSERT_EQ(meshes.size(), 1u);
  EXPECT_EQ(meshes[0]->numVertices(), 5);
  EXPECT_EQ(meshes[0]->numFaces(), 2);

  arxhost::ResetWorkingDatabase();
  ModelMaker faces;
  faces.AddObject(triangleAndQuad());
  ASSERT_EQ(Import(faces, 1, 0, /*meshMode=*/1), 1);
  auto faceEntities = Entities<AcDbFace>();
  ASSERT_EQ(faceEntities.size(), 2u);
  AcGePoint3d p;
  faceEntities[0]->getVertexAt(3, p);
  EXPECT_EQ(p, AcGePoint3d(1, 1, 0));  // a triangle repeats its last corner
  faceEntities[1]->getVertexAt(2, p);
  EXPECT_EQ(p, AcGePoint3d(2, 0, 0));
}

TEST_F(Importer, PolyfaceLimitIs32766VerticesAndFaces) {
  struct Case {
    int vertices;
    bool polyface;
  } cases[] = {{32766, true}, {32767, false}};
  for (const Case& c : cases) {
    arxhost::ResetWorkingDatabase();
    std::vector<Vec3> v;
    std::vector<int> f;
    for (int i = 0; i < c.vertices; ++i) v.push_back(V3(i, i % 2, 0));
    for (int i = 0; i + 2 < c.vertices && static_cast<int>(f.size()) < 4 * 3; i += 3) f.insert(f.end(), {i, i + 1, i + 2, i + 2});
    ModelMaker m;
    m.AddObject(MeshOf(std::move(v), std::move(f)));
    ASSERT_EQ(Import(m), 1);
    EXPECT_EQ(Entities<AcDbPolyFaceMesh>().size(), c.polyface ? 1u : 0u) << c.vertices;
    EXPECT_EQ(Entities<AcDbFace>().size(), c.polyface ? 0u : 3u) << c.vertices;
  }
}

TEST_F(Importer, BrepsThatCannotBeWrittenFailWithTheWritersText) {
  ThreeDmImporter importer;
  ThreeDmImporter::SetError(L"");
  ON_Brep empty;  // no faces: nothing a SAT file can hold
  EXPECT_EQ(importer.ImportBrep(empty, L"", AcCmColor()), 0);
  EXPECT_EQ(ThreeDmImporter::GetError(), KelvAcis::GetError());
  EXPECT_FALSE(ThreeDmImporter::GetError().IsEmpty());
  EXPECT_EQ(EntityCount(), 0);
}

TEST_F(Importer, TextsRewriteLineBreaksAndMoveDownPerLine) {
  ModelMaker m;
  m.AddFont("Courier New");
  m.AddFont("Times");
  AnnotationT v1;
  v1.cls = AnnotationClass::TextEntity;
  v1.plane = WorldXY();
  v1.points = {Vec2(10, 20)};
  v1.user_text = "one\r\ntwo\nthree {\\x}";
  v1.face_name = "Arial";
  v1.height = 2.5;
  AnnotationT v2 = v1;
  v2.cls = AnnotationClass::TextEntity2;
  v2.style_index = 0;  // counted from the end of the font table: "Times"
  AnnotationT noFace = v1;
  noFace.face_name = "";
  noFace.user_text = "plain";
  for (AnnotationT* a : {&v1, &v2, &noFace}) {
    GeometryUnion g;
    g.Set(*a);
    m.AddObject(std::move(g));
  }
  ASSERT_EQ(Import(m), 1);
  auto texts = Entities<AcDbMText>();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(Contents(texts[0]), L"\\FArial;one\\Ptwo\\Pthree {\\x}");
  EXPECT_EQ(texts[0]->location(), AcGePoint3d(10, 12.5, 0));
  EXPECT_EQ(texts[0]->attachment(), AcDbMText::kTopLeft);
  EXPECT_DOUBLE_EQ(texts[0]->textHeight(), 2.5);
  EXPECT_EQ(Contents(texts[1]), L"\\FTimes;one\\Ptwo\\Pthree {\\x}");
  EXPECT_EQ(texts[1]->attachment(), AcDbMText::kBottomLeft);
  EXPECT_EQ(Contents(texts[2]), L"plain");
  EXPECT_EQ(texts[2]->location(), AcGePoint3d(10, 20, 0));
}

TEST_F(Importer, DimensionsApplyTheirTextRulesAndVariables) {
  ModelMaker m;
  DimStyleT style;
  style.name = "Dims";
  m.AddDimStyle(style);
  m.AddObject(Annotation(AnnotationClass::RadialDimension, {Vec2(0, 0), Vec2(3, 4), Vec2(6, 8), Vec2(6, 8)}, "R<>"));
  m.AddObject(Annotation(AnnotationClass::RadialDimension, {Vec2(0, 0), Vec2(3, 4)}, "r<>"));
  m.AddObject(Annotation(AnnotationClass::AngularDimension, {Vec2(1, 0), Vec2(0, 1), Vec2(1, 1)}, "<>\xc2\xb0"));
  m.AddObject(Annotation(AnnotationClass::LinearDimension, {Vec2(0, 0), Vec2(), Vec2(5, 0), Vec2(), Vec2(2, 3)}, ""));
  AnnotationT linear2;
  linear2.cls = AnnotationClass::LinearDimension2;
  linear2.plane = WorldXY();
  linear2.points = {Vec2(0, 0), Vec2(), Vec2(5, 0), Vec2(), Vec2(2, 3)};
  linear2.style_index = 0;
  linear2.text_display_mode = 1;
  AnnotationT outside = linear2;
  outside.style_index = 7;  // no such style: the drawing's current one
  outside.text_display_mode = 2;
  for (AnnotationT* a : {&linear2, &outside}) {
    GeometryUnion g;
    g.Set(*a);
    m.AddObject(std::move(g));
  }
  ASSERT_EQ(Import(m), 1);

  auto radial = Entities<AcDbRadialDimension>();
  ASSERT_EQ(radial.size(), 2u);
  EXPECT_EQ(radial[0]->dimensionTextString(), L"<>");
  EXPECT_DOUBLE_EQ(radial[0]->leaderLength(), 5.0);
  EXPECT_EQ(radial[0]->textPosition(), AcGePoint3d(6, 8, 0));
  EXPECT_EQ(radial[1]->dimensionTextString(), L"r<>");
  for (AcDbDimension* d : {static_cast<AcDbDimension*>(radial[0])}) {
    EXPECT_DOUBLE_EQ(d->dimasz(), 1.0);
    EXPECT_DOUBLE_EQ(d->dimtxt(), 1.0);
    EXPECT_DOUBLE_EQ(d->dimexe(), 1.0);
    EXPECT_DOUBLE_EQ(d->dimexo(), 1.0);
    EXPECT_DOUBLE_EQ(d->dimscale(), 1.0);
    EXPECT_DOUBLE_EQ(d->dimcen(), 1.0);
    EXPECT_EQ(d->dimdec(), 0);
    EXPECT_EQ(d->dimadec(), 2);
    EXPECT_EQ(d->dimtad(), 1);
  }
  auto angular = Entities<AcDb3PointAngularDimension>();
  ASSERT_EQ(angular.size(), 1u);
  EXPECT_EQ(angular[0]->dimensionTextString(), L"<>");
  EXPECT_EQ(angular[0]->centerPoint(), AcGePoint3d(0, 0, 0));

  auto linear = Entities<AcDbRotatedDimension>();
  ASSERT_EQ(linear.size(), 3u);
  EXPECT_EQ(linear[0]->xLine2Point(), AcGePoint3d(5, 0, 0));
  EXPECT_EQ(linear[0]->dimLinePoint(), AcGePoint3d(2, 3, 0));
  EXPECT_EQ(linear[1]->dimensionStyle(), db.dimStyle(L"Dims"));
  EXPECT_TRUE(linear[1]->dimtoh());
  EXPECT_TRUE(linear[1]->dimtih());
  EXPECT_EQ(linear[2]->dimensionStyle(), db.database()->dimstyle());
  EXPECT_FALSE(linear[2]->dimtoh());
}

TEST_F(Importer, SecondGenerationAnnotationsKeepTextPlaceArrowheadsAndBlankTexts) {
  ModelMaker m;
  DimStyleT arrows;
  arrows.name = "Arrows";
  m.AddDimStyle(arrows);
  DimStyleT bare = arrows;
  bare.name = "Bare";
  bare.leader_arrowhead = false;
  m.AddDimStyle(bare);
  m.AddFont("Standard");
  auto add = [&](AnnotationT a) {
    GeometryUnion g;
    g.Set(std::move(a));
    m.AddObject(std::move(g));
  };
  AnnotationT leader;
  leader.cls = AnnotationClass::Leader2;
  leader.plane = WorldXY();
  leader.points = {Vec2(0, 0), Vec2(1, 1)};
  for (int style : {0, 1}) {
    leader.style_index = style;
    add(leader);
  }
  // A dimension whose text the file places off the dimension line: the line
  // stays through the arrowheads, the text goes to point 4.
  AnnotationT placed;
  placed.cls = AnnotationClass::LinearDimension2;
  placed.plane = WorldXY();
  placed.points = {Vec2(0, -2), Vec2(0, 0), Vec2(5, -2), Vec2(5, 0), Vec2(6, 1)};
  placed.user_positioned_text = true;
  placed.text_display_mode = 1;
  add(placed);
  AnnotationT angle;
  angle.cls = AnnotationClass::AngularDimension2;
  angle.plane = WorldXY();
  angle.points = {Vec2(0, 0), Vec2(3, 0), Vec2(0, 3), Vec2(2, 2), Vec2(4, 4)};
  angle.user_positioned_text = true;
  add(angle);
  AnnotationT blanks;
  blanks.cls = AnnotationClass::TextEntity2;
  blanks.plane = WorldXY();
  blanks.points = {Vec2(0, 0)};
  blanks.height = 0.5;
  for (const char* text : {"   ", "a b"}) {
    blanks.user_text = text;
    add(blanks);
  }
  ASSERT_EQ(Import(m), 1);

  auto leaders = Entities<AcDbLeader>();
  ASSERT_EQ(leaders.size(), 2u);
  EXPECT_TRUE(leaders[0]->hasArrowHead());
  EXPECT_FALSE(leaders[1]->hasArrowHead());
  EXPECT_EQ(leaders[1]->dimensionStyle(), db.dimStyle(L"Bare"));

  auto linear = Entities<AcDbRotatedDimension>();
  ASSERT_EQ(linear.size(), 1u);
  EXPECT_EQ(linear[0]->dimLinePoint(), AcGePoint3d(0, 0, 0));
  EXPECT_FALSE(linear[0]->isUsingDefaultTextPosition());
  EXPECT_EQ(linear[0]->textPosition(), AcGePoint3d(6, 1, 0));
  EXPECT_TRUE(linear[0]->dimtih());

  auto angular = Entities<AcDb3PointAngularDimension>();
  ASSERT_EQ(angular.size(), 1u);
  EXPECT_EQ(angular[0]->arcPoint(), AcGePoint3d(2, 2, 0));
  EXPECT_EQ(angular[0]->textPosition(), AcGePoint3d(4, 4, 0));

  auto texts = Entities<AcDbMText>();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_DOUBLE_EQ(texts[0]->width(), 1.5);  // three blanks of height 0.5
  EXPECT_DOUBLE_EQ(texts[1]->width(), 0.0);
}

TEST_F(Importer, LeadersDotsAndArrows) {
  ModelMaker m;
  m.AddObject(Annotation(AnnotationClass::Leader, {Vec2(0, 0), Vec2(1, 1), Vec2(2, 1)}, ""));
  m.AddObject(Annotation(AnnotationClass::Leader, {Vec2(4, 4)}, ""));
  TextDotT dot;
  dot.point = V3(1, 2, 3);
  dot.text = "";
  GeometryUnion g;
  g.Set(std::move(dot));
  m.AddObject(std::move(g));
  AnnotationArrowT arrow;
  arrow.tail = V3(0, 0, 0);
  arrow.head = V3(10, 0, 0);
  GeometryUnion a;
  a.Set(std::move(arrow));
  m.AddObject(std::move(a));
  ASSERT_EQ(Import(m), 1);

  auto leaders = Entities<AcDbLeader>();
  ASSERT_EQ(leaders.size(), 3u);
  EXPECT_EQ(leaders[0]->numVertices(), 3);
  EXPECT_DOUBLE_EQ(leaders[0]->dimasz(), 1.0);
  EXPECT_DOUBLE_EQ(leaders[0]->dimscale(), 1.0);
  EXPECT_EQ(leaders[1]->numVertices(), 1);
  AcDbLeader fresh;
  EXPECT_EQ(leaders[2]->vertexAt(0), AcGePoint3d(10, 0, 0));
  EXPECT_NEAR(leaders[2]->vertexAt(1).x, 10.0 - 2.1 * fresh.dimasz(), 1e-12);
  ASSERT_EQ(Entities<AcDbPoint>().size(), 1u);
  auto texts = Entities<AcDbText>();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->position(), AcGePoint3d(1, 2, 3));
  EXPECT_EQ(printed, L"Successfully imported 4 object(s)\n");
}

}  // namespace

// --- B-reps: written as SAT into the temporary folder, brought in as solids ---

namespace {

GeometryUnion BrepOf(const TopoDS_Shape& shape) {
  BrepT brep;
  EXPECT_TRUE(kelv::iges::ShapeToBrep(shape, brep));
  GeometryUnion g;
  g.Set(std::move(brep));
  return g;
}

bool TempHoldsSat(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".sat" || entry.path().filename().string().rfind("VRN", 0) == 0) return true;
  return false;
}

}  // namespace

TEST_F(Importer, BrepsBecomeSolidsInModelSpaceAndTheTemporaryFileGoes) {
  ModelMaker m;
  m.AddObject(BrepOf(BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), 1, 2, 3).Shape()));
  m.AddObject(BrepOf(BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(10, 0, 0), gp_Dir(0, 0, 1)), 2, 5).Shape()));
  EXPECT_EQ(Import(m), 1);
  EXPECT_EQ(printed, L"Successfully imported 2 object(s)\n");
  EXPECT_EQ(Entities<AcDb3dSolid>().size(), 2u);
  EXPECT_EQ(EntityCount(), 2);
  // Both B-reps went through the one temporary name, and it is gone.
  EXPECT_FALSE(TempHoldsSat(folder_));
}

TEST_F(Importer, ABrepTheWriterRejectsIsIgnoredWithTheWritersText) {
  ModelMaker m;
  GeometryUnion empty;
  empty.Set(BrepT());  // no faces: nothing a SAT body could hold
  m.AddObject(std::move(empty));
  m.AddObject(MakePoint(V3(0, 0, 0)));
  EXPECT_EQ(Import(m), 1);
  EXPECT_EQ(printed, L"Successfully imported 1 object(s). 1 object(s) were ignored\n");
  EXPECT_FALSE(KelvAcis::GetError().IsEmpty());
  EXPECT_EQ(ThreeDmImporter::GetError(), KelvAcis::GetError());
  EXPECT_TRUE(Entities<AcDb3dSolid>().empty());
  EXPECT_FALSE(TempHoldsSat(folder_));
}

TEST_F(Importer, BrepMembersOfABlockStayInTheDefinition) {
  ModelMaker m;
  const Uuid definitionId = NewUuid();
  AttributesT member = Member();
  Uuid box = m.AddObject(BrepOf(BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), 1, 1, 1).Shape()), member);
  m.AddInstanceDefinition("Crate", {box}, definitionId);
  m.AddObject(Reference(definitionId, Translation(5, 0, 0)));
  m.AddObject(Reference(definitionId, Translation(9, 0, 0)));
  EXPECT_EQ(Import(m), 1);
  EXPECT_EQ(Entities<AcDb3dSolid>(L"Crate").size(), 1u);
  EXPECT_TRUE(Entities<AcDb3dSolid>().empty());
  EXPECT_EQ(Entities<AcDbBlockReference>().size(), 2u);
  EXPECT_FALSE(TempHoldsSat(folder_));

  // Exploded, each reference brings its own solid, moved by its transform.
  arxhost::ResetWorkingDatabase();
  EXPECT_EQ(Import(m, 1, 0, 0, /*blockMode=*/1), 1);
  std::vector<AcDb3dSolid*> solids = Entities<AcDb3dSolid>();
  ASSERT_EQ(solids.size(), 2u);
  std::vector<double> shifts;
  for (AcDb3dSolid* s : solids) shifts.push_back(s->acisModel().placement().entry[0][3]);
  std::sort(shifts.begin(), shifts.end());
  EXPECT_EQ(shifts, (std::vector<double>{5.0, 9.0}));
}

TEST_F(Importer, SolidsTakeTheirObjectsLayerAndColourWhereverTheyGo) {
  ModelMaker m;
  const int walls = m.AddLayer("Walls", 0x000000);
  AttributesT grey;
  grey.layer_index = walls;
  grey.color = 0x808080;
  grey.color_source = ColorSource::Object;
  m.AddObject(BrepOf(BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), 1, 2, 3).Shape()), grey);
  AttributesT member = Member();
  member.layer_index = walls;
  member.color = 0x0000FF;  // red
  member.color_source = ColorSource::Object;
  const Uuid definitionId = NewUuid();
  Uuid box = m.AddObject(BrepOf(BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), 1, 1, 1).Shape()), member);
  m.AddInstanceDefinition("Crate", {box}, definitionId);
  m.AddObject(Reference(definitionId, Translation(5, 0, 0)));
  EXPECT_EQ(Import(m), 1);

  auto expect = [](AcDb3dSolid* solid, int red, int green, int blue) {
    ACHAR* layer = solid->layer();
    EXPECT_STREQ(layer, L"Walls");
    delete[] layer;
    AcCmColor c = solid->color();
    EXPECT_EQ(std::vector<int>({c.red(), c.green(), c.blue()}), std::vector<int>({red, green, blue}));
  };
  std::vector<AcDb3dSolid*> loose = Entities<AcDb3dSolid>(), held = Entities<AcDb3dSolid>(L"Crate");
  ASSERT_EQ(loose.size(), 1u);
  ASSERT_EQ(held.size(), 1u);
  expect(loose[0], 128, 128, 128);
  expect(held[0], 255, 0, 0);
  EXPECT_FALSE(TempHoldsSat(folder_));
}

// The 2D path from an IGES drawing to the drawing: the notes that the IGES
// drawing lists once each at their place and height, the title block's notes
// once in the block, and the block placed twice.
TEST_F(Importer, IgesDrawingNotesAndTitleBlockArriveOncePerPlacement) {
  ModelMaker m;
  kelv::iges::ConversionResult result;
  std::string reason;
  ASSERT_TRUE(kelv::iges::ConvertIgesBytes(testiges::DrawingWithTitleBlock(), m, result, reason)) << reason;
  ASSERT_EQ(Import(m), 1);

  struct Shown {
    std::wstring text;  // the contents after the font switch
    double x, height;
  };
  auto texts = [&](const wchar_t* block) {
    std::vector<Shown> out;
    for (AcDbMText* t : Entities<AcDbMText>(block)) {
      std::wstring contents = Contents(t).GetString();
      out.push_back({contents.substr(contents.find(L';') + 1), t->location().x, t->textHeight()});
    }
    std::sort(out.begin(), out.end(), [](const Shown& a, const Shown& b) { return a.text < b.text; });
    return out;
  };
  auto expect = [](const std::vector<Shown>& found, const std::vector<Shown>& wanted) {
    ASSERT_EQ(found.size(), wanted.size());
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].text, wanted[i].text);
      EXPECT_NEAR(found[i].x, wanted[i].x, 1e-9);
      EXPECT_NEAR(found[i].height, wanted[i].height, 1e-9);
    }
  };
  expect(texts(L"*Model_Space"), {{L"SCALE 1:1", 200, 3.5}, {L"SHEET 1", 200, 5}});
  expect(texts(L"TITLE_BLOCK"), {{L"DRAWN BY", 1, 2.5}, {L"TITLE", 1, 7}});
  std::vector<AcDbBlockReference*> references = Entities<AcDbBlockReference>();
  ASSERT_EQ(references.size(), 2u);
  std::vector<double> ys;
  for (AcDbBlockReference* r : references) {
    EXPECT_EQ(r->blockTableRecord(), db.block(L"TITLE_BLOCK"));
    EXPECT_NEAR(r->position().x, 300, 1e-9);
    ys.push_back(r->position().y);
  }
  std::sort(ys.begin(), ys.end());
  EXPECT_EQ(ys, (std::vector<double>{0, 100}));
}
