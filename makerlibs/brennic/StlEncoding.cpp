#include "StlEncoding.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <vector>

#include "prefault.h"

namespace brennic {
namespace {

// Twelve significant digits: far finer than any mesh deflection, and the
// corners that neighbouring faces share keep one spelling.
constexpr int kDigits = 12;

// Writes " x y z" at p, returns its end: at most 3 * 20 characters.
char* PutTriple(char* p, const std::array<double, 3>& v) {
  for (double value : v) {
    *p++ = ' ';
    if (value == 0.0) value = 0.0;  // no "-0"
    p = std::to_chars(p, p + 24, value, std::chars_format::general, kDigits).ptr;
  }
  return p;
}

char* Put(char* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

// The text of each corner, made once: neighbouring triangles share their
// corners, and writing numbers is most of the work.
class CornerTexts {
 public:
  explicit CornerTexts(size_t expected) {
    size_t capacity = 64;
    while (capacity < 2 * expected) capacity *= 2;
    slots_.reserve(capacity);
    prefault::ForWriting(slots_.data(), capacity * sizeof(Slot));
    slots_.resize(capacity);
    texts_.reserve(expected * 40);
    prefault::ForWriting(texts_.data(), texts_.capacity());
  }

  std::string_view Of(const std::array<double, 3>& p) {
    const Key key = {std::bit_cast<std::uint64_t>(p[0]), std::bit_cast<std::uint64_t>(p[1]),
                     std::bit_cast<std::uint64_t>(p[2])};
    if (2 * (count_ + 1) > slots_.size()) Grow();
    Slot* slot = Find(key);
    if (slot->length == 0) {
      const char* end = PutTriple(scratch_, p);
      const auto length = static_cast<std::uint8_t>(end - scratch_);
      // Past 4 GiB of corners (a solid no one meshes) they are written as
      // they come.
      if (texts_.size() > UINT32_MAX - sizeof scratch_) return std::string_view(scratch_, length);
      *slot = {key, static_cast<std::uint32_t>(texts_.size()), length};
      texts_.append(scratch_, length);
      ++count_;
    }
    return std::string_view(texts_).substr(slot->offset, slot->length);
  }

 private:
  using Key = std::array<std::uint64_t, 3>;
  struct Slot {
    Key key{};
    std::uint32_t offset = 0;
    std::uint8_t length = 0;  // 0: empty; a corner's text is never shorter than " 0 0 0"
  };

  static size_t Hash(const Key& k) {
    std::uint64_t h = k[0] * 0x9E3779B97F4A7C15ull;
    h = (h ^ (h >> 29) ^ k[1]) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 32) ^ k[2]) * 0x94D049BB133111EBull;
    return static_cast<size_t>(h ^ (h >> 31));
  }
  Slot* Find(const Key& key) {
    const size_t mask = slots_.size() - 1;
    for (size_t i = Hash(key) & mask;; i = (i + 1) & mask)
      if (slots_[i].length == 0 || slots_[i].key == key) return &slots_[i];
  }
  void Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& s : old)
      if (s.length != 0) *Find(s.key) = s;
  }

  std::vector<Slot> slots_;
  std::string texts_;
  size_t count_ = 0;
  char scratch_[3 * 20];
};

// Room for what is appended, made at once: growing a large text step by
// step copies it over and over, and fresh pages cost more than the writing.
void MakeRoom(std::string& out, size_t more) {
  const size_t needed = out.size() + more;
  if (out.capacity() >= needed) return;
  out.reserve(std::max(needed, 2 * out.capacity()));
  prefault::ForWriting(out.data() + out.size(), out.capacity() - out.size());
}

void AppendUint32(std::string& out, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

void AppendFloat(std::string& out, double value) {
  AppendUint32(out, std::bit_cast<std::uint32_t>(static_cast<float>(value)));
}

}  // namespace

void AppendAsciiSolid(std::string& out, std::string_view name, std::span<const Triangle> triangles) {
  // A facet: 12 numbers of at most 19 characters, each after a space, and
  // 92 characters of keywords and indents.
  MakeRoom(out, 2 * name.size() + 20 + triangles.size() * (12 * 20 + 92));
  out.append("solid ").append(name).append("\n");
  // A closed mesh has about half as many corners as triangles; faces meshed
  // on their own repeat the corners of their edges.
  CornerTexts corners(triangles.size() + 3);
  char facet[12 * 20 + 92];
  for (const Triangle& t : triangles) {
    char* p = Put(facet, "  facet normal");
    p = PutTriple(p, t.Normal());
    p = Put(p, "\n    outer loop\n");
    for (const auto& corner : t.corners) {
      p = Put(p, "      vertex");
      p = Put(p, corners.Of(corner));
      *p++ = '\n';
    }
    p = Put(p, "    endloop\n  endfacet\n");
    out.append(facet, p);
  }
  out.append("endsolid ").append(name).append("\n");
}

void AppendBinaryHeader(std::string& out, std::uint32_t triangleCount) {
  // Must not begin with "solid", or readers take it for text.
  char header[80];
  std::memset(header, ' ', sizeof header);
  static constexpr char kLabel[] = "Binary STL of meshed shapes";
  std::memcpy(header, kLabel, sizeof kLabel - 1);
  out.append(header, sizeof header);
  AppendUint32(out, triangleCount);
}

void AppendBinaryTriangles(std::string& out, std::span<const Triangle> triangles) {
  MakeRoom(out, triangles.size() * 50);
  for (const Triangle& t : triangles) {
    for (double v : t.Normal()) AppendFloat(out, v);
    for (const auto& corner : t.corners)
      for (double v : corner) AppendFloat(out, v);
    out.append(2, '\0');  // attribute byte count
  }
}

}  // namespace brennic
