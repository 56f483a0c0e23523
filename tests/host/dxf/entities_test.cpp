// One entity of each kind the plug-in makes, saved and read back by ezdxf.
#include <cmath>

#include "win32/strconv.h"

#include "DrawingFixture.h"
#include "arx/dbArc.h"
#include "arx/dbCircle.h"
#include "arx/dbEllipse.h"
#include "arx/dbLine.h"
#include "arx/dbPoint.h"
#include "arx/dbSpline.h"
#include "arx/db3dPolyline.h"
#include "arx/dbBlockReference.h"
#include "arx/dbFace.h"
#include "arx/dbMText.h"
#include "arx/dbPolyFaceMesh.h"
#include "arx/dbPolygonMesh.h"
#include "arx/dbSubDMesh.h"
#include "arx/dbText.h"
#include "arx/db2dPolyline.h"
#include "arx/dbDimStyleTable.h"
#include "arx/dbDimension.h"
#include "arx/dbLeader.h"
#include "arx/dbPolyline.h"
#include "arx/dbRay.h"
#include "arx/dbSolid.h"
#include "arx/dbHatch.h"
#include "arx/dbMline.h"
#include "arx/dbAcisEntity.h"
#include "arx/geMatrix3d.h"

using namespace dxftest;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Case {
  std::function<AcDbEntity*()> make;
  std::string expected;  // the ENTITY object of check_dxf.py
};

// Every case goes to model space; the expected list is written as JSON.
class EntityRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!CheckerAvailable()) GTEST_SKIP() << "no " DXF_PYTHON;
  }

  // Saves the drawing and runs the checker with the expected JSON.
  void SaveAndCheck(const std::string& name, const std::string& expectedJson, bool render = false) {
    auto dir = TempDir(name);
    auto dxf = (dir / (name + ".dxf")).string();
    std::string error = arxhost::dxf::SaveAsDxf(drawing.db(), dxf);
    ASSERT_EQ(error, "");
    auto json = WriteText(dir / "expected.json", expectedJson);
    auto png = render ? (dir / (name + ".png")).string() : std::string();
    auto result = RunChecker(dxf, json, png);
    EXPECT_TRUE(result.ok()) << result.output << "\n(file " << dxf << ")";
  }

  Drawing drawing;
};

}  // namespace

