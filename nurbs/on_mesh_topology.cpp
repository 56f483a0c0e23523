#include "on_mesh_topology.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <vector>

#include "on_mesh.h"

namespace {

// Orders floats with every NaN last, so that sorting stays well defined.
bool FloatLess(float a, float b) {
  const bool an = std::isnan(a), bn = std::isnan(b);
  if (an || bn) return !an && bn;
  return a < b;
}

bool PointLess(const ON_3fPoint& a, const ON_3fPoint& b) {
  if (FloatLess(a.x, b.x)) return true;
  if (FloatLess(b.x, a.x)) return false;
  if (FloatLess(a.y, b.y)) return true;
  if (FloatLess(b.y, a.y)) return false;
  return FloatLess(a.z, b.z);
}

}  // namespace

void ON_MeshTopology::Destroy() {
  m_mesh = nullptr;
  m_topv_map.Destroy();
  m_topv.Destroy();
  m_tope.Destroy();
  m_topf.Destroy();
  m_storage.Destroy();
}

bool ON_MeshTopology::Create(const ON_Mesh& mesh) {
  Destroy();
  const int nv = mesh.m_V.Count();
  const int nf = mesh.m_F.Count();

  // Vertices: group mesh vertices with identical coordinates.
  std::vector<int> order(static_cast<size_t>(nv));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return PointLess(mesh.m_V[a], mesh.m_V[b]); });
  std::vector<std::vector<int>> groups;
  for (size_t i = 0; i < order.size(); ++i) {
    const int v = order[i];
    if (i == 0 || !(mesh.m_V[v] == mesh.m_V[order[i - 1]])) groups.emplace_back();
    groups.back().push_back(v);
  }
  for (auto& g : groups) std::sort(g.begin(), g.end());
  std::sort(groups.begin(), groups.end(),
            [](const std::vector<int>& a, const std::vector<int>& b) { return a.front() < b.front(); });
  m_topv_map.SetCount(nv);
  for (size_t t = 0; t < groups.size(); ++t)
    for (int v : groups[t]) m_topv_map[v] = static_cast<int>(t);

  // Edges and faces.
  std::unordered_map<long long, int> edge_of;
  std::vector<std::vector<int>> edge_faces;
  std::vector<std::pair<int, int>> edges;
  m_topf.SetCount(nf);
  for (int f = 0; f < nf; ++f) {
    const ON_MeshFace& face = mesh.m_F[f];
    ON_MeshTopologyFace& tf = m_topf[f];
    bool in_range = true;
    for (int vi : face.vi)
      if (vi < 0 || vi >= nv) in_range = false;
    if (!in_range) continue;
    const int sides = face.IsTriangle() ? 3 : 4;
    for (int j = 0; j < sides; ++j) {
      const int a = m_topv_map[face.vi[j]];
      const int b = m_topv_map[face.vi[(j + 1) % sides]];
      if (a == b) continue;  // a side of zero length has no edge
      const int lo = std::min(a, b), hi = std::max(a, b);
      const long long key = (static_cast<long long>(lo) << 32) | static_cast<unsigned>(hi);
      auto it = edge_of.find(key);
      int e;
      if (it == edge_of.end()) {
        e = static_cast<int>(edges.size());
        edge_of.emplace(key, e);
        edges.emplace_back(lo, hi);
        edge_faces.emplace_back();
      } else {
        e = it->second;
      }
      if (edge_faces[static_cast<size_t>(e)].empty() || edge_faces[static_cast<size_t>(e)].back() != f)
        edge_faces[static_cast<size_t>(e)].push_back(f);
      tf.m_topei[j] = e;
      tf.m_reve[j] = a != lo;
    }
    if (sides == 3) {
      tf.m_topei[3] = tf.m_topei[2];
      tf.m_reve[3] = tf.m_reve[2];
    }
  }

  // Edge lists of the vertices.
  std::vector<std::vector<int>> vertex_edges(groups.size());
  for (size_t e = 0; e < edges.size(); ++e) {
    vertex_edges[static_cast<size_t>(edges[e].first)].push_back(static_cast<int>(e));
    vertex_edges[static_cast<size_t>(edges[e].second)].push_back(static_cast<int>(e));
  }

  // One block of storage for every list; the pointers are set once it is full.
  size_t total = static_cast<size_t>(nv) + 2 * edges.size();
  for (const auto& ef : edge_faces) total += ef.size();
  m_storage.SetCount(static_cast<int>(total));
  int* p = m_storage.Array();
  m_topv.SetCount(static_cast<int>(groups.size()));
  for (size_t t = 0; t < groups.size(); ++t) {
    ON_MeshTopologyVertex& tv = m_topv[static_cast<int>(t)];
    tv.m_v_count = static_cast<int>(groups[t].size());
    tv.m_vi = p;
    p = std::copy(groups[t].begin(), groups[t].end(), p);
    tv.m_tope_count = static_cast<int>(vertex_edges[t].size());
    tv.m_topei = p;
    p = std::copy(vertex_edges[t].begin(), vertex_edges[t].end(), p);
  }
  m_tope.SetCount(static_cast<int>(edges.size()));
  for (size_t e = 0; e < edges.size(); ++e) {
    ON_MeshTopologyEdge& te = m_tope[static_cast<int>(e)];
    te.m_topvi[0] = edges[e].first;
    te.m_topvi[1] = edges[e].second;
    te.m_topf_count = static_cast<int>(edge_faces[e].size());
    te.m_topfi = p;
    p = std::copy(edge_faces[e].begin(), edge_faces[e].end(), p);
  }
  m_mesh = &mesh;
  return true;
}

ON_3fPoint ON_MeshTopology::TopVertexPoint(int i) const {
  if (!m_mesh || i < 0 || i >= m_topv.Count() || m_topv[i].m_v_count < 1)
    return ON_3fPoint(ON_UNSET_FLOAT, ON_UNSET_FLOAT, ON_UNSET_FLOAT);
  return m_mesh->m_V[m_topv[i].m_vi[0]];
}

ON_Line ON_MeshTopology::TopEdgeLine(int e) const {
  if (e < 0 || e >= m_tope.Count()) return ON_Line(ON_UNSET_POINT, ON_UNSET_POINT);
  return ON_Line(ON_3dPoint(TopVertexPoint(m_tope[e].m_topvi[0])),
                 ON_3dPoint(TopVertexPoint(m_tope[e].m_topvi[1])));
}
