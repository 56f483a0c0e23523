#pragma once
// Loads the plug-in linked into the test program as the host loads a module
// file: attach, handshake, kInitAppMsg, all under the path of a module
// placed in the given folder.
#include <filesystem>
#include <string>

#include "arx/rxentry.h"
#include "editor/applications.h"
#include "win32/strconv.h"

extern "C" const unsigned char arxhost_resource_image[];
extern "C" const unsigned long arxhost_resource_image_size;

namespace testing_support {

inline std::wstring ModulePathIn(const std::filesystem::path& folder) {
  return arxhost::FromUtf8((folder / "Tolvane.arx").string());
}

inline bool LoadLinkedPlugin(const std::filesystem::path& folder) {
  return arxhost::Applications::LoadLinked(
      ModulePathIn(folder),
      [](const char* name) -> void* {
        const std::string n = name;
        if (n == "DllMain") return reinterpret_cast<void*>(&DllMain);
        if (n == "acrxEntryPoint") return reinterpret_cast<void*>(&acrxEntryPoint);
        if (n == "acrxGetApiVersion") return reinterpret_cast<void*>(&acrxGetApiVersion);
        return nullptr;
      },
      {arxhost_resource_image, static_cast<size_t>(arxhost_resource_image_size)});
}

inline HINSTANCE PluginInstance() {
  for (const auto& app : arxhost::Applications::List())
    if (app.name == L"Tolvane.arx") return app.instance;
  return nullptr;
}

inline void UnloadPlugin() {
  if (PluginInstance()) arxhost::Applications::Unload(L"Tolvane");
}

}  // namespace testing_support