TEST_F(EntityRoundTrip, CurvesKeepTheirGeometryLayersAndColours) {
  AcDbObjectId red = drawing.AddLayer(L"Red", Aci(1));
  AcDbObjectId rgb = drawing.AddLayer(L"Rgb", Rgb(10, 200, 30));
  drawing.AddLayer(L"Off", Aci(3), true);
  drawing.AddLayer(L"Frozen", Aci(4), false, true);
  drawing.AddLayer(L"Locked", Aci(5), false, false, true);

  const Case cases[] = {
      {[] { return new AcDbPoint(AcGePoint3d(1, 2, 3)); },
       R"({"type": "POINT", "dxf": {"location": [1, 2, 3], "layer": "0"}})"},
      {[&] {
         auto* l = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 5, 0.5));
         l->setLayer(red);
         return l;
       },
       R"({"type": "LINE", "dxf": {"start": [0, 0, 0], "end": [10, 5, 0.5], "layer": "Red", "color": 256}})"},
      {[&] {
         auto* c = new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 2.5);
         c->setLayer(rgb);
         c->setColor(Rgb(255, 128, 0));
         return c;
       },
       R"({"type": "CIRCLE", "dxf": {"center": [5, 5, 0], "radius": 2.5, "layer": "Rgb", "true_color": 16744448}})"},
      {[] {
         auto* a = new AcDbArc(AcGePoint3d(0, 0, 0), 3.0, 0.0, kPi / 2);
         a->setColorIndex(2);
         return a;
       },
       R"({"type": "ARC", "dxf": {"center": [0, 0, 0], "radius": 3, "start_angle": 0, "end_angle": 90, "color": 2}})"},
      // A circle on a tilted plane: its centre is stored in its own plane's
      // coordinates, which ezdxf turns back into world ones.
      {[] { return new AcDbCircle(AcGePoint3d(1, 2, 3), AcGeVector3d(1, 0, 0), 1.5); },
       R"({"type": "CIRCLE", "dxf": {"extrusion": [1, 0, 0], "radius": 1.5}, "wcs": {"center": [1, 2, 3]}})"},
      {[] {
         return new AcDbEllipse(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5, 0.0, kPi);
       },
       R"({"type": "ELLIPSE", "dxf": {"center": [0, 0, 0], "major_axis": [4, 0, 0], "ratio": 0.5,
           "start_param": 0, "end_param": 3.141592653589793}})"},
      {[] {
         return new AcDbSpline(3, false, false, false,
                               Points({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}}),
                               Doubles({0, 0, 0, 0, 1, 1, 1, 1}), AcGeDoubleArray());
       },
       R"({"type": "SPLINE", "dxf": {"degree": 3},
           "control_points": [[0, 0, 0], [1, 2, 0], [3, 2, 0], [4, 0, 0]],
           "knots": [0, 0, 0, 0, 1, 1, 1, 1]})"},
      {[] {
         return new AcDbSpline(2, true, false, false, Points({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}),
                               Doubles({0, 0, 0, 1, 1, 1}), Doubles({1, 0.7071067811865476, 1}));
       },
       R"({"type": "SPLINE", "dxf": {"degree": 2, "flags": 4}, "weights": [1, 0.7071067811865476, 1]})"},
      {[] { return new AcDbSpline(Points({{0, 0, 0}, {2, 1, 0}, {4, 0, 0}, {6, 1, 0}})); },
       R"({"type": "SPLINE", "fit_points": [[0, 0, 0], [2, 1, 0], [4, 0, 0], [6, 1, 0]]})"},
  };

  std::string entities;
  for (const auto& c : cases) {
    drawing.Append(c.make());
    entities += (entities.empty() ? "" : ",\n") + c.expected;
  }
  SaveAndCheck("curves", R"({"layers": [
      {"name": "0", "color": 7, "on": true},
      {"name": "Red", "color": 1},
      {"name": "Rgb", "true_color": 706590},
      {"name": "Off", "color": 3, "on": false},
      {"name": "Frozen", "color": 4, "frozen": true},
      {"name": "Locked", "color": 5, "locked": true}],
    "entities": [)" + entities + "]}");
}

TEST_F(EntityRoundTrip, MeshesFacesAndPolylinesKeepVerticesAndFaces) {
  const Case cases[] = {
      {[] { return new AcDb3dPolyline(AcDb::k3dSimplePoly, Points({{0, 0, 0}, {1, 0, 1}, {1, 1, 2}}), true); },
       R"({"type": "POLYLINE", "dxf": {"flags": 9}, "vertices": [[0, 0, 0], [1, 0, 1], [1, 1, 2]]})"},
      {[] {
         auto* mesh = new AcDbPolyFaceMesh;
         for (const auto& p : {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 1)}) {
           auto* v = new AcDbPolyFaceMeshVertex(p);
           EXPECT_EQ(mesh->appendVertex(v), Acad::eOk);
           v->close();
         }
         // A quad, and a triangle with its second edge hidden.
         for (auto* f : {new AcDbFaceRecord(1, 2, 3, 4), new AcDbFaceRecord(1, -3, 4, 0)}) {
           EXPECT_EQ(mesh->appendFaceRecord(f), Acad::eOk);
           f->close();
         }
         return mesh;
       },
       R"({"type": "POLYLINE", "dxf": {"m_count": 4, "n_count": 2},
           "vertices": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 1]], "faces": [[0, 1, 2, 3], [0, 2, 3]]})"},
      {[] {
         return new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 3,
                                    Points({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {1, 0, 1}, {1, 1, 1}, {1, 2, 1}}),
                                    false, false);
       },
       R"({"type": "POLYLINE", "dxf": {"flags": 16, "m_count": 2, "n_count": 3},
           "vertices": [[0, 0, 0], [0, 1, 0], [0, 2, 0], [1, 0, 1], [1, 1, 1], [1, 2, 1]]})"},
      {[] {
         return new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0), AcGePoint3d(2, 2, 1), AcGePoint3d(0, 2, 1),
                             true, false, true, true);
       },
       R"({"type": "3DFACE", "dxf": {"vtx0": [0, 0, 0], "vtx1": [2, 0, 0], "vtx2": [2, 2, 1], "vtx3": [0, 2, 1],
           "invisible": 2}})"},
      {[] {
         auto* mesh = new AcDbSubDMesh;
         AcArray<Adesk::Int32> faces;
         for (int i : {4, 0, 1, 2, 3, 3, 0, 3, 4}) faces.append(i);
         EXPECT_EQ(mesh->setSubDMesh(Points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-1, 0.5, 1}}), faces, 0),
                   Acad::eOk);
         return mesh;
       },
       R"({"type": "MESH", "dxf": {"subdivision_levels": 0},
           "vertices": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0], [-1, 0.5, 1]],
           "faces": [[0, 1, 2, 3], [0, 3, 4]]})"},
  };
  std::string entities;
  for (const auto& c : cases) {
    drawing.Append(c.make());
    entities += (entities.empty() ? "" : ",\n") + c.expected;
  }
  SaveAndCheck("meshes", R"({"entities": [)" + entities + "]}");
}

