// DXFIN: a drawing saved by the writer reads back as the same entities, and
// a file that cannot be read leaves the drawing as it was.
#include <clocale>
#include <cmath>
#include <map>

#include "DrawingFixture.h"
#include "arx/aced.h"
#include "arx/db2dPolyline.h"
#include "arx/db3dPolyline.h"
#include "arx/dbAcisEntity.h"
#include "arx/dbArc.h"
#include "arx/dbBlockReference.h"
#include "arx/dbCircle.h"
#include "arx/dbDimStyleTable.h"
#include "arx/dbDimension.h"
#include "arx/dbEllipse.h"
#include "arx/dbFace.h"
#include "arx/dbHatch.h"
#include "arx/dbInspector.h"
#include "arx/dbLeader.h"
#include "arx/dbLine.h"
#include "arx/dbMText.h"
#include "arx/dbMline.h"
#include "arx/dbPoint.h"
#include "arx/dbPolyFaceMesh.h"
#include "arx/dbPolygonMesh.h"
#include "arx/dbPolyline.h"
#include "arx/dbRay.h"
#include "arx/dbSolid.h"
#include "arx/dbSpline.h"
#include "arx/dbSubDMesh.h"
#include "arx/dbText.h"
#include "arx/dbTextStyleTable.h"
#include "arx/geMatrix3d.h"
#include "dxf/DxfIn.h"
#include "dxf/DxfReader.h"
#include "win32/input.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

using namespace dxftest;
using arxhost::DatabaseInspector;

