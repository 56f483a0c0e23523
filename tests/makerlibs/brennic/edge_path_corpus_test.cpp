// The edge path on every public IGES file: what BrennIges hands the edge
// converter reaches every edge Open CASCADE finds in the file's shapes, what
// lies inside groups, assemblies and instances included, each placed once.
#include <BRep_Tool.hxx>
#include <IGESControl_Reader.hxx>
#include <IGESData_GlobalSection.hxx>
#include <IGESData_IGESModel.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "Brennic90Ux64.h"
#include "Corpus.h"
#include "IgesRead.h"
#include "ModelTeardown.h"
#include "ShapeEdgeConverter.h"
#include "arx/dbInspector.h"
#include "win32/transcript.h"

namespace {

const std::string kCorpus = TOLVANE_CORPUS;

// Edges met walking each transferred shape (an edge two faces share is met
// twice, as the converter meets it), and vertices outside any edge.
struct OcctCount {
  int edges = 0;
  int degenerated = 0;  // edges without a 3D curve (poles, apexes)
  int vertices = 0;
};

OcctCount CountInOpenCascade(const std::string& path) {
  OcctCount n;
  IGESControl_Reader reader;
  // Through the check's copy where it makes one (comments after a record,
  // integers in real fields), as the edge path reads.
  igesread::ScanResult scan;
  std::string reason;
  if (!igesread::ReadIgesFile(path, reader, scan, reason)) return n;
  // In the file's own unit, as BrennIges reads: healing tolerances, and so
  // the edges that survive, depend on the unit.
  Handle(IGESData_IGESModel) model = reader.IGESModel();
  IGESData_GlobalSection global = model->GlobalSection();
  if (global.UnitValue() > 0.0) {
    global.SetCascadeUnit(global.UnitValue());
    model->SetGlobalSection(global);
  }
  reader.TransferRoots();
  for (int i = 1; i <= reader.NbShapes(); ++i) {
    for (TopExp_Explorer e(reader.Shape(i), TopAbs_EDGE); e.More(); e.Next()) {
      ++n.edges;
      if (BRep_Tool::Degenerated(TopoDS::Edge(e.Current()))) ++n.degenerated;
    }
    for (TopExp_Explorer v(reader.Shape(i), TopAbs_VERTEX, TopAbs_EDGE); v.More(); v.Next()) ++n.vertices;
  }
  igesread::CutBackReferences(reader.IGESModel());
  return n;
}

struct Drawn {
  bool read = false;
  int curves = 0;
  int points = 0;
};

Drawn DrawEdges(const std::string& path) {
  arxhost::ResetWorkingDatabase();
  Drawn d;
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  if (!BrennIges::Read(CString(path.c_str()), shapes, 1)) return d;
  d.read = true;
  int count = 0;
  ShapeEdgeConverter::ConvertShapes(shapes, &count);
  arxhost::DatabaseInspector db;
  for (AcDbObjectId id : db.entities()) {
    if (db.get<AcDbPoint>(id)) ++d.points;
    else ++d.curves;
  }
  arxhost::ResetWorkingDatabase();
  return d;
}

// Files whose whole shape is one compound (a group, an assembly, instances
// of subfigures), with the curves their edge path draws. bearing.iges has
// 941 edges, 16 of them degenerated; bug33327.igs places its solids through
// six subfigure instances.
const std::map<std::string, int> kCompoundFiles = {
    {"occt/bearing.iges", 925},
    {"occt/hammer.iges", 208},
    {"debian-freecad/SOT404.igs", 388},
    {"occt/bug33327.igs", 200},
};

TEST(EdgePathCorpus, EveryEdgeOfTheFileIsDrawnOncePerPlacement) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "corpus not present";
  arxhost::Transcript::Capture quiet;
  int files = 0;
  for (const std::filesystem::path& file : CorpusIgesFiles()) {
    const std::string path = file.string();
    const std::string name = file.parent_path().filename().string() + "/" + file.filename().string();
    SCOPED_TRACE(name);
    const Drawn drawn = DrawEdges(path);
    if (!drawn.read) continue;  // refused with a reason: the read tests cover those
    ++files;
    const OcctCount occt = CountInOpenCascade(path);
    const int expected = occt.edges - occt.degenerated;
    if (auto known = kCompoundFiles.find(name); known != kCompoundFiles.end()) {
      EXPECT_EQ(drawn.curves, known->second);
    }
    // Edges without a 3D curve have nothing to draw.
    EXPECT_EQ(drawn.curves, expected) << occt.edges << " edges, " << occt.degenerated << " degenerated";
    EXPECT_EQ(drawn.points, occt.vertices);
  }
  EXPECT_GT(files, 80);
}

}  // namespace