TEST_F(EntityRoundTrip, TextsAndBlockDefinitionsWithTheirInserts) {
  // Texts inside a block definition too, so that readers keep them there.
  AcDbObjectId block = drawing.AddBlock(L"Part", AcGePoint3d(1, 1, 0));
  drawing.Append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), block);
  auto* label = new AcDbText(AcGePoint3d(0, 0.5, 0), L"tag^1", AcDbObjectId::kNull, 0.25);
  drawing.Append(label, block);
  auto* note = new AcDbMText;
  note->setContents(L"first\nsecond");
  note->setLocation(AcGePoint3d(0, -1, 0));
  note->setTextHeight(0.3);
  drawing.Append(note, block);

  auto* text = new AcDbText(AcGePoint3d(2, 3, 0), L"Caf\u00e9 text", AcDbObjectId::kNull, 1.5, kPi / 6);
  drawing.Append(text);
  auto* centred = new AcDbText(AcGePoint3d(0, 0, 0), L"centred", AcDbObjectId::kNull, 1.0);
  centred->setHorizontalMode(AcDb::kTextCenter);
  centred->setAlignmentPoint(AcGePoint3d(5, 5, 0));
  drawing.Append(centred);
  auto* mtext = new AcDbMText;
  mtext->setContents(std::wstring(300, L'x').c_str());
  mtext->setLocation(AcGePoint3d(0, 10, 0));
  mtext->setTextHeight(2.0);
  mtext->setAttachment(AcDbMText::kMiddleCenter);
  drawing.Append(mtext);
  auto* ref = new AcDbBlockReference(AcGePoint3d(10, 0, 0), block);
  drawing.Append(ref);

  SaveAndCheck("texts", R"({
    "blocks": {"Part": {"base": [1, 1, 0], "entities": [
        {"type": "LINE", "dxf": {"start": [0, 0, 0], "end": [1, 0, 0]}},
        {"type": "TEXT", "text": "tag^1", "dxf": {"height": 0.25, "insert": [0, 0.5, 0]}},
        {"type": "MTEXT", "text": "first\nsecond", "dxf": {"char_height": 0.3, "insert": [0, -1, 0]}}]}},
    "entities": [
        {"type": "TEXT", "text": "Caf\u00e9 text", "dxf": {"insert": [2, 3, 0], "height": 1.5, "rotation": 30, "style": "Standard"}},
        {"type": "TEXT", "text": "centred", "dxf": {"halign": 1, "align_point": [5, 5, 0]}},
        {"type": "MTEXT", "text": ")" + std::string(300, 'x') + R"(", "dxf": {"char_height": 2, "attachment_point": 5}},
        {"type": "INSERT", "dxf": {"name": "Part", "insert": [10, 0, 0]}}]})", true);
}

