#pragma once
// The applications (modules) the host has loaded, and their life cycle as
// the host's loader runs it:
//   load:   dlopen, DllMain(DLL_PROCESS_ATTACH), acrxGetApiVersion,
//           acrxEntryPoint(kInitAppMsg, appId)
//   unload: acrxEntryPoint(kUnloadAppMsg, appId), DllMain(DLL_PROCESS_DETACH),
//           dlclose
// Failures are printed into the transcript and answered with false.
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "arx/rxdefs.h"

namespace arxhost {

// The interface version the host speaks: release 18, minor 0, in the form
// acrxGetApiVersion returns it.
inline constexpr int kApiVersion = 18 << 16;

struct ApplicationInfo {
  std::wstring name;  // file name, as "Tolvane.arx"
  std::wstring path;
  HINSTANCE instance = nullptr;
  bool unlocked = false;
  bool mdiAware = false;
};

class Applications {
 public:
  static bool Load(const std::wstring& path);
  // A module linked into the program (tests): its exported symbols come from
  // the lookup, its resources from the given image.
  static bool LoadLinked(const std::wstring& path, std::function<void*(const char*)> symbols,
                         std::span<const unsigned char> resources = {});
  // By file name (with or without its extension) or by path.
  static bool Unload(const std::wstring& nameOrPath);
  // At the end of the host's run: kQuitMsg, then unload, newest first.
  static void UnloadAll();
  static std::vector<ApplicationInfo> List();
};

}  // namespace arxhost