namespace {

constexpr double kPi = 3.14159265358979323846;

template <class E>
E* Colored(E* e, int aci) {
  e->setColorIndex(static_cast<Adesk::UInt16>(aci));
  return e;
}

// One entity of every kind the writer writes, on layers with colours, some
// in block definitions, one in paper space.
void FillEveryEntity(Drawing& d) {
  AcDbObjectId red = d.AddLayer(L"Red", Aci(1));
  AcDbObjectId rgb = d.AddLayer(L"Rgb", Rgb(10, 200, 30));
  d.AddLayer(L"Off", Aci(3), true);
  d.AddLayer(L"Frozen", Aci(4), false, true);
  AcDbObjectId locked = d.AddLayer(L"Locked", Aci(5), false, false, true);

  d.Append(new AcDbPoint(AcGePoint3d(1, 2, 3)));
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 5, 0.5));
  line->setLayer(red);
  d.Append(line);
  auto* circle = new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 2.5);
  circle->setLayer(rgb);
  circle->setColor(Rgb(255, 128, 0));
  d.Append(circle);
  d.Append(Colored(new AcDbArc(AcGePoint3d(0, 0, 0), 3.0, 0.25, kPi / 2), 2));
  d.Append(new AcDbCircle(AcGePoint3d(1, 2, 3), AcGeVector3d(1, 0, 0), 1.5));
  d.Append(new AcDbArc(AcGePoint3d(4, -2, 1), AcGeVector3d(0, 1, 1).normal(), 2.0, 0.5, 2.0));
  d.Append(new AcDbEllipse(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5, 0.0, kPi));
  d.Append(new AcDbEllipse(AcGePoint3d(1, 1, 1), AcGeVector3d::kZAxis, AcGeVector3d(0, 3, 0), 0.25));
  d.Append(new AcDbSpline(3, false, false, false, Points({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}}),
                          Doubles({0, 0, 0, 0, 1, 1, 1, 1}), AcGeDoubleArray()));
  d.Append(new AcDbSpline(2, true, false, false, Points({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}), Doubles({0, 0, 0, 1, 1, 1}),
                          Doubles({1, 0.7071067811865476, 1})));
  d.Append(new AcDbSpline(Points({{0, 0, 0}, {2, 1, 0}, {4, 0, 0}, {6, 1, 0}})));
  auto* ray = new AcDbRay;
  ray->setBasePoint(AcGePoint3d(1, 1, 0));
  ray->setUnitDir(AcGeVector3d(0, 1, 0));
  d.Append(ray);
  auto* xline = new AcDbXline;
  xline->setBasePoint(AcGePoint3d(0, 0, 5));
  xline->setUnitDir(AcGeVector3d(1, 1, 0));
  d.Append(xline);

  d.Append(new AcDb3dPolyline(AcDb::k3dSimplePoly, Points({{0, 0, 0}, {1, 0, 1}, {1, 1, 2}}), true));
  auto* pface = new AcDbPolyFaceMesh;
  for (const auto& p : {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 1)}) {
    auto* v = new AcDbPolyFaceMeshVertex(p);
    pface->appendVertex(v);
    v->close();
  }
  for (auto* f : {new AcDbFaceRecord(1, 2, 3, 4), new AcDbFaceRecord(1, -3, 4, 0)}) {
    pface->appendFaceRecord(f);
    f->close();
  }
  d.Append(pface);
  d.Append(new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 3,
                               Points({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {1, 0, 1}, {1, 1, 1}, {1, 2, 1}}), true, false));
  d.Append(new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0), AcGePoint3d(2, 2, 1), AcGePoint3d(0, 2, 1), true,
                        false, true, true));
  auto* mesh = new AcDbSubDMesh;
  AcArray<Adesk::Int32> faces;
  for (int i : {4, 0, 1, 2, 3, 3, 0, 3, 4}) faces.append(i);
  mesh->setSubDMesh(Points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-1, 0.5, 1}}), faces, 1);
  d.Append(mesh);
  auto* lw = new AcDbPolyline;
  lw->addVertexAt(0, AcGePoint2d(0, 0));
  lw->addVertexAt(1, AcGePoint2d(10, 0), 1.0, 0.5, 1.5);
  lw->addVertexAt(2, AcGePoint2d(10, 10));
  lw->setClosed(true);
  lw->setLayer(locked);
  d.Append(lw);
  AcGeDoubleArray bulges = Doubles({0.5, 0, 0});
  auto* pl2 = new AcDb2dPolyline(AcDb::k2dSimplePoly, Points({{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}), 2.0, false, 0, 0, &bulges);
  pl2->setNormal(AcGeVector3d(0, -1, 1));
  d.Append(pl2);
  auto* solid = new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0));
  solid->setThickness(0.5);
  d.Append(solid);
  auto* hatch = new AcDbHatch;
  AcGePoint2dArray square;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {4.0, 0.0}, {4.0, 4.0}, {0.0, 4.0}}) square.append(AcGePoint2d(x, y));
  hatch->appendLoop(AcDbHatch::kExternal | AcDbHatch::kPolyline, square, Doubles({0, 0.25, 0, 0}));
  d.Append(Colored(hatch, 3));
  auto* mline = new AcDbMline;
  for (const auto& p : {AcGePoint3d(0, 20, 0), AcGePoint3d(10, 20, 0), AcGePoint3d(10, 30, 0)}) mline->appendSeg(p);
  mline->setScale(2.0);
  d.Append(mline);

  AcDbObjectId part = d.AddBlock(L"Part", AcGePoint3d(1, 1, 0));
  d.Append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), part);
  d.Append(new AcDbText(AcGePoint3d(0, 0.5, 0), L"tag^1\tend", AcDbObjectId::kNull, 0.25), part);
  auto* note = new AcDbMText;
  note->setContents(L"first\nsecond");
  note->setLocation(AcGePoint3d(0, -1, 0));
  note->setTextHeight(0.3);
  d.Append(note, part);
  AcDbTextStyleTable* textStyles = nullptr;
  d.db().getTextStyleTable(textStyles, AcDb::kForWrite);
  auto* slanted = new AcDbTextStyleTableRecord;
  slanted->setName(L"Slanted");
  slanted->setObliquingAngle(kPi / 12);
  slanted->setXScale(0.8);
  slanted->setFileName(L"romans");
  AcDbObjectId slantedId;
  textStyles->add(slantedId, slanted);
  slanted->close();
  textStyles->close();
  d.Append(new AcDbText(AcGePoint3d(2, 3, 0), L"Caf\u00e9 text", slantedId, 1.5, kPi / 6));
  auto* centred = new AcDbText(AcGePoint3d(0, 0, 0), L"centred", AcDbObjectId::kNull, 1.0);
  centred->setHorizontalMode(AcDb::kTextCenter);
  centred->setAlignmentPoint(AcGePoint3d(5, 5, 0));
  d.Append(centred);
  auto* mtext = new AcDbMText;
  mtext->setContents(std::wstring(300, L'x').c_str());
  mtext->setLocation(AcGePoint3d(0, 10, 0));
  mtext->setTextHeight(2.0);
  mtext->setAttachment(AcDbMText::kMiddleCenter);
  d.Append(mtext);
  auto* ref = new AcDbBlockReference(AcGePoint3d(10, 0, 0), part);
  ref->setBlockTransform(AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0)) *
                         AcGeMatrix3d::rotation(kPi / 3, AcGeVector3d::kZAxis) * AcGeMatrix3d::scaling(2.0));
  d.Append(ref);

  AcDbDimStyleTable* styles = nullptr;
  d.db().getDimStyleTable(styles, AcDb::kForWrite);
  auto* metric = new AcDbDimStyleTableRecord;
  metric->setName(L"Metric");
  metric->setDimasz(2.5);
  metric->setDimtxt(3.5);
  metric->setDimdec(2);
  metric->setDimtad(1);
  AcDbObjectId metricId;
  styles->add(metricId, metric);
  metric->close();
  styles->close();
  d.Append(new AcDbRotatedDimension(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0), AcGePoint3d(50, 20, 0), nullptr,
                                    metricId));
  auto* overridden = new AcDbRotatedDimension(kPi / 2, AcGePoint3d(0, 0, 0), AcGePoint3d(0, 40, 0),
                                              AcGePoint3d(-15, 20, 0), L"<> mm", metricId);
  overridden->setDimasz(5.0);
  overridden->setTextPosition(AcGePoint3d(-20, 25, 0));
  d.Append(overridden);
  d.Append(new AcDbRadialDimension(AcGePoint3d(150, 50, 0), AcGePoint3d(170, 50, 0), 10.0, nullptr, metricId));
  d.Append(new AcDb3PointAngularDimension(AcGePoint3d(200, 0, 0), AcGePoint3d(240, 0, 0), AcGePoint3d(200, 40, 0),
                                          AcGePoint3d(225, 25, 0), nullptr, metricId));
  auto* leader = new AcDbLeader;
  for (const auto& p : {AcGePoint3d(0, 60, 0), AcGePoint3d(20, 80, 0), AcGePoint3d(40, 80, 0)}) leader->appendVertex(p);
  leader->setDimensionStyle(metricId);
  leader->setDimtxt(4.0);
  d.Append(leader);
  AcDbObjectId annotated = d.AddBlock(L"Annotated", AcGePoint3d(0, 0, 0));
  d.Append(new AcDbRotatedDimension(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(5, 5, 0), nullptr,
                                    metricId),
           annotated);
  d.Append(new AcDbBlockReference(AcGePoint3d(0, -50, 0), annotated));

  AcDbVoidPtrArray made;
  std::string sat = std::string(TOLVANE_FIXTURES) + "/sat/sphere_and_square.sat";
  EXPECT_EQ(AcDbBody::acisIn(arxhost::FromUtf8(sat).c_str(), made), Acad::eOk);
  for (int i = 0; i < made.length(); ++i) {
    auto* entity = static_cast<AcDbEntity*>(made[i]);
    entity->transformBy(AcGeMatrix3d::translation(AcGeVector3d(20.0 * i, 0, 0)));
    d.Append(entity);
  }
  d.Append(Colored(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)), 6), d.db().paperSpaceId());
}

