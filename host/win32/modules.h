#pragma once
// The modules of the process and their HINSTANCE values. A module is either a
// shared object that the loader opened with dlopen, or one linked into the
// program itself that a test registers under a path of its choosing; both get
// an HINSTANCE that GetModuleFileNameW and the resource calls understand.
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "win32/resimage.h"
#include "win32/wintypes.h"

namespace arxhost {

using DllMainFn = BOOL (*)(HINSTANCE, DWORD, LPVOID);

// What a module offers besides its file: its exported symbols and its
// compiled resources. For a dlopen'ed module the symbols come from dlsym.
struct ModuleImage {
  std::wstring path;  // the module's file, as GetModuleFileNameW reports it
  void* dlHandle = nullptr;
  // Symbol lookup for modules linked into the program (tests); unused when
  // dlHandle is set.
  std::function<void*(const char*)> symbols;
  std::span<const unsigned char> resources;
};

class Modules {
 public:
  // Registers a module and returns its HINSTANCE, valid until Unregister.
  // Malformed resources are dropped with a message in *error (the module
  // then has none) rather than refused.
  static HINSTANCE Register(ModuleImage image, std::string* error = nullptr);
  static void Unregister(HINSTANCE instance);

  // The program itself: what GetModuleHandleW(nullptr) gives.
  static HINSTANCE Program();
  static bool IsKnown(HINSTANCE instance);
  static std::optional<std::wstring> Path(HINSTANCE instance);
  static void* Symbol(HINSTANCE instance, const char* name);
  // Null when the module has no (valid) resources.
  static const ResourceImage* Resources(HINSTANCE instance);
  // The module already registered for this path (compared exactly).
  static HINSTANCE FindByPath(const std::wstring& path);
  // The first module whose file name (with or without its extension) is
  // that, compared without regard to case.
  static HINSTANCE FindByFileName(const std::wstring& name);
};

// Opens a shared object and registers it: dlopen, the exported resource
// image, then DllMain(DLL_PROCESS_ATTACH). Null with a message on failure.
// FreeModule calls DllMain(DLL_PROCESS_DETACH), unregisters and dlcloses.
HINSTANCE LoadModule(const std::wstring& path, std::string* error);
// Attaches a module linked into the program (tests): like LoadModule without
// dlopen. The symbols must include DllMain if the module has one.
HINSTANCE AttachLinkedModule(ModuleImage image, std::string* error);
void FreeModule(HINSTANCE instance);

}  // namespace arxhost
