// Any bytes as an IGES file through the structural check that every import
// path runs before Open CASCADE reads the file: it must give a verdict,
// never crash, and the copy it makes for Open CASCADE must pass the check
// as it stands, with the same entities.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "IgesScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  igesread::ScanResult scan;
  std::string reason;
  if (!igesread::ScanIges(bytes, scan, reason)) {
    if (reason.empty()) __builtin_trap();  // a refusal must say why
    return 0;
  }
  if (!scan.needsNormalizedCopy) return 0;
  igesread::ScanResult again;
  if (!igesread::ScanIges(scan.normalized, again, reason) || again.needsNormalizedCopy ||
      again.entries.size() != scan.entries.size())
    __builtin_trap();
  for (std::size_t i = 0; i < scan.entries.size(); ++i)
    if (again.entries[i].type != scan.entries[i].type) __builtin_trap();
  return 0;
}
