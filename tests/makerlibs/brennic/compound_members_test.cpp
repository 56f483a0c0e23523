// What lies inside compounds reaches the sequence: the members of a group,
// and a subfigure's curve once per instance, at the instance's place.
#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Vertex.hxx>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <vector>

#include "IgesBuilder.h"
#include "Brennic90Ux64.h"
#include "TempFolder.h"

namespace {

using testiges::EntityOptions;
using testiges::R;
using testiges::S;

// A group (402 form 7) of two lines, and a subfigure (308) of one line
// placed twice (408).
std::string GroupAndInstancesFile() {
  testiges::IgesBuilder b;
  const int first = b.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
  const int second = b.Add(110, {"0.", "0.", "0.", "0.", "1.", "0."});
  b.Add(402, {"2", S(first), S(second)}, {.form = 7});
  const int member = b.Add(110, {"0.", "0.", "0.", "0.", "0.", "2."}, {.subordinate = 1});
  const int definition = b.Add(308, {"0", testiges::H("PIN"), "1", S(member)}, {.subordinate = 1, .use = 0});
  b.Add(408, {S(definition), R(100), R(0), R(0), R(1)});
  b.Add(408, {S(definition), R(0), R(50), R(0), R(1)});
  return b.Text();
}

using Segment = std::array<double, 6>;

std::vector<Segment> Segments(const Handle(TopTools_HSequenceOfShape)& shapes) {
  std::vector<Segment> out;
  for (int i = 1; i <= shapes->Length(); ++i)
    for (TopExp_Explorer e(shapes->Value(i), TopAbs_EDGE); e.More(); e.Next()) {
      TopoDS_Vertex a, b;
      TopExp::Vertices(TopoDS::Edge(e.Current()), a, b);
      const gp_Pnt p = BRep_Tool::Pnt(a), q = BRep_Tool::Pnt(b);
      Segment s = {p.X(), p.Y(), p.Z(), q.X(), q.Y(), q.Z()};
      for (double& v : s) v = std::round(v * 1e6) / 1e6 + 0.0;
      out.push_back(s);
    }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(BrennIgesCompounds, MembersOfGroupsAndInstancesArriveOnceEachInPlace) {
  TempFolder folder;
  const std::string path = (folder / "assembly.igs").string();
  std::ofstream(path, std::ios::binary) << GroupAndInstancesFile();
  const std::vector<Segment> expected = {
      {0, 0, 0, 0, 1, 0}, {0, 0, 0, 1, 0, 0}, {0, 50, 0, 0, 50, 2}, {100, 0, 0, 100, 0, 2}};

  Handle(TopTools_HSequenceOfShape) members = new TopTools_HSequenceOfShape;
  ASSERT_EQ(BrennIges::Read(CString(path.c_str()), members, 1), 1) << BrennIges::GetError().GetString();
  for (int i = 1; i <= members->Length(); ++i) {
    const TopAbs_ShapeEnum type = members->Value(i).ShapeType();
    EXPECT_NE(type, TopAbs_COMPOUND);
    EXPECT_NE(type, TopAbs_COMPSOLID);
  }
  EXPECT_EQ(Segments(members), expected);

  // Any other mode: the whole file as one shape, the same edges inside.
  Handle(TopTools_HSequenceOfShape) whole = new TopTools_HSequenceOfShape;
  ASSERT_EQ(BrennIges::Read(CString(path.c_str()), whole, 0), 1) << BrennIges::GetError().GetString();
  ASSERT_EQ(whole->Length(), 1);
  EXPECT_EQ(Segments(whole), expected);
}

}  // namespace
