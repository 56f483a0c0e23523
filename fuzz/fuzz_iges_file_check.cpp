// Any bytes as the start and end of an IGES file: the look before Open
// CASCADE reads it must give a verdict, never crash.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "IgesFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view head = bytes.substr(0, std::min<std::size_t>(bytes.size(), 64 * 1024));
  const std::string_view tail = bytes.substr(bytes.size() - std::min<std::size_t>(bytes.size(), 1024));
  const auto verdict = brennic::CheckIgesText(head, head.size() < bytes.size(), tail);
  if (verdict && verdict->empty()) __builtin_trap();  // a refusal must say why
  return 0;
}
