// Any bytes as a menu file: parsing never crashes, and a parsed group has
// what the menu bar relies on (a name, a title for every pull-down).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/mnufile.h"
#include "win32/strconv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = arxhost::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  arxhost::MnuError error;
  if (auto group = arxhost::ParseMnu(text, &error)) {
    if (group->name.empty()) std::abort();
    for (const auto& menu : group->pullDowns)
      if (menu.title.empty()) std::abort();
  } else if (error.what.empty()) {
    std::abort();
  }
  return 0;
}
