#include "on_mesh_topology.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "on_mesh.h"


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

  // Vertices: mesh vertices with identical coordinates share one
  // topological vertex, numbered in the order of their first mesh vertex.
  // (-0 and 0 are the same place; a NaN coordinate matches nothing.)
  struct Key {
    std::uint32_t x, y, z;
    bool operator==(const Key& k) const { return x == k.x && y == k.y && z == k.z; }
  };
  struct KeyHash {
    size_t operator()(const Key& k) const {
      std::uint64_t h = k.x * 0x9E3779B97F4A7C15ull;
      h ^= (h >> 29) ^ (k.y * 0xBF58476D1CE4E5B9ull);
      h ^= (h >> 31) ^ (k.z * 0x94D049BB133111EBull);
      return static_cast<size_t>(h ^ (h >> 32));
    }
  };
  auto bits = [](float f) {
    if (f == 0.0f) f = 0.0f;
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
  };
  std::unordered_map<Key, int, KeyHash> place_of;
  place_of.reserve(static_cast<size_t>(nv));
  m_topv_map.SetCount(nv);
  int ntv = 0;
  std::vector<int> vertex_count;
  for (int v = 0; v < nv; ++v) {
    const ON_3fPoint& p = mesh.m_V[v];
    int t;
    if (std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z)) {
      t = ntv++;
    } else {
      const auto [it, added] = place_of.try_emplace(Key{bits(p.x), bits(p.y), bits(p.z)}, ntv);
      t = it->second;
      if (added) ++ntv;
    }
    if (t == static_cast<int>(vertex_count.size())) vertex_count.push_back(0);
    ++vertex_count[static_cast<size_t>(t)];
    m_topv_map[v] = t;
  }
  place_of.clear();

  // Edges, in the order the faces meet them, and (edge, face) pairs.
  std::unordered_map<long long, int> edge_of;
  edge_of.reserve(static_cast<size_t>(nf) * 2);
  std::vector<std::pair<int, int>> edges;
  std::vector<std::pair<int, int>> uses;  // (edge, face)
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
      const auto [it, added] = edge_of.try_emplace(key, static_cast<int>(edges.size()));
      if (added) edges.emplace_back(lo, hi);
      const int e = it->second;
      if (uses.empty() || uses.back() != std::make_pair(e, f)) uses.emplace_back(e, f);
      tf.m_topei[j] = e;
      tf.m_reve[j] = a != lo;
    }
    if (sides == 3) {
      tf.m_topei[3] = tf.m_topei[2];
      tf.m_reve[3] = tf.m_reve[2];
    }
  }
  const int ne = static_cast<int>(edges.size());

  // One block of storage for every list, laid out by counting; the pointers
  // are set once it is full. A face can meet an edge twice only through a
  // folded quad; it is then listed twice.
  std::vector<int> vertex_edge_count(static_cast<size_t>(ntv), 0), edge_face_count(static_cast<size_t>(ne), 0);
  for (const auto& e : edges) {
    ++vertex_edge_count[static_cast<size_t>(e.first)];
    ++vertex_edge_count[static_cast<size_t>(e.second)];
  }
  for (const auto& u : uses) ++edge_face_count[static_cast<size_t>(u.first)];
  const size_t total = static_cast<size_t>(nv) + 2 * edges.size() + uses.size();
  m_storage.SetCount(static_cast<int>(total));
  int* base = m_storage.Array();
  size_t at = 0;
  m_topv.SetCount(ntv);
  for (int t = 0; t < ntv; ++t) {
    ON_MeshTopologyVertex& tv = m_topv[t];
    tv.m_vi = base + at;
    at += static_cast<size_t>(vertex_count[static_cast<size_t>(t)]);
    tv.m_topei = base + at;
    at += static_cast<size_t>(vertex_edge_count[static_cast<size_t>(t)]);
  }
  for (int v = 0; v < nv; ++v) {
    ON_MeshTopologyVertex& tv = m_topv[m_topv_map[v]];
    const_cast<int*>(tv.m_vi)[tv.m_v_count++] = v;
  }
  m_tope.SetCount(ne);
  for (int e = 0; e < ne; ++e) {
    ON_MeshTopologyEdge& te = m_tope[e];
    te.m_topvi[0] = edges[static_cast<size_t>(e)].first;
    te.m_topvi[1] = edges[static_cast<size_t>(e)].second;
    te.m_topfi = base + at;
    at += static_cast<size_t>(edge_face_count[static_cast<size_t>(e)]);
  }
  // Fill the lists in edge and face order.
  for (int e = 0; e < ne; ++e)
    for (int end : {edges[static_cast<size_t>(e)].first, edges[static_cast<size_t>(e)].second}) {
      ON_MeshTopologyVertex& tv = m_topv[end];
      const_cast<int*>(tv.m_topei)[tv.m_tope_count++] = e;
    }
  for (const auto& u : uses) {
    ON_MeshTopologyEdge& te = m_tope[u.first];
    const_cast<int*>(te.m_topfi)[te.m_topf_count++] = u.second;
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