TEST_F(EntityRoundTrip, DimensionsCarryAGraphicsBlockAndTheirStyle) {
  AcDbDimStyleTable* styles = nullptr;
  ASSERT_EQ(drawing.db().getDimStyleTable(styles, AcDb::kForWrite), Acad::eOk);
  auto* metric = new AcDbDimStyleTableRecord;
  metric->setName(L"Metric");
  metric->setDimasz(2.5);
  metric->setDimtxt(3.5);
  metric->setDimdec(2);
  metric->setDimtad(1);
  AcDbObjectId metricId;
  ASSERT_EQ(styles->add(metricId, metric), Acad::eOk);
  metric->close();
  styles->close();

  drawing.Append(new AcDbRotatedDimension(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0), AcGePoint3d(50, 20, 0),
                                          nullptr, metricId));
  auto* overridden = new AcDbRotatedDimension(kPi / 2, AcGePoint3d(0, 0, 0), AcGePoint3d(0, 40, 0),
                                              AcGePoint3d(-15, 20, 0), L"<> mm", metricId);
  overridden->setDimasz(5.0);
  drawing.Append(overridden);
  drawing.Append(new AcDbRadialDimension(AcGePoint3d(150, 50, 0), AcGePoint3d(170, 50, 0), 10.0, nullptr, metricId));
  drawing.Append(new AcDb3PointAngularDimension(AcGePoint3d(200, 0, 0), AcGePoint3d(240, 0, 0), AcGePoint3d(200, 40, 0),
                                                AcGePoint3d(225, 25, 0), nullptr, metricId));
  auto* leader = new AcDbLeader;
  leader->appendVertex(AcGePoint3d(0, 60, 0));
  leader->appendVertex(AcGePoint3d(20, 80, 0));
  leader->appendVertex(AcGePoint3d(40, 80, 0));
  leader->setDimensionStyle(metricId);
  drawing.Append(leader);
  // Also in a block definition, where other readers must keep it.
  AcDbObjectId block = drawing.AddBlock(L"Annotated", AcGePoint3d(0, 0, 0));
  drawing.Append(new AcDbRotatedDimension(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(5, 5, 0),
                                          nullptr, metricId),
                 block);
  drawing.Append(new AcDbBlockReference(AcGePoint3d(0, -50, 0), block));

  SaveAndCheck("dimensions", R"({
    "dimstyles": [{"name": "Metric", "dxf": {"dimasz": 2.5, "dimtxt": 3.5, "dimdec": 2, "dimtad": 1}}],
    "blocks": {"Annotated": {"entities": [
        {"type": "DIMENSION", "dxf": {"dimtype": 32, "dimstyle": "Metric"}, "graphics": ["LINE", "SOLID", "MTEXT"],
         "measurement": 10, "shown": "10.00"}]}},
    "entities": [
        {"type": "DIMENSION", "dxf": {"dimtype": 32, "dimstyle": "Metric", "defpoint": [50, 20, 0],
          "defpoint2": [0, 0, 0], "defpoint3": [100, 0, 0], "angle": 0},
         "graphics": ["LINE", "SOLID", "MTEXT"], "measurement": 100, "shown": "100.00"},
        {"type": "DIMENSION", "dxf": {"text": "<> mm", "angle": 90}, "graphics": ["LINE", "SOLID", "MTEXT"],
         "measurement": 40, "shown": "40.00 mm", "override": {"dimasz": 5}},
        {"type": "DIMENSION", "dxf": {"dimtype": 36, "defpoint": [150, 50, 0], "defpoint4": [170, 50, 0]},
         "graphics": ["LINE", "SOLID", "MTEXT"], "measurement": 20, "shown": "R20.00"},
        {"type": "DIMENSION", "dxf": {"dimtype": 37, "defpoint": [225, 25, 0], "defpoint2": [240, 0, 0],
          "defpoint3": [200, 40, 0], "defpoint4": [200, 0, 0]},
         "graphics": ["ARC", "SOLID", "MTEXT"], "shown": "90\u00b0"},
        {"type": "LEADER", "dxf": {"dimstyle": "Metric"}, "vertices": [[0, 60, 0], [20, 80, 0], [40, 80, 0]]},
        {"type": "INSERT", "dxf": {"name": "Annotated"}}]})", true);
}

