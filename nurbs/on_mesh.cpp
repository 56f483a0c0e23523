#include "on_mesh.h"

#include <algorithm>
#include <vector>

#include "on_textlog.h"
#include "on_xform.h"

ON_OBJECT_IMPLEMENT(ON_Mesh, ON_Geometry)

bool ON_MeshFace::IsValid(int n) const {
  for (int v : vi)
    if (v < 0 || v >= n) return false;
  return vi[0] != vi[1] && vi[1] != vi[2] && vi[2] != vi[0] &&
         (vi[2] == vi[3] || (vi[0] != vi[3] && vi[1] != vi[3]));
}

void ON_MeshFace::Flip() {
  if (IsTriangle()) {
    std::swap(vi[1], vi[2]);
    vi[3] = vi[2];
  } else {
    std::swap(vi[1], vi[3]);
  }
}

ON_Mesh::ON_Mesh(int faces, int vertices, bool normals, bool texture)
    : m_V(vertices > 0 ? vertices : 0), m_F(faces > 0 ? faces : 0) {
  if (normals) m_N.Reserve(vertices);
  if (texture) m_T.Reserve(vertices);
}

ON_Mesh::ON_Mesh(const ON_Mesh& src)
    : ON_Geometry(src), m_V(src.m_V), m_F(src.m_F), m_N(src.m_N), m_FN(src.m_FN), m_T(src.m_T),
      m_C(src.m_C) {}

ON_Mesh& ON_Mesh::operator=(const ON_Mesh& src) {
  if (this != &src) {
    ON_Geometry::operator=(src);
    m_V = src.m_V;
    m_F = src.m_F;
    m_N = src.m_N;
    m_FN = src.m_FN;
    m_T = src.m_T;
    m_C = src.m_C;
    DestroyTopology();
  }
  return *this;
}

ON_Mesh::ON_Mesh(ON_Mesh&& src) noexcept : ON_Geometry(src) { *this = std::move(src); }

ON_Mesh& ON_Mesh::operator=(ON_Mesh&& src) noexcept {
  if (this != &src) {
    m_V = std::move(src.m_V);
    m_F = std::move(src.m_F);
    m_N = std::move(src.m_N);
    m_FN = std::move(src.m_FN);
    m_T = std::move(src.m_T);
    m_C = std::move(src.m_C);
    // The topology keeps pointing at the vertex storage it was built from,
    // which moved along; rebuild it on demand instead.
    m_top.reset();
    src.m_top.reset();
  }
  return *this;
}

ON_Mesh::~ON_Mesh() = default;

void ON_Mesh::Destroy() {
  m_V.Destroy();
  m_F.Destroy();
  m_N.Destroy();
  m_FN.Destroy();
  m_T.Destroy();
  m_C.Destroy();
  DestroyTopology();
}

bool ON_Mesh::IsValid(ON_TextLog* log) const {
  const int nv = m_V.Count(), nf = m_F.Count();
  if (nv < 3) {
    if (log) log->Print("ON_Mesh: fewer than three vertices.\n");
    return false;
  }
  if (nf < 1) {
    if (log) log->Print("ON_Mesh: no faces.\n");
    return false;
  }
  for (int i = 0; i < nv; ++i) {
    const ON_3fPoint& p = m_V[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) || p.x == ON_UNSET_FLOAT ||
        p.y == ON_UNSET_FLOAT || p.z == ON_UNSET_FLOAT) {
      if (log) log->Print("ON_Mesh: vertex %d is not a valid point.\n", i);
      return false;
    }
  }
  for (int i = 0; i < nf; ++i)
    if (!m_F[i].IsValid(nv)) {
      if (log) log->Print("ON_Mesh: face %d has an index out of range or a repeated corner.\n", i);
      return false;
    }
  if (m_N.Count() > 0 && m_N.Count() != nv) {
    if (log) log->Print("ON_Mesh: vertex normal count differs from the vertex count.\n");
    return false;
  }
  if (m_T.Count() > 0 && m_T.Count() != nv) {
    if (log) log->Print("ON_Mesh: texture coordinate count differs from the vertex count.\n");
    return false;
  }
  if (m_FN.Count() > 0 && m_FN.Count() != nf) {
    if (log) log->Print("ON_Mesh: face normal count differs from the face count.\n");
    return false;
  }
  return true;
}

bool ON_Mesh::GetBBox(double* box_min, double* box_max, bool grow) const {
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  for (const auto& p : m_V) b.Set(ON_3dPoint(p), true);
  if (!b.IsValid()) return false;
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}

