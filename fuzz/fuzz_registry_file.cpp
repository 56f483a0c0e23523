// Any bytes as a registry file: parsing never crashes, and whatever parses
// writes back to text that parses to the same text again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "win32/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace arxhost::registry;
  auto parsed = ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!parsed.hive) return 0;
  std::string written = WriteRegFile(*parsed.hive);
  auto again = ParseRegFile(written);
  if (!again.hive || WriteRegFile(*again.hive) != written) std::abort();
  return 0;
}
