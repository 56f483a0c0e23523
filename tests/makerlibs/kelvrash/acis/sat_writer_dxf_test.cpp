// Solids, bodies and regions from the SAT writer saved as DXF: ezdxf reads
// the file without audit errors or fixes, and its ACIS reader finds every
// face of each B-rep in the embedded SAT data.
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <gp_Ax2.hxx>

#include <filesystem>
#include <sstream>

#include "DrawingFixture.h"
#include "KelvAcis.h"
#include "SatShapes.h"
#include "arx/dbheaders.h"
#include "win32/strconv.h"

using namespace satshapes;

namespace {

// Face counts of each model-space entity's ACIS bodies, one line each.
constexpr const char* kFaceCounter = R"(
import sys, ezdxf
from ezdxf.acis import api
doc = ezdxf.readfile(sys.argv[1])
for e in doc.modelspace():
    faces = 0
    for body in api.load_dxf(e):
        for lump in body.lumps():
            for shell in lump.shells():
                faces += len(shell.faces())
    print(e.dxftype(), faces)
)";

}  // namespace

TEST(SatWriterDxf, EzdxfReadsTheSolidsOfTheWriter) {
  if (!dxftest::CheckerAvailable()) GTEST_SKIP() << "no " << DXF_PYTHON;
  TempFolder dir;
  gp_Ax2 tilted(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 1));
  struct Case {
    TopoDS_Shape shape;
    const char* type;
  } cases[] = {
      {BRepPrimAPI_MakeBox(gp_Pnt(1, 2, 3), 4, 5, 6).Shape(), "3DSOLID"},
      {BRepPrimAPI_MakeCylinder(tilted, 2, 5).Shape(), "3DSOLID"},
      {BRepPrimAPI_MakeSphere(tilted, 2.5).Shape(), "3DSOLID"},
      {BRepPrimAPI_MakeTorus(tilted, 5, 1).Shape(), "3DSOLID"},
      {RevolvedSpline(), "3DSOLID"},
      {BsplinePatch(), "BODY"},
      {PlateWithHole(), "REGION"},
  };
  dxftest::Drawing drawing;
  std::string expectedEntities, expectedFaces;
  for (const Case& c : cases) {
    std::unique_ptr<ON_Brep> brep = BrepOf(c.shape, dir);
    ASSERT_NE(brep, nullptr);
    ASSERT_EQ(KelvAcis::ConvertBrepToSAT(*brep, CString(dir.File("b.sat").c_str()), 1, CString(L"")), 1);
    AcDbVoidPtrArray made;
    ASSERT_EQ(AcDbBody::acisIn(arxhost::FromUtf8(dir.File("b.sat")).c_str(), made), Acad::eOk);
    ASSERT_EQ(made.length(), 1);
    drawing.Append(static_cast<AcDbEntity*>(made[0]));
    expectedEntities += std::string(expectedEntities.empty() ? "" : ",\n") + R"({"type": ")" + c.type +
                        R"(", "acis": {"bodies": 1}})";
    expectedFaces += std::string(c.type) + " " + std::to_string(brep->FaceCount()) + "\n";
  }
  const std::string dxf = dir.File("solids.dxf");
  ASSERT_EQ(arxhost::dxf::SaveAsDxf(drawing.db(), dxf), "");
  const std::string expected =
      dxftest::WriteText(dir.File("expected.json"), R"({"entities": [)" + expectedEntities + "]}");
  dxftest::CheckResult check = dxftest::RunChecker(dxf, expected);
  EXPECT_TRUE(check.ok()) << check.output;
  const std::string script = dxftest::WriteText(dir.File("faces.py"), kFaceCounter);
  EXPECT_EQ(dxftest::RunCommand(std::string(DXF_PYTHON) + " " + dxftest::Quote(script) + " " + dxftest::Quote(dxf)).output,
            expectedFaces);
}
