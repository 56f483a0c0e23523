// ON_Mesh setters, validity, culling and its topology.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "opennurbs.h"

namespace {

// Two triangles over the unit square sharing the diagonal (0,0)-(1,1),
// stored with six unshared vertices.
ON_Mesh SixVertexSquare() {
  ON_Mesh m;
  const ON_3dPoint p[6] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  for (int i = 0; i < 6; ++i) m.SetVertex(i, p[i]);
  m.SetTriangle(0, 0, 1, 2);
  m.SetTriangle(1, 3, 4, 5);
  return m;
}

TEST(Mesh, TopologyMergesVerticesAtTheSameLocation) {
  const ON_Mesh m = SixVertexSquare();
  const ON_MeshTopology& top = m.Topology();
  EXPECT_EQ(top.TopVertexCount(), 4);
  EXPECT_EQ(top.TopEdgeCount(), 5);
  EXPECT_EQ(top.m_topv_map[0], top.m_topv_map[3]);
  EXPECT_EQ(top.m_topv_map[2], top.m_topv_map[4]);
  EXPECT_NE(top.m_topv_map[1], top.m_topv_map[5]);
  // Each topological vertex lists its mesh vertices, the first giving its place.
  const ON_MeshTopologyVertex& v = top.m_topv[top.m_topv_map[3]];
  ASSERT_EQ(v.m_v_count, 2);
  EXPECT_EQ(v.m_vi[0], 0);
  EXPECT_EQ(v.m_vi[1], 3);
  EXPECT_EQ(ON_3dPoint(top.TopVertexPoint(top.m_topv_map[4])), ON_3dPoint(1, 1, 0));
  // The diagonal is shared by both faces; the other edges by one.
  int shared = 0;
  for (const auto& e : top.m_tope) {
    EXPECT_NE(e.m_topvi[0], e.m_topvi[1]);
    if (e.m_topf_count == 2) ++shared;
    else EXPECT_EQ(e.m_topf_count, 1);
  }
  EXPECT_EQ(shared, 1);
  EXPECT_TRUE(top.m_topf[0].IsTriangle());
  // Asked again, the same topology is returned.
  EXPECT_EQ(&m.Topology(), &top);
}

TEST(Mesh, TopologyOfSharedVerticesIsTheSameAndLeavesOutBrokenFaces) {
  ON_Mesh m;
  for (const auto& p : {ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0), ON_3dPoint(1, 1, 0), ON_3dPoint(0, 1, 0)})
    m.SetVertex(m.VertexCount(), p);
  m.SetTriangle(0, 0, 1, 2);
  m.SetTriangle(1, 0, 2, 3);
  m.SetQuad(2, 0, 1, 2, 9);  // index out of range
  const ON_MeshTopology& top = m.Topology();
  EXPECT_EQ(top.TopVertexCount(), 4);
  EXPECT_EQ(top.TopEdgeCount(), 5);
  EXPECT_FALSE(top.m_topf[2].IsValid());
  EXPECT_FALSE(m.IsValid());
}

TEST(Mesh, TopologyFollowsChangesMadeThroughTheSetters) {
  ON_Mesh m = SixVertexSquare();
  EXPECT_EQ(m.Topology().TopVertexCount(), 4);
  m.SetVertex(3, ON_3dPoint(0, 0, 1));
  EXPECT_EQ(m.Topology().TopVertexCount(), 5);
  const ON_Mesh copy(m);
  EXPECT_EQ(copy.Topology().TopVertexCount(), 5);
  EXPECT_EQ(copy.Topology().m_mesh, &copy);
}

TEST(Mesh, SettersAppendAtTheEndReplaceInsideAndRefuseGaps) {
  ON_Mesh m;
  EXPECT_TRUE(m.SetVertex(0, ON_3dPoint(1, 2, 3)));
  EXPECT_FALSE(m.SetVertex(2, ON_3dPoint(0, 0, 0)));
  EXPECT_FALSE(m.SetVertex(-1, ON_3dPoint(0, 0, 0)));
  EXPECT_TRUE(m.SetVertex(0, ON_3dPoint(4, 5, 6)));
  EXPECT_EQ(m.VertexCount(), 1);
  EXPECT_EQ(m.m_V[0], ON_3fPoint(4, 5, 6));
  EXPECT_TRUE(m.SetTriangle(0, 0, 1, 2));
  EXPECT_FALSE(m.SetQuad(2, 0, 1, 2, 3));
  EXPECT_TRUE(m.SetQuad(1, 0, 1, 2, 3));
  EXPECT_TRUE(m.m_F[0].IsTriangle());
  EXPECT_EQ(m.m_F[0].vi[3], 2);
  EXPECT_TRUE(m.m_F[1].IsQuad());
  EXPECT_EQ(m.TriangleCount(), 1);
  EXPECT_EQ(m.QuadCount(), 1);
}

