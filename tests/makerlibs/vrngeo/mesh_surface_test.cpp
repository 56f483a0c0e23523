// Faces added to meshes by their corners, and patches through corners.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "VRNGeo90Ux64.h"
#include "opennurbs.h"

namespace {

const ON_3dPoint a(0, 0, 0), b(2, 0, 0), c(2, 1, 0), d(0, 1, 1);

TEST(VRNMesh, FacesKeepTheirCornersInOrderBehindWhatTheMeshHolds) {
  ON_Mesh mesh;
  EXPECT_EQ(VRNMesh::AddQuad(mesh, a, b, c, d), 1);
  EXPECT_EQ(VRNMesh::AddTriangle(mesh, b, c, d), 1);
  ASSERT_EQ(mesh.FaceCount(), 2);
  EXPECT_TRUE(mesh.m_F[0].IsQuad());
  EXPECT_TRUE(mesh.m_F[1].IsTriangle());
  const ON_3dPoint quad[] = {a, b, c, d}, tri[] = {b, c, d, d};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(mesh.Vertex(mesh.m_F[0].vi[k]), quad[k]) << k;
    EXPECT_EQ(mesh.Vertex(mesh.m_F[1].vi[k]), tri[k]) << k;
  }
  EXPECT_TRUE(mesh.IsValid());
  // The shared corners meet in the topology all the same.
  EXPECT_EQ(mesh.Topology().TopVertexCount(), 4);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(VRNMesh::AddTriangle(mesh, a, ON_3dPoint(nan, 0, 0), c), 0);
  EXPECT_EQ(VRNMesh::AddQuad(mesh, a, b, c, ON_UNSET_POINT), 0);
  EXPECT_EQ(mesh.FaceCount(), 2);
  EXPECT_EQ(mesh.VertexCount(), 7);
}

TEST(VRNNurbsSurface, PatchesRunThroughTheirCornersInOrder) {
  ON_NurbsSurface quad;
  ASSERT_EQ(VRNNurbsSurface::CreateQuad(quad, a, b, c, d), 1);
  EXPECT_TRUE(quad.IsValid());
  EXPECT_EQ(quad.Degree(0), 1);
  EXPECT_EQ(quad.Degree(1), 1);
  EXPECT_EQ(quad.PointAt(0, 0), a);
  EXPECT_EQ(quad.PointAt(1, 0), b);
  EXPECT_EQ(quad.PointAt(1, 1), c);
  EXPECT_EQ(quad.PointAt(0, 1), d);
  EXPECT_LT(quad.PointAt(0.5, 0.5).DistanceTo(ON_3dPoint(1, 0.5, 0.25)), 1e-12);

  ON_NurbsSurface triangle;
  ASSERT_EQ(VRNNurbsSurface::CreateTriangle(triangle, a, b, d), 1);
  EXPECT_EQ(triangle.PointAt(0, 0), a);
  EXPECT_EQ(triangle.PointAt(1, 0), b);
  EXPECT_EQ(triangle.PointAt(0.3, 1), d);  // the far side is one point

  ON_NurbsSurface kept = quad;
  EXPECT_EQ(VRNNurbsSurface::CreateQuad(kept, a, b, ON_UNSET_POINT, d), 0);
  EXPECT_EQ(kept.PointAt(1, 1), c);
}

}  // namespace