bool ON_Mesh::Transform(const ON_Xform& xform) {
  for (auto& p : m_V) p = ON_3fPoint(xform * ON_3dPoint(p));
  if (m_N.Count() > 0) {
    // Normals go through the inverse transpose.
    ON_Xform n = xform.Inverse();
    n.Transpose();
    for (auto& v : m_N) {
      ON_3dVector w = n * ON_3dVector(v);
      w.Unitize();
      v = ON_3fVector(w);
    }
  }
  if (m_FN.Count() > 0) ComputeFaceNormals();
  DestroyTopology();
  return true;
}

int ON_Mesh::TriangleCount() const {
  int n = 0;
  for (const auto& f : m_F) n += f.IsTriangle() ? 1 : 0;
  return n;
}

int ON_Mesh::QuadCount() const { return FaceCount() - TriangleCount(); }

bool ON_Mesh::SetVertex(int i, const ON_3dPoint& p) { return SetVertex(i, ON_3fPoint(p)); }

bool ON_Mesh::SetVertex(int i, const ON_3fPoint& p) {
  if (i < 0 || i > m_V.Count()) return false;
  if (i == m_V.Count()) m_V.Append(p);
  else m_V[i] = p;
  DestroyTopology();
  return true;
}

bool ON_Mesh::SetVertexNormal(int i, const ON_3dVector& n) {
  if (i < 0 || i > m_N.Count()) return false;
  ON_3dVector u = n;
  u.Unitize();
  if (i == m_N.Count()) m_N.Append(ON_3fVector(u));
  else m_N[i] = ON_3fVector(u);
  return true;
}

bool ON_Mesh::SetTextureCoord(int i, double s, double t) {
  if (i < 0 || i > m_T.Count()) return false;
  const ON_2fPoint p(static_cast<float>(s), static_cast<float>(t));
  if (i == m_T.Count()) m_T.Append(p);
  else m_T[i] = p;
  return true;
}

bool ON_Mesh::SetTriangle(int i, int a, int b, int c) { return SetQuad(i, a, b, c, c); }

bool ON_Mesh::SetQuad(int i, int a, int b, int c, int d) {
  if (i < 0 || i > m_F.Count()) return false;
  ON_MeshFace f;
  f.vi[0] = a;
  f.vi[1] = b;
  f.vi[2] = c;
  f.vi[3] = d;
  if (i == m_F.Count()) m_F.Append(f);
  else m_F[i] = f;
  DestroyTopology();
  return true;
}

ON_3dPoint ON_Mesh::Vertex(int i) const {
  return (i >= 0 && i < m_V.Count()) ? ON_3dPoint(m_V[i]) : ON_UNSET_POINT;
}

bool ON_Mesh::ComputeFaceNormals() {
  const int nv = m_V.Count();
  m_FN.SetCount(m_F.Count());
  bool ok = true;
  for (int i = 0; i < m_F.Count(); ++i) {
    const ON_MeshFace& f = m_F[i];
    bool in_range = true;
    for (int v : f.vi) in_range = in_range && v >= 0 && v < nv;
    ON_3dVector n;
    if (in_range) {
      // Cross product of the diagonals (of the two sides for a triangle).
      const ON_3dPoint a(m_V[f.vi[0]]), b(m_V[f.vi[1]]), c(m_V[f.vi[2]]), d(m_V[f.vi[3]]);
      n = f.IsTriangle() ? ON_CrossProduct(b - a, c - a) : ON_CrossProduct(c - a, d - b);
    }
    if (!n.Unitize()) ok = false;
    m_FN[i] = ON_3fVector(n);
  }
  return ok;
}

bool ON_Mesh::ComputeVertexNormals() {
  if (!HasFaceNormals()) ComputeFaceNormals();
  std::vector<ON_3dVector> sum(static_cast<size_t>(m_V.Count()));
  for (int i = 0; i < m_F.Count(); ++i) {
    const ON_MeshFace& f = m_F[i];
    const int corners = f.IsTriangle() ? 3 : 4;
    for (int k = 0; k < corners; ++k)
      if (f.vi[k] >= 0 && f.vi[k] < m_V.Count()) sum[static_cast<size_t>(f.vi[k])] += ON_3dVector(m_FN[i]);
  }
  m_N.SetCount(m_V.Count());
  for (int i = 0; i < m_V.Count(); ++i) {
    ON_3dVector n = sum[static_cast<size_t>(i)];
    n.Unitize();
    m_N[i] = ON_3fVector(n);
  }
  return true;
}

