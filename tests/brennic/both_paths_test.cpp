// One IGES file read along both paths (shapes, and the model file) gives the
// same coordinates, in the file's own units.
#include <BRep_Tool.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Brennic90Ux64.h"
#include "Kelvrash90Ux64.h"

namespace {

const std::string kFixtures = TOLVANE_FIXTURES;
const std::string kCorpus = TOLVANE_CORPUS;

// The end points of every curve and every point, along the shape path.
std::vector<gp_Pnt> ShapePoints(const std::string& path) {
  Handle(TopTools_HSequenceOfShape) shapes = new TopTools_HSequenceOfShape;
  EXPECT_EQ(BrennIges::Read(CString(path.c_str()), shapes, 1), 1) << BrennIges::GetError().GetString();
  std::vector<gp_Pnt> points;
  for (int i = 1; i <= shapes->Length(); ++i)
    for (TopExp_Explorer e(shapes->Value(i), TopAbs_VERTEX); e.More(); e.Next())
      points.push_back(BRep_Tool::Pnt(TopoDS::Vertex(e.Current())));
  return points;
}

// The same along the model-file path.
std::vector<gp_Pnt> ModelPoints(const std::string& path) {
  const std::filesystem::path model =
      std::filesystem::temp_directory_path() / ("both-paths-" + std::to_string(std::random_device()()) + ".3dm");
  KelvIges converter;
  EXPECT_EQ(converter.IGESTo3DM(CString(path.c_str()), CString(model.string().c_str()), 4), 1)
      << KelvIges::GetError().GetString();
  std::vector<gp_Pnt> points;
  ON_3dmProperties properties;
  if (Kelv3dm::ReadStart(CString(model.string().c_str()), properties)) {
    for (int i = 0; i < Kelv3dm::ReadGetObjectTableSize(); ++i) {
      const ON_Object* object = Kelv3dm::ReadGetObject(i);
      if (const ON_Curve* curve = ON_Curve::Cast(object)) {
        for (const ON_3dPoint& p : {curve->PointAtStart(), curve->PointAtEnd()}) points.emplace_back(p.x, p.y, p.z);
      } else if (const ON_Point* point = ON_Point::Cast(object)) {
        points.emplace_back(point->point.x, point->point.y, point->point.z);
      }
    }
    Kelv3dm::ReadEnd();
  }
  std::filesystem::remove(model);
  return points;
}

double Nearest(const gp_Pnt& p, const std::vector<gp_Pnt>& others) {
  double best = 1e300;
  for (const gp_Pnt& q : others) best = std::min(best, p.Distance(q));
  return best;
}

TEST(BothPaths, GiveTheSameCoordinatesInTheFilesUnits) {
  for (const std::string& path : {kFixtures + "/curves_inch.igs", kFixtures + "/curves_mm.igs",
                                  kCorpus + "/dealii/line.iges", kCorpus + "/igesio/sample_curves.igs"}) {
    if (!std::filesystem::exists(path)) continue;  // the corpus is absent
    SCOPED_TRACE(path);
    const auto shapes = ShapePoints(path);
    const auto model = ModelPoints(path);
    ASSERT_FALSE(shapes.empty());
    ASSERT_FALSE(model.empty());
    // Every end of a model curve is a vertex of the shapes (which have more:
    // the joints of composite curves and polylines).
    for (const gp_Pnt& p : model) EXPECT_LT(Nearest(p, shapes), 1e-6);
  }
}

}  // namespace