TEST_F(EntityRoundTrip, DimensionTextKeepsItsPlaceAndTurnsOnlyWhenNotHorizontal) {
  // Vertical dimensions with their text moved beside the line: kept
  // horizontal through DIMTIH and DIMTOH, or turned along the line.
  for (bool horizontal : {true, false}) {
    auto* d = new AcDbRotatedDimension(kPi / 2, AcGePoint3d(0, 0, 0), AcGePoint3d(0, 40, 0), AcGePoint3d(-15, 20, 0),
                                       nullptr, AcDbObjectId::kNull);
    d->setTextPosition(AcGePoint3d(-20, 20, 0));
    d->setDimtih(horizontal);
    d->setDimtoh(horizontal);
    drawing.Append(d);
  }
  auto* radius = new AcDbRadialDimension(AcGePoint3d(100, 0, 0), AcGePoint3d(110, 10, 0), 5.0, nullptr,
                                         AcDbObjectId::kNull);
  radius->setTextPosition(AcGePoint3d(120, 20, 0));
  radius->setDimtoh(true);
  drawing.Append(radius);
  SaveAndCheck("dimension_text", R"({"entities": [
      {"type": "DIMENSION", "dxf": {"dimtype": 160, "text_midpoint": [-20, 20, 0]},
       "shown_at": [-20, 20, 0], "shown_along": [1, 0, 0], "override": {"dimtih": 1, "dimtoh": 1}},
      {"type": "DIMENSION", "dxf": {"dimtype": 160}, "shown_at": [-20, 20, 0], "shown_along": [0, 1, 0]},
      {"type": "DIMENSION", "dxf": {"dimtype": 164, "text_midpoint": [120, 20, 0]}, "shown_along": [1, 0, 0]}]})", true);
}

