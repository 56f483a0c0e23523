#include "VertexWelder.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace kelvrash::stl {
namespace {

template <class Scalar>
using Key = std::array<Scalar, 3>;

template <class Scalar>
std::uint64_t Bits(Scalar value) {
  if (value == Scalar(0)) value = Scalar(0);  // -0 and +0 are one coordinate
  if constexpr (sizeof(Scalar) == 4)
    return std::bit_cast<std::uint32_t>(value);
  else
    return std::bit_cast<std::uint64_t>(value);
}

template <class Scalar>
std::uint64_t Hash(const Key<Scalar>& p) {
  // Mix of the three bit patterns (splitmix64 finaliser).
  std::uint64_t h = Bits(p[0]) * 0x9E3779B97F4A7C15ull;
  h ^= Bits(p[1]) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
  h ^= Bits(p[2]) + 0x94D049BB133111EBull + (h << 6) + (h >> 2);
  h ^= h >> 30;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 27;
  h *= 0x94D049BB133111EBull;
  h ^= h >> 31;
  return h;
}

// Open addressing with linear probing over vertex indices; the keys live in
// the mesh's own vertex array.
template <class Scalar>
class VertexTable {
 public:
  explicit VertexTable(size_t expected) {
    size_t capacity = 16;
    while (capacity < expected * 2) capacity *= 2;
    slots_.assign(capacity, kEmpty);
    mask_ = capacity - 1;
  }

  std::uint32_t Find(const Key<Scalar>& p, std::vector<Key<Scalar>>& vertices) {
    if (vertices.size() * 2 >= slots_.size()) Grow(vertices);
    size_t slot = Hash(p) & mask_;
    for (;;) {
      const std::uint32_t index = slots_[slot];
      if (index == kEmpty) {
        const auto added = static_cast<std::uint32_t>(vertices.size());
        vertices.push_back(p);
        slots_[slot] = added;
        return added;
      }
      if (Same(vertices[index], p)) return index;
      slot = (slot + 1) & mask_;
    }
  }

 private:
  void Grow(const std::vector<Key<Scalar>>& vertices) {
    slots_.assign(slots_.size() * 2, kEmpty);
    mask_ = slots_.size() - 1;
    for (size_t i = 0; i < vertices.size(); ++i) {
      size_t slot = Hash(vertices[i]) & mask_;
      while (slots_[slot] != kEmpty) slot = (slot + 1) & mask_;
      slots_[slot] = static_cast<std::uint32_t>(i);
    }
  }

  static constexpr std::uint32_t kEmpty = std::numeric_limits<std::uint32_t>::max();
  static bool Same(const Key<Scalar>& a, const Key<Scalar>& b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
  }

  std::vector<std::uint32_t> slots_;
  size_t mask_ = 0;
};

}  // namespace

template <class Scalar>
IndexedMesh<Scalar> WeldVertices(const TriangleSoup& soup) {
  IndexedMesh<Scalar> mesh;
  mesh.name = soup.name;
  // A closed triangle mesh has about half as many vertices as triangles.
  const size_t triangles = soup.TriangleCount();
  mesh.triangles.reserve(triangles);
  mesh.vertices.reserve(triangles / 2 + 3);
  VertexTable<Scalar> table(triangles / 2 + 3);
  for (size_t t = 0; t < triangles; ++t) {
    std::array<std::uint32_t, 3> corner{};
    for (int k = 0; k < 3; ++k) {
      const Point& p = soup.corners[3 * t + k];
      corner[k] = table.Find({static_cast<Scalar>(p[0]), static_cast<Scalar>(p[1]), static_cast<Scalar>(p[2])},
                             mesh.vertices);
    }
    if (corner[0] != corner[1] && corner[1] != corner[2] && corner[0] != corner[2]) mesh.triangles.push_back(corner);
  }
  return mesh;
}

template IndexedMesh<float> WeldVertices<float>(const TriangleSoup&);
template IndexedMesh<double> WeldVertices<double>(const TriangleSoup&);

}  // namespace kelvrash::stl
