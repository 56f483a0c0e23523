// Any bytes as an .rc file: compiling never crashes or hangs, a failure
// always says why, and what compiles makes an image that reads back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "rcparser.h"
#include "win32/resimage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  arxrc::Parser parser;
  std::vector<arxhost::ResourceBlob> blobs;
  // No folder: an #include finds nothing to read.
  const bool ok = parser.LoadText(std::string(reinterpret_cast<const char*>(data), size), L"fuzz.rc",
                                  "/nonexistent-folder") &&
                  parser.Compile(blobs);
  if (!ok && parser.ErrorText().empty()) std::abort();
  if (ok) {
    const auto image = arxhost::BuildResourceImage(blobs);
    auto parsed = arxhost::ResourceImage::Parse(image);
    if (!parsed || parsed->Entries().size() != blobs.size()) std::abort();
  }
  return 0;
}
