#pragma once
// ON_MeshTopology: mesh vertices at the same location share one topological
// vertex; edges join topological vertices; faces list their edges.
#include "on_array.h"
#include "on_line.h"
#include "on_point.h"

class ON_Mesh;

class ON_MeshTopologyVertex {
 public:
  int m_tope_count = 0;
  const int* m_topei = nullptr;  // indices into m_tope
  int m_v_count = 0;
  const int* m_vi = nullptr;     // mesh vertex indices, increasing
};

class ON_MeshTopologyEdge {
 public:
  int m_topvi[2] = {-1, -1};     // topological vertices, first and second
  int m_topf_count = 0;
  const int* m_topfi = nullptr;  // indices of the faces that use the edge
};

class ON_MeshTopologyFace {
 public:
  // Edges of the sides vi[0]-vi[1], vi[1]-vi[2], vi[2]-vi[3], vi[3]-vi[0];
  // for a triangle m_topei[2] is the side vi[2]-vi[0] and m_topei[3] repeats it.
  // -1 for a face that was left out (an index out of range).
  int m_topei[4] = {-1, -1, -1, -1};
  // True where the face runs along the edge against its direction.
  bool m_reve[4] = {false, false, false, false};
  bool IsTriangle() const { return m_topei[2] == m_topei[3] && m_topei[0] != m_topei[1]; }
  bool IsValid() const { return m_topei[0] >= 0; }
};

class ON_MeshTopology {
 public:
  const ON_Mesh* m_mesh = nullptr;
  ON_SimpleArray<int> m_topv_map;  // mesh vertex index -> topological vertex index
  ON_SimpleArray<ON_MeshTopologyVertex> m_topv;
  ON_SimpleArray<ON_MeshTopologyEdge> m_tope;
  ON_SimpleArray<ON_MeshTopologyFace> m_topf;

  ON_MeshTopology() = default;
  // Copies hold no pointers into the original's storage: they rebuild.
  ON_MeshTopology(const ON_MeshTopology&) = delete;
  ON_MeshTopology& operator=(const ON_MeshTopology&) = delete;

  // Topological vertices are numbered in the order of their first mesh
  // vertex; edges in the order faces meet them, each with its lower
  // topological vertex first.
  bool Create(const ON_Mesh& mesh);
  void Destroy();
  bool IsValid() const { return m_mesh != nullptr; }

  int TopVertexCount() const { return m_topv.Count(); }
  int TopEdgeCount() const { return m_tope.Count(); }
  int TopFaceCount() const { return m_topf.Count(); }
  // The location of the topological vertex: that of its first mesh vertex.
  ON_3fPoint TopVertexPoint(int topv_index) const;
  ON_Line TopEdgeLine(int tope_index) const;

 private:
  ON_SimpleArray<int> m_storage;  // the lists the pointers above point into
};
