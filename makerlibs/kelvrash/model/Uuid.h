#pragma once
// Uuids of model records: random (version 4) ones for new records, and the
// few comparisons the reader needs.
#include <cstdint>
#include <cstring>
#include <functional>

#include "ModelFormat.h"

namespace kelv::model {

Uuid NewUuid();

inline bool IsNil(const Uuid& id) {
  for (uint8_t b : *id.bytes())
    if (b) return false;
  return true;
}

inline bool operator==(const Uuid& a, const Uuid& b) {
  return std::memcmp(a.bytes()->Data(), b.bytes()->Data(), 16) == 0;
}

struct UuidHash {
  size_t operator()(const Uuid& id) const {
    uint64_t lo, hi;
    std::memcpy(&lo, id.bytes()->Data(), 8);
    std::memcpy(&hi, id.bytes()->Data() + 8, 8);
    return std::hash<uint64_t>()(lo ^ (hi * 0x9E3779B97F4A7C15ull));
  }
};

}  // namespace kelv::model