// The groups of a DXF text without the handles, which number objects
// rather than describe them; numbers compared within a relative 1e-12.
struct Groups {
  std::string text;
  std::vector<arxhost::dxf::DxfGroup> groups;
  explicit Groups(std::string t) : text(std::move(t)), groups(arxhost::dxf::ReadDxfGroups(text)) {}
};

bool IsHandleCode(int code) {
  using arxhost::dxf::DxfValueKind;
  return arxhost::dxf::KindOfCode(code) == DxfValueKind::Handle;
}

// The entity types of each anonymous block (the graphics of dimensions),
// in order.
std::map<std::string, std::vector<std::string>> AnonymousBlocks(const Groups& g) {
  std::map<std::string, std::vector<std::string>> blocks;
  std::string current;
  for (size_t i = 0; i + 1 < g.groups.size(); ++i) {
    const auto& group = g.groups[i];
    if (group.code != 0) continue;
    if (group.value == "BLOCK") {
      for (size_t k = i + 1; k < g.groups.size() && g.groups[k].code != 0; ++k)
        if (g.groups[k].code == 2 && g.groups[k].value.starts_with("*D")) current = std::string(g.groups[k].value);
      if (!current.empty()) blocks[current];
    } else if (group.value == "ENDBLK") {
      current.clear();
    } else if (!current.empty()) {
      blocks[current].push_back(std::string(group.value));
    }
  }
  return blocks;
}