TEST(Mesh, IsValidRejectsMeshesWithoutFacesOrWithBadIndices) {
  struct Case {
    const char* name;
    int vertices;
    std::vector<std::array<int, 4>> faces;
    bool valid;
  };
  const Case cases[] = {
      {"one triangle", 3, {{0, 1, 2, 2}}, true},
      {"one quad", 4, {{0, 1, 2, 3}}, true},
      {"no faces", 4, {}, false},
      {"index past the end", 3, {{0, 1, 3, 3}}, false},
      {"negative index", 3, {{0, -1, 2, 2}}, false},
      {"repeated corner", 3, {{0, 0, 2, 2}}, false},
      {"too few vertices", 2, {{0, 1, 1, 1}}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ON_Mesh m;
    for (int i = 0; i < c.vertices; ++i) m.SetVertex(i, ON_3dPoint(i, i * i, 0));
    for (const auto& f : c.faces) m.SetQuad(m.FaceCount(), f[0], f[1], f[2], f[3]);
    ON_TextLog log;
    EXPECT_EQ(m.IsValid(&log), c.valid);
    EXPECT_EQ(log.Text().empty(), c.valid);
  }
}

TEST(Mesh, CullingRepairsFacesDropsUnusedVerticesAndCompacts) {
  ON_Mesh m(8, 8, false, false);
  const ON_3dPoint p[6] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {5, 5, 5}, {1, 0, 0}};
  for (int i = 0; i < 6; ++i) m.SetVertex(i, p[i]);
  m.SetQuad(0, 0, 1, 1, 2);  // two equal neighbours: becomes the triangle 0, 1, 2
  m.SetQuad(1, 0, 2, 3, 3);  // a proper triangle
  m.SetQuad(2, 1, 5, 1, 5);  // vertices 1 and 5 coincide: nothing left
  m.SetTriangle(3, 2, 2, 2);
  // Vertex 4 is used by no face.
  EXPECT_EQ(m.CullUnusedVertices(), 1);
  EXPECT_EQ(m.VertexCount(), 5);
  EXPECT_EQ(m.m_F[2].vi[1], 4);  // vertex 5 renumbered
  EXPECT_EQ(m.CullDegenerateFaces(), 2);
  ASSERT_EQ(m.FaceCount(), 2);
  EXPECT_EQ(m.m_F[0], (ON_MeshFace{{0, 1, 2, 2}}));
  EXPECT_EQ(m.m_F[1], (ON_MeshFace{{0, 2, 3, 3}}));
  EXPECT_TRUE(m.Compact());
  EXPECT_EQ(m.m_V.Capacity(), m.VertexCount());
  EXPECT_EQ(m.CullUnusedVertices(), 1);  // vertex 5 is no longer used
  EXPECT_TRUE(m.IsValid());
}

TEST(Mesh, CullingAMeshToNothingLeavesItInvalid) {
  ON_Mesh m;
  for (int i = 0; i < 3; ++i) m.SetVertex(i, ON_3dPoint(0, 0, 0));
  m.SetTriangle(0, 0, 1, 2);
  EXPECT_EQ(m.CullDegenerateFaces(), 1);
  EXPECT_EQ(m.CullUnusedVertices(), 3);
  EXPECT_FALSE(m.IsValid());
}

TEST(Mesh, ClassArrayOfMeshesCopiesDeeply) {
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(SixVertexSquare());
  meshes.AppendNew().SetVertex(0, ON_3dPoint(7, 7, 7));
  ON_ClassArray<ON_Mesh> copy = meshes;
  meshes[0].SetVertex(0, ON_3dPoint(9, 9, 9));
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy[0].m_V[0], ON_3fPoint(0, 0, 0));
  EXPECT_EQ(copy[0].Topology().TopEdgeCount(), 5);
  EXPECT_EQ(copy[1].VertexCount(), 1);
}

}  // namespace
