// Any bytes as a module's resource image, and each payload as a string
// block and a version block: reading never goes past the bytes given.
#include <cstdint>
#include <span>
#include <vector>

#include "win32/resimage.h"
#include "win32/versioninfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly the input, so that the sanitizer sees any overrun.
  std::vector<unsigned char> bytes(data, data + size);
  std::span<const unsigned char> all(bytes);
  if (auto image = arxhost::ResourceImage::Parse(all)) {
    for (const auto& entry : image->Entries()) {
      for (std::uint32_t id = 0; id < 16; ++id) arxhost::StringFromBlock(entry.data, id);
      arxhost::DecodeVersionNode(entry.data);
    }
  }
  arxhost::DecodeVersionNode(all);
  for (std::uint32_t id = 0; id < 16; ++id) arxhost::StringFromBlock(all, id);
  return 0;
}