// The first difference, or "" when the two match. The graphics of
// dimensions are left out: the writer draws them with fewer groups than the
// entities it reads them back as (AnonymousBlocks compares their content).
std::string FirstDifference(const Groups& a, const Groups& b) {
  auto strip = [](const Groups& g) {
    std::vector<const arxhost::dxf::DxfGroup*> out;
    bool header = false, graphics = false;
    for (size_t i = 0; i < g.groups.size(); ++i) {
      const auto& group = g.groups[i];
      if (group.code == 2 && !out.empty() && out.back()->value == "SECTION") header = group.value == "HEADER";
      if (group.code == 0 && group.value == "BLOCK")
        for (size_t k = i + 1; k < g.groups.size() && g.groups[k].code != 0; ++k)
          if (g.groups[k].code == 2) graphics = g.groups[k].value.starts_with("*D");
      if (!header && !graphics && !IsHandleCode(group.code)) out.push_back(&group);
      if (group.code == 0 && group.value == "ENDBLK") graphics = false;
    }
    return out;
  };
  auto x = strip(a), y = strip(b);
  for (size_t i = 0; i < std::min(x.size(), y.size()); ++i) {
    const auto &p = *x[i], &q = *y[i];
    bool same = p.code == q.code;
    if (same && arxhost::dxf::KindOfCode(p.code) == arxhost::dxf::DxfValueKind::Real)
      same = std::fabs(p.real - q.real) <= 1e-12 * std::max({1.0, std::fabs(p.real), std::fabs(q.real)});
    else if (same)
      same = p.value == q.value;
    if (!same)
      return "line " + std::to_string(p.line) + " (" + std::to_string(p.code) + " " + std::string(p.value) +
             ") against line " + std::to_string(q.line) + " (" + std::to_string(q.code) + " " + std::string(q.value) + ")";
  }
  if (x.size() != y.size()) return "lengths " + std::to_string(x.size()) + " and " + std::to_string(y.size());
  return "";
}

struct EntitySummary {
  std::wstring cls, layer;
  int aci;
  bool rgb;
  bool operator==(const EntitySummary&) const = default;
};

std::vector<EntitySummary> Summary(AcDbDatabase* db, AcDbObjectId block) {
  DatabaseInspector inspect(db);
  std::vector<EntitySummary> out;
  for (auto id : inspect.entitiesOf(block)) {
    auto* e = inspect.get<AcDbEntity>(id);
    auto* layer = inspect.get<AcDbLayerTableRecord>(e->layerId());
    out.push_back({e->isA()->name(), layer ? layer->name().str() : L"?", e->color().colorIndex(),
                   e->color().colorMethod() == AcCmEntityColor::kByColor});
  }
  return out;
}

