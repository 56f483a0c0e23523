#pragma once
// ON_Mesh: single-precision vertices m_V and faces m_F of four vertex indices
// (a triangle repeats its third index: vi[2] == vi[3]), with optional vertex
// and face normals, texture coordinates and colours, and a topology built on
// first use.
#include <memory>

#include "on_color.h"
#include "on_geometry.h"
#include "on_mesh_topology.h"

class ON_MeshFace {
 public:
  int vi[4] = {0, 0, 0, 0};

  bool IsTriangle() const { return vi[2] == vi[3]; }
  bool IsQuad() const { return vi[2] != vi[3]; }
  // Every index in 0..vertex_count-1 and no corner repeated (but vi[2] == vi[3]).
  bool IsValid(int vertex_count) const;
  void Flip();
  bool operator==(const ON_MeshFace& f) const {
    return vi[0] == f.vi[0] && vi[1] == f.vi[1] && vi[2] == f.vi[2] && vi[3] == f.vi[3];
  }
};

class ON_Mesh : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_Mesh)
 public:
  ON_3fPointArray m_V;
  ON_SimpleArray<ON_MeshFace> m_F;
  ON_3fVectorArray m_N;   // vertex normals, one per vertex when present
  ON_3fVectorArray m_FN;  // face normals, one per face when present
  ON_2fPointArray m_T;    // texture coordinates, one per vertex when present
  ON_SimpleArray<ON_Color> m_C;  // vertex colours, one per vertex when present

  ON_Mesh() = default;
  ON_Mesh(int initial_face_array_capacity, int initial_vertex_array_capacity,
          bool has_vertex_normals, bool has_texture_coordinates);
  ON_Mesh(const ON_Mesh& src);
  ON_Mesh& operator=(const ON_Mesh& src);
  ON_Mesh(ON_Mesh&& src) noexcept;
  ON_Mesh& operator=(ON_Mesh&& src) noexcept;
  ~ON_Mesh() override;

  void Destroy();
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  ON::object_type ObjectType() const override { return ON::mesh_object; }
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
  bool Transform(const ON_Xform& xform) override;

  int VertexCount() const { return m_V.Count(); }
  int FaceCount() const { return m_F.Count(); }
  int TriangleCount() const;
  int QuadCount() const;
  bool HasVertexNormals() const { return m_N.Count() > 0 && m_N.Count() == m_V.Count(); }
  bool HasFaceNormals() const { return m_FN.Count() > 0 && m_FN.Count() == m_F.Count(); }
  bool HasTextureCoordinates() const { return m_T.Count() > 0 && m_T.Count() == m_V.Count(); }
  bool HasVertexColors() const { return m_C.Count() > 0 && m_C.Count() == m_V.Count(); }

  // Index equal to the vertex count appends; a smaller one replaces; a
  // larger one is refused.
  bool SetVertex(int vertex_index, const ON_3dPoint& point);
  bool SetVertex(int vertex_index, const ON_3fPoint& point);
  bool SetVertexNormal(int vertex_index, const ON_3dVector& normal);
  bool SetTextureCoord(int vertex_index, double s, double t);
  // Face index equal to the face count appends; smaller replaces; larger is refused.
  bool SetTriangle(int face_index, int a, int b, int c);
  bool SetQuad(int face_index, int a, int b, int c, int d);
  ON_3dPoint Vertex(int vertex_index) const;

  bool ComputeFaceNormals();
  bool ComputeVertexNormals();
  // Removes the vertices that no face uses and renumbers the faces; returns
  // how many went.
  int CullUnusedVertices();
  // Repairs faces with a repeated corner (a quad with two equal neighbours
  // becomes a triangle) and removes faces with fewer than three distinct
  // corners or indices out of range; returns how many faces were removed.
  int CullDegenerateFaces();
  // Drops spare capacity and per-vertex or per-face arrays of the wrong size.
  bool Compact();
  bool Append(const ON_Mesh& other);
  bool Flip();

  // The topology, built on the first call and kept until the mesh changes
  // through one of its member functions (DestroyTopology() after changing
  // m_V or m_F directly).
  const ON_MeshTopology& Topology() const;
  void DestroyTopology();
  bool HasTopology() const { return m_top != nullptr; }

 private:
  mutable std::unique_ptr<ON_MeshTopology> m_top;
};
