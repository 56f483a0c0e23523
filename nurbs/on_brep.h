#pragma once
// ON_Brep: a boundary representation. Faces lie on surfaces m_S; each face
// has loops of trims (2D curves m_C2 in the face's parameter space); trims
// belong to edges, which run along 3D curves m_C3 between vertices. Indices
// join the parts; the B-rep owns its curves and surfaces.
#include "on_curve.h"
#include "on_point_object.h"
#include "on_surface.h"

class ON_Brep;
class ON_BrepEdge;
class ON_BrepFace;
class ON_BrepLoop;
class ON_BrepTrim;

class ON_BrepVertex : public ON_Point {
  ON_OBJECT_DECLARE(ON_BrepVertex)
 public:
  int m_vertex_index = -1;
  ON_SimpleArray<int> m_ei;  // edges that start or end here
  double m_tolerance = ON_UNSET_VALUE;

  ON_BrepVertex() = default;
  explicit ON_BrepVertex(int vertex_index) : m_vertex_index(vertex_index) {}
  int EdgeCount() const { return m_ei.Count(); }
  const ON_3dPoint& Point() const { return point; }
};

class ON_BrepEdge : public ON_Object {
  ON_OBJECT_DECLARE(ON_BrepEdge)
 public:
  int m_edge_index = -1;
  int m_c3i = -1;             // index into m_C3
  int m_vi[2] = {-1, -1};     // start and end vertex
  ON_SimpleArray<int> m_ti;   // trims that use the edge
  double m_tolerance = ON_UNSET_VALUE;
  // The part of the 3D curve the edge uses; unset means the whole curve.
  ON_Interval m_domain;
  ON_Brep* m_brep = nullptr;

  ON_BrepEdge() = default;
  explicit ON_BrepEdge(int edge_index) : m_edge_index(edge_index) {}
  const ON_Curve* EdgeCurveOf() const;
  ON_Interval Domain() const;
  ON_BrepVertex* Vertex(int i) const;
  int TrimCount() const { return m_ti.Count(); }
  ON_BrepTrim* Trim(int i) const;
  ON_3dPoint PointAtStart() const;
  ON_3dPoint PointAtEnd() const;
};

class ON_BrepTrim : public ON_Object {
  ON_OBJECT_DECLARE(ON_BrepTrim)
 public:
  enum TYPE { unknown = 0, boundary = 1, mated = 2, seam = 3, singular = 4, crvonsrf = 5,
              ptonsrf = 6, slit = 7, trim_type_count = 8 };

  int m_trim_index = -1;
  int m_c2i = -1;          // index into m_C2
  int m_ei = -1;           // edge, -1 for a singular trim
  int m_vi[2] = {-1, -1};  // start and end vertex
  bool m_bRev3d = false;   // true when the trim runs against its edge
  TYPE m_type = unknown;
  ON_Surface::ISO m_iso = ON_Surface::not_iso;
  int m_li = -1;           // loop
  double m_tolerance[2] = {ON_UNSET_VALUE, ON_UNSET_VALUE};
  ON_Interval m_domain;    // part of the 2D curve; unset: the whole curve
  ON_Brep* m_brep = nullptr;

  ON_BrepTrim() = default;
  explicit ON_BrepTrim(int trim_index) : m_trim_index(trim_index) {}
  const ON_Curve* TrimCurveOf() const;
  ON_Interval Domain() const;
  ON_BrepEdge* Edge() const;
  ON_BrepLoop* Loop() const;
  ON_BrepFace* Face() const;
  ON_BrepVertex* Vertex(int i) const;
};

class ON_BrepLoop : public ON_Object {
  ON_OBJECT_DECLARE(ON_BrepLoop)
 public:
  enum TYPE { unknown = 0, outer = 1, inner = 2, slit = 3, crvonsrf = 4, ptonsrf = 5,
              type_count = 6 };

  int m_loop_index = -1;
  ON_SimpleArray<int> m_ti;  // trims in order around the loop
  TYPE m_type = unknown;
  int m_fi = -1;
  ON_Brep* m_brep = nullptr;

  ON_BrepLoop() = default;
  explicit ON_BrepLoop(int loop_index) : m_loop_index(loop_index) {}
  int TrimCount() const { return m_ti.Count(); }
  ON_BrepTrim* Trim(int i) const;
  ON_BrepFace* Face() const;
};

class ON_BrepFace : public ON_Object {
  ON_OBJECT_DECLARE(ON_BrepFace)
 public:
  int m_face_index = -1;
  ON_SimpleArray<int> m_li;  // loops, the outer one first
  int m_si = -1;             // index into m_S
  bool m_bRev = false;       // true when the face's normal is opposite the surface's
  int m_face_material_channel = 0;
  ON_Brep* m_brep = nullptr;

  ON_BrepFace() = default;
  explicit ON_BrepFace(int face_index) : m_face_index(face_index) {}
  const ON_Surface* SurfaceOf() const;
  int LoopCount() const { return m_li.Count(); }
  ON_BrepLoop* Loop(int i) const;
  ON_BrepLoop* OuterLoop() const;
};

class ON_Brep : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_Brep)
 public:
  ON_CurveArray m_C2;
  ON_CurveArray m_C3;
  ON_SurfaceArray m_S;
  ON_ObjectArray<ON_BrepVertex> m_V;
  ON_ObjectArray<ON_BrepEdge> m_E;
  ON_ObjectArray<ON_BrepTrim> m_T;
  ON_ObjectArray<ON_BrepLoop> m_L;
  ON_ObjectArray<ON_BrepFace> m_F;

  ON_Brep() = default;
  ON_Brep(const ON_Brep& src);
  ON_Brep& operator=(const ON_Brep& src);
  ~ON_Brep() override = default;
  void Destroy();

  // Each Add takes over the geometry and returns its index (-1 for null).
  int AddSurface(ON_Surface* surface);
  int AddEdgeCurve(ON_Curve* curve);
  int AddTrimCurve(ON_Curve* curve);
  ON_BrepVertex& NewVertex(const ON_3dPoint& point, double tolerance = ON_UNSET_VALUE);
  // The edge from v0 to v1 along m_C3[c3i] (optionally only over subdomain).
  ON_BrepEdge& NewEdge(ON_BrepVertex& v0, ON_BrepVertex& v1, int c3i,
                       const ON_Interval* subdomain = nullptr, double tolerance = ON_UNSET_VALUE);
  ON_BrepFace& NewFace(int si);
  ON_BrepLoop& NewLoop(ON_BrepLoop::TYPE type, ON_BrepFace& face);
  // A trim of the loop along m_C2[c2i] that uses the edge; its vertices come
  // from the edge (swapped when rev3d).
  ON_BrepTrim& NewTrim(ON_BrepEdge& edge, bool rev3d, ON_BrepLoop& loop, int c2i);
  // A trim with no edge (a singular trim at a surface pole, at vertex vi).
  ON_BrepTrim& NewSingularTrim(const ON_BrepVertex& vertex, ON_BrepLoop& loop,
                               ON_Surface::ISO iso, int c2i);

  int VertexCount() const { return m_V.Count(); }
  int EdgeCount() const { return m_E.Count(); }
  int TrimCount() const { return m_T.Count(); }
  int LoopCount() const { return m_L.Count(); }
  int FaceCount() const { return m_F.Count(); }
  // Every edge used by exactly two trims, none of them a boundary.
  bool IsSolid() const;

  // Checks that every index is in range and the parts refer to each other
  // consistently.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  ON::object_type ObjectType() const override { return ON::brep_object; }
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
  bool Transform(const ON_Xform& xform) override;

 private:
  void SetBackPointers();
};