class DxfIn : public ::testing::Test {
 protected:
  void SetUp() override { arxhost::ResetWorkingDatabase(); }
  void TearDown() override { arxhost::ResetWorkingDatabase(); }
  AcDbDatabase* working() { return acdbHostApplicationServices()->workingDatabase(); }

  int Run(const std::string& path) {
    return acedCommand(RTSTR, L"_dxfin", RTSTR, arxhost::FromUtf8(path).c_str(), RTNONE);
  }

  arxhost::Transcript::Capture transcript;
  arxhost::LineInput none;
  arxhost::InputScope scope{none};
};

TEST_F(DxfIn, ADrawingSavedByTheWriterReadsBackEntityByEntity) {
  Drawing original;
  FillEveryEntity(original);
  auto dir = TempDir("dxfin_roundtrip");
  auto path = (dir / "every.dxf").string();
  ASSERT_EQ(arxhost::dxf::SaveAsDxf(original.db(), path), "");

  ASSERT_EQ(Run(path), RTNORM) << arxhost::ToUtf8(transcript.Text());
  EXPECT_NE(transcript.Text().find(L"DXFIN: read "), std::wstring::npos);
  EXPECT_TRUE(DatabaseInspector().openObjects().empty());

  // Entity by entity: class, layer and colour, in model space, paper space
  // and the named blocks.
  DatabaseInspector was(&original.db()), now;
  EXPECT_EQ(Summary(working(), working()->modelSpaceId()), Summary(&original.db(), original.db().modelSpaceId()));
  EXPECT_EQ(Summary(working(), working()->paperSpaceId()), Summary(&original.db(), original.db().paperSpaceId()));
  for (const wchar_t* name : {L"Part", L"Annotated"}) {
    ASSERT_FALSE(now.block(name).isNull()) << arxhost::ToUtf8(name);
    EXPECT_EQ(Summary(working(), now.block(name)), Summary(&original.db(), was.block(name))) << arxhost::ToUtf8(name);
  }
  for (const wchar_t* name : {L"Red", L"Rgb", L"Off", L"Frozen", L"Locked"}) {
    auto* a = was.get<AcDbLayerTableRecord>(was.layer(name));
    auto* b = now.get<AcDbLayerTableRecord>(now.layer(name));
    ASSERT_TRUE(b) << arxhost::ToUtf8(name);
    EXPECT_EQ(b->color().colorIndex(), a->color().colorIndex());
    EXPECT_EQ(b->color().colorMethod(), a->color().colorMethod());
    EXPECT_EQ(b->isOff(), a->isOff());
    EXPECT_EQ(b->isFrozen(), a->isFrozen());
    EXPECT_EQ(b->isLocked(), a->isLocked());
  }
  // Coordinates, flags, texts, styles and ACIS data: the drawing read back
  // saves as the same groups.
  Groups before(arxhost::dxf::DxfText(original.db())), after(arxhost::dxf::DxfText(*working()));
  EXPECT_EQ(FirstDifference(before, after), "");
  EXPECT_EQ(AnonymousBlocks(after), AnonymousBlocks(before));
  EXPECT_EQ(AnonymousBlocks(before).size(), 5u);
  // (The comparison does see a changed radius.)
  std::string changed = after.text;
  size_t radius = changed.find("\n 40\n2.5\n", changed.find("\nCIRCLE\n"));
  ASSERT_NE(radius, std::string::npos);
  changed.replace(radius, 10, "\n 40\n2.6\n");
  EXPECT_NE(FirstDifference(before, Groups(changed)), "");
  // The dimensions keep the graphics blocks of the file.
  for (auto id : now.entities()) {
    if (auto* dim = now.get<AcDbDimension>(id)) {
      EXPECT_FALSE(dim->dimBlockId().isNull());
    }
  }
}

