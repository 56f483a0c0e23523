// Any bytes as a dialog template and as dialog initialisation data: reading
// never crashes, and what reads writes back to bytes that read the same.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "win32/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace arxhost;
  std::span<const BYTE> bytes(data, size);
  std::string error;
  if (auto dialog = ParseDialogTemplate(bytes, error)) {
    auto written = WriteDialogTemplate(*dialog);
    auto again = ParseDialogTemplate(written, error);
    if (!again || WriteDialogTemplate(*again) != written) std::abort();
  }
  if (auto init = ParseDialogInit(bytes, error)) {
    auto written = WriteDialogInit(*init);
    auto again = ParseDialogInit(written, error);
    if (!again || WriteDialogInit(*again) != written) std::abort();
    for (const auto& entry : *again) (void)entry.Text();
  }
  return 0;
}