int ON_Mesh::CullUnusedVertices() {
  const int nv = m_V.Count();
  std::vector<int> map(static_cast<size_t>(nv), -1);
  for (const auto& f : m_F)
    for (int v : f.vi)
      if (v >= 0 && v < nv) map[static_cast<size_t>(v)] = 0;
  int kept = 0;
  for (int i = 0; i < nv; ++i)
    if (map[static_cast<size_t>(i)] == 0) map[static_cast<size_t>(i)] = kept++;
  const int culled = nv - kept;
  if (culled == 0) return 0;
  const bool normals = HasVertexNormals(), texture = HasTextureCoordinates(), colors = HasVertexColors();
  int k = 0;
  for (int i = 0; i < nv; ++i) {
    if (map[static_cast<size_t>(i)] < 0) continue;
    m_V[k] = m_V[i];
    if (normals) m_N[k] = m_N[i];
    if (texture) m_T[k] = m_T[i];
    if (colors) m_C[k] = m_C[i];
    ++k;
  }
  m_V.SetCount(kept);
  if (normals) m_N.SetCount(kept);
  if (texture) m_T.SetCount(kept);
  if (colors) m_C.SetCount(kept);
  // An index out of range becomes -1, so the face stays recognisably broken.
  for (auto& f : m_F)
    for (int& v : f.vi) v = (v >= 0 && v < nv) ? map[static_cast<size_t>(v)] : -1;
  DestroyTopology();
  return culled;
}

int ON_Mesh::CullDegenerateFaces() {
  const int nv = m_V.Count();
  const bool face_normals = HasFaceNormals();
  auto same = [&](int a, int b) { return a == b || m_V[a] == m_V[b]; };
  int kept = 0;
  for (int i = 0; i < m_F.Count(); ++i) {
    ON_MeshFace f = m_F[i];
    bool in_range = true;
    for (int v : f.vi) in_range = in_range && v >= 0 && v < nv;
    bool keep = false;
    if (in_range) {
      std::vector<int> c(f.vi, f.vi + (f.IsTriangle() ? 3 : 4));
      // Drop corners equal to their successor, around the face.
      for (size_t j = 0; j < c.size() && c.size() > 1;) {
        if (same(c[j], c[(j + 1) % c.size()])) c.erase(c.begin() + static_cast<std::ptrdiff_t>(j));
        else ++j;
      }
      if (c.size() == 3) {
        f.vi[0] = c[0];
        f.vi[1] = c[1];
        f.vi[2] = f.vi[3] = c[2];
        keep = true;
      } else if (c.size() == 4) {
        // Opposite corners must differ too.
        keep = !same(c[0], c[2]) && !same(c[1], c[3]);
      }
    }
    if (!keep) continue;
    m_F[kept] = f;
    if (face_normals) m_FN[kept] = m_FN[i];
    ++kept;
  }
  const int culled = m_F.Count() - kept;
  m_F.SetCount(kept);
  if (face_normals) m_FN.SetCount(kept);
  if (culled) DestroyTopology();
  return culled;
}

bool ON_Mesh::Compact() {
  const int nv = m_V.Count(), nf = m_F.Count();
  if (m_N.Count() != nv) m_N.Destroy();
  if (m_T.Count() != nv) m_T.Destroy();
  if (m_C.Count() != nv) m_C.Destroy();
  if (m_FN.Count() != nf) m_FN.Destroy();
  m_V.Shrink();
  m_F.Shrink();
  m_N.Shrink();
  m_T.Shrink();
  m_C.Shrink();
  m_FN.Shrink();
  return true;
}

bool ON_Mesh::Append(const ON_Mesh& other) {
  if (&other == this) {
    const ON_Mesh copy(other);
    return Append(copy);
  }
  const int base = m_V.Count();
  const bool normals = HasVertexNormals() && other.HasVertexNormals();
  const bool texture = HasTextureCoordinates() && other.HasTextureCoordinates();
  const bool colors = HasVertexColors() && other.HasVertexColors();
  const bool fn = HasFaceNormals() && other.HasFaceNormals();
  m_V.Append(other.m_V.Count(), other.m_V.Array());
  if (normals) m_N.Append(other.m_N.Count(), other.m_N.Array()); else m_N.Destroy();
  if (texture) m_T.Append(other.m_T.Count(), other.m_T.Array()); else m_T.Destroy();
  if (colors) m_C.Append(other.m_C.Count(), other.m_C.Array()); else m_C.Destroy();
  for (ON_MeshFace f : other.m_F) {
    for (int& v : f.vi) v += base;
    m_F.Append(f);
  }
  if (fn) m_FN.Append(other.m_FN.Count(), other.m_FN.Array()); else m_FN.Destroy();
  DestroyTopology();
  return true;
}

bool ON_Mesh::Flip() {
  for (auto& f : m_F) f.Flip();
  for (auto& n : m_N) n = ON_3fVector(-n.x, -n.y, -n.z);
  for (auto& n : m_FN) n = ON_3fVector(-n.x, -n.y, -n.z);
  DestroyTopology();
  return true;
}

const ON_MeshTopology& ON_Mesh::Topology() const {
  if (!m_top || m_top->m_mesh != this) {
    m_top = std::make_unique<ON_MeshTopology>();
    m_top->Create(*this);
  }
  return *m_top;
}

void ON_Mesh::DestroyTopology() { m_top.reset(); }