TEST_F(DxfIn, ReadingIntoADrawingKeepsItsTablesAndRenamesClashingAnonymousBlocks) {
  Drawing source;
  source.AddLayer(L"Shared", Aci(1));
  source.Append(new AcDbRotatedDimension(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(5, 5, 0)));
  auto dir = TempDir("dxfin_merge");
  auto path = (dir / "dim.dxf").string();
  ASSERT_EQ(arxhost::dxf::SaveAsDxf(source.db(), path), "");

  // The drawing has a layer of the same name (another colour).
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(working()->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  auto* shared = new AcDbLayerTableRecord;
  shared->setName(L"shared");
  shared->setColor(Aci(5));
  layers->add(shared);
  shared->close();
  layers->close();

  ASSERT_EQ(Run(path), RTNORM);
  ASSERT_EQ(Run(path), RTNORM);
  DatabaseInspector now;
  EXPECT_EQ(now.get<AcDbLayerTableRecord>(now.layer(L"Shared"))->color().colorIndex(), 5);
  auto entities = now.entities();
  ASSERT_EQ(entities.size(), 2u);
  AcDbObjectId first = now.get<AcDbDimension>(entities[0])->dimBlockId();
  AcDbObjectId second = now.get<AcDbDimension>(entities[1])->dimBlockId();
  ASSERT_FALSE(first.isNull());
  ASSERT_FALSE(second.isNull());
  EXPECT_NE(first, second) << "the second file's graphics get a block of their own";
  EXPECT_EQ(now.entitiesOf(first).size(), now.entitiesOf(second).size());
}

// Broken files: the command fails, says why, and adds nothing.
TEST_F(DxfIn, AFileThatCannotBeReadLeavesTheDrawingUnchanged) {
  Drawing source;
  source.Append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  source.Append(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 2.0));
  std::string good = arxhost::dxf::DxfText(source.db());
  // A valid file whose last entity is not: nothing of the file is kept.
  std::string badLast = good;
  badLast.insert(badLast.find("\n 40\n", badLast.find("\nCIRCLE\n")) + 5, "-");
  std::string undefinedBlock = good;
  undefinedBlock.replace(undefinedBlock.find("0\nENDSEC\n", undefinedBlock.find("ENTITIES")), 0,
                         "0\nINSERT\n  8\n0\n  2\nNowhere\n 10\n0\n 20\n0\n 30\n0\n  ");

  auto dir = TempDir("dxfin_broken");
  struct Case {
    const char* name;
    std::string content;  // none: the file is missing
    const char* reason;
  } cases[] = {
      {"missing.dxf", "", "the file does not exist"},
      {"empty.dxf", "\x01", "the file is empty"},
      {"garbage.dxf", "this is not\na drawing\n", "is not a group code"},
      {"truncated.dxf", good.substr(0, good.size() / 2), ""},
      {"no_eof.dxf", good.substr(0, good.rfind("  0\nEOF")), "ends before its EOF marker"},
      {"binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\x01\x02", "binary DXF"},
      {"bad_number.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1,5\n  0\nENDSEC\n  0\nEOF\n", "line 8: \"1,5\" is not a number"},
      {"bad_last.dxf", badLast, "radius that is not positive"},
      {"undefined_block.dxf", undefinedBlock, "refers to a block that is not defined"},
      {"not_dxf.dxf", "  0\nHELLO\n", "not a DXF file"},
      // A new layer, then a block the table refuses.
      {"bad_block_name.dxf",
       "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  0\nLAYER\n  2\nNew\n 62\n1\n  0\nENDTAB\n  0\nENDSEC\n"
       "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\na<b\n  0\nENDBLK\n  0\nENDSEC\n  0\nEOF\n",
       "line 23: the BLOCK has an invalid name"},
  };
  DatabaseInspector inspect;
  size_t objects = inspect.allObjects().size();
  std::string saved = arxhost::dxf::DxfText(*working());
  for (const auto& c : cases) {
    auto path = dir / c.name;
    std::filesystem::remove(path);
    if (c.content == "\x01") WriteText(path, "");
    else if (!c.content.empty()) WriteText(path, c.content);
    transcript.Clear();
    EXPECT_EQ(Run(path.string()), RTERROR) << c.name;
    std::string said = arxhost::ToUtf8(transcript.Text());
    EXPECT_NE(said.find("DXFIN: Cannot read " + path.string() + ": "), std::string::npos) << c.name << ": " << said;
    EXPECT_NE(said.find(c.reason), std::string::npos) << c.name << ": " << said;
    EXPECT_NE(said.find("Nothing was added to the drawing."), std::string::npos) << said;
    EXPECT_EQ(inspect.allObjects().size(), objects) << c.name;
    EXPECT_TRUE(inspect.openObjects().empty()) << c.name;
  }
  EXPECT_EQ(arxhost::dxf::DxfText(*working()), saved);
}

