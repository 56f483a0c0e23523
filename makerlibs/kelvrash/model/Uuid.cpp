#include "Uuid.h"

#include <array>
#include <random>

namespace kelv::model {

Uuid NewUuid() {
  static thread_local std::mt19937_64 engine{std::random_device{}()};
  std::array<uint8_t, 16> bytes;
  for (size_t i = 0; i < 16; i += 8) {
    uint64_t r = engine();
    std::memcpy(bytes.data() + i, &r, 8);
  }
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  return Uuid(flatbuffers::span<const uint8_t, 16>(bytes.data(), 16));
}

}  // namespace kelv::model