TEST_F(EntityRoundTrip, PlanarPolylinesSolidsAndUnboundedLines) {
  const Case cases[] = {
      {[] {
         auto* pl = new AcDbPolyline;
         pl->addVertexAt(0, AcGePoint2d(0, 0));
         pl->addVertexAt(1, AcGePoint2d(10, 0), 1.0);
         pl->addVertexAt(2, AcGePoint2d(10, 10));
         pl->setClosed(true);
         return pl;
       },
       R"({"type": "LWPOLYLINE", "dxf": {"flags": 1}, "vertices": [[0, 0, 0], [10, 0, 1], [10, 10, 0]]})"},
      {[] {
         AcGeDoubleArray bulges = Doubles({0.5, 0, 0});
         return new AcDb2dPolyline(AcDb::k2dSimplePoly, Points({{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}), 2.0, false, 0, 0,
                                   &bulges);
       },
       R"({"type": "POLYLINE", "dxf": {"flags": 0, "elevation": [0, 0, 2]},
           "vertices": [[0, 0, 2], [5, 0, 2], [5, 5, 2]]})"},
      {[] { return new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)); },
       R"({"type": "SOLID", "dxf": {"vtx0": [0, 0, 0], "vtx1": [1, 0, 0], "vtx2": [0, 1, 0], "vtx3": [1, 1, 0]}})"},
      {[] {
         auto* r = new AcDbRay;
         r->setBasePoint(AcGePoint3d(1, 1, 0));
         r->setUnitDir(AcGeVector3d(0, 1, 0));
         return r;
       },
       R"({"type": "RAY", "dxf": {"start": [1, 1, 0], "unit_vector": [0, 1, 0]}})"},
      {[] {
         auto* x = new AcDbXline;
         x->setBasePoint(AcGePoint3d(0, 0, 5));
         x->setUnitDir(AcGeVector3d(1, 0, 0));
         return x;
       },
       R"({"type": "XLINE", "dxf": {"start": [0, 0, 5], "unit_vector": [1, 0, 0]}})"},
      {[] {
         auto* h = new AcDbHatch;
         AcGePoint2dArray square;
         for (auto [x, y] : {std::pair{0.0, 0.0}, {4.0, 0.0}, {4.0, 4.0}, {0.0, 4.0}}) square.append(AcGePoint2d(x, y));
         EXPECT_EQ(h->appendLoop(AcDbHatch::kExternal | AcDbHatch::kPolyline, square, AcGeDoubleArray()), Acad::eOk);
         return h;
       },
       R"({"type": "HATCH", "dxf": {"pattern_name": "SOLID", "solid_fill": 1},
           "hatch_loops": [[[0, 0], [4, 0], [4, 4], [0, 4]]]})"},
      {[] {
         auto* m = new AcDbMline;
         for (const auto& p : {AcGePoint3d(0, 20, 0), AcGePoint3d(10, 20, 0), AcGePoint3d(10, 30, 0)}) m->appendSeg(p);
         m->setScale(2.0);
         return m;
       },
       R"({"type": "MLINE", "dxf": {"style_name": "Standard", "scale_factor": 2},
           "vertices": [[0, 20, 0], [10, 20, 0], [10, 30, 0]]})"},
  };
  std::string entities;
  for (const auto& c : cases) {
    drawing.Append(c.make());
    entities += (entities.empty() ? "" : ",\n") + c.expected;
  }
  SaveAndCheck("planar", R"({"entities": [)" + entities + "]}");
}

TEST_F(EntityRoundTrip, SolidsKeepTheirAcisDataWhereTheyWereMoved) {
  const std::string fixtures = std::string(TOLVANE_FIXTURES) + "/sat/";
  struct File {
    const char* name;
    std::vector<std::string> types;
  } files[] = {{"sphere.sat", {"3DSOLID"}}, {"sphere_and_square.sat", {"3DSOLID", "REGION"}}};
  std::string entities;
  for (const auto& file : files) {
    AcDbVoidPtrArray made;
    ASSERT_EQ(AcDbBody::acisIn(arxhost::FromUtf8(fixtures + file.name).c_str(), made), Acad::eOk) << file.name;
    ASSERT_EQ(made.length(), static_cast<int>(file.types.size())) << file.name;
    for (int i = 0; i < made.length(); ++i) {
      auto* entity = static_cast<AcDbEntity*>(made[i]);
      entity->transformBy(AcGeMatrix3d::translation(AcGeVector3d(20.0 * i, 0, 0)));
      std::string sat = arxhost::AcisModelOf(entity)->placedSat();
      ASSERT_FALSE(sat.empty());
      drawing.Append(entity);
      entities += (entities.empty() ? "" : ",\n") + std::string(R"({"type": ")") + file.types[i] +
                  R"(", "acis": {"bodies": 1, "sat": )" + JsonString(sat) + "}}";
    }
  }
  SaveAndCheck("solids", R"({"entities": [)" + entities + "]}");
}

TEST(DxfSave, AValueDxfCannotHoldFailsTheSaveAndLeavesNoFile) {
  Drawing drawing;
  drawing.Append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  drawing.Append(new AcDbLine(AcGePoint3d(std::nan(""), 0, 0), AcGePoint3d(1, 1, 0)));
  auto dir = TempDir("nonfinite");
  auto target = dir / "bad.dxf";
  WriteText(target, "previous");
  std::string error = arxhost::dxf::SaveAsDxf(drawing.db(), target.string());
  EXPECT_NE(error.find("Cannot save " + target.string()), std::string::npos) << error;
  EXPECT_NE(error.find("AcDbLine with handle"), std::string::npos) << error;
  std::ifstream in(target);
  std::string kept((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(kept, "previous");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
}