TEST_F(DxfIn, CountsThatTheFileDoesNotBackAreRefusedQuickly) {
  // Counts far beyond the groups that follow them.
  const char* cases[] = {
      "  0\nMESH\n  8\n0\n 91\n0\n 92\n4000000000\n 10\n0\n 20\n0\n 30\n0\n",
      "  0\nMESH\n  8\n0\n 92\n1\n 10\n0\n 20\n0\n 30\n0\n 93\n4294967295\n 90\n3\n",
      "  0\nLWPOLYLINE\n  8\n0\n 90\n2147483647\n 10\n0\n 20\n0\n",
      "  0\nHATCH\n  8\n0\n 91\n4000000000\n 92\n2\n 72\n0\n 73\n1\n 93\n4000000000\n 10\n0\n 20\n0\n",
      "  0\nSPLINE\n  8\n0\n 71\n3\n 72\n99999999\n 73\n4\n",
      "  0\nPOLYLINE\n  8\n0\n 66\n1\n 70\n16\n 71\n30000\n 72\n30000\n  0\nSEQEND\n",
  };
  for (const char* entity : cases) {
    std::string text = std::string("  0\nSECTION\n  2\nENTITIES\n") + entity + "  0\nENDSEC\n  0\nEOF\n";
    auto result = arxhost::dxf::ReadDxfText(*working(), text);
    EXPECT_NE(result.error, "") << entity;
    EXPECT_TRUE(DatabaseInspector().entities().empty());
  }
}

TEST(DxfGroups, NumbersReadTheSameInAnyLocaleAndBadGroupsNameTheirLine) {
  // A locale whose decimal mark is a comma, when the system has one.
  const char* previous = std::setlocale(LC_ALL, nullptr);
  std::string restore = previous ? previous : "C";
  bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  auto groups = arxhost::dxf::ReadDxfGroups(" 10\n1.5\r\n 70\n  -3\n999\ncomment\n  1\n text \n");
  std::setlocale(LC_ALL, restore.c_str());
  ASSERT_EQ(groups.size(), 3u) << "the comment is dropped";
  EXPECT_EQ(groups[0].real, 1.5) << (comma ? "with a comma locale" : "");
  EXPECT_EQ(groups[1].integer, -3);
  EXPECT_EQ(groups[2].value, " text ") << "string values keep their blanks";

  struct Case {
    std::string_view text;
    const char* error;
  } bad[] = {
      {"  0\nSECTION\n 10\n", "line 3: the file ends after group code 10 without its value"},
      {"x\n0\n", "line 1: \"x\" is not a group code"},
      {" 10\nnan\n", "line 2: \"nan\" is not a number"},
      {" 10\n1e999\n", "line 2: \"1e999\" is not a number"},
      {" 70\n1.5\n", "line 2: \"1.5\" is not an integer"},
      {"  5\nXYZ\n", "line 2: \"XYZ\" is not a handle"},
      {"2000\nx\n", "line 1: \"2000\" is not a group code"},
      {std::string_view("  8\nlay\0er\n", 11), "line 2: the value holds a NUL character"},
  };
  for (const auto& c : bad) {
    try {
      arxhost::dxf::ReadDxfGroups(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const arxhost::dxf::DxfReadError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
  }
}

}  // namespace
