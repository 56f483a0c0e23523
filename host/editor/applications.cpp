#include "editor/applications.h"

#include <dlfcn.h>

#include <filesystem>
#include <list>

#include "arx/dynlinker.h"
#include "arx/names.h"
#include "editor/commandstack.h"
#include "win32/modules.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace arxhost {
namespace {

using EntryPointFn = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);
using ApiVersionFn = int (*)();

struct App {
  ApplicationInfo info;
  EntryPointFn entry = nullptr;
  void* codeBase = nullptr;  // where the module's code lies (dlopen'ed modules)
};

// A list, so that the address of a record (the app id) stays put.
std::list<App>& Apps() {
  static std::list<App> apps;
  return apps;
}

App* FindById(void* appId) {
  for (auto& a : Apps())
    if (&a == appId) return &a;
  return nullptr;
}

std::wstring FileNameOf(const std::wstring& path) {
  auto pos = path.find_last_of(L"\\/");
  return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

std::wstring StemOf(const std::wstring& name) {
  auto dot = name.rfind(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::list<App>::iterator FindByName(const std::wstring& nameOrPath) {
  auto& apps = Apps();
  const std::wstring file = FileNameOf(nameOrPath);
  for (auto it = apps.begin(); it != apps.end(); ++it)
    if (SameName(it->info.path, nameOrPath) || SameName(it->info.name, file) ||
        SameName(StemOf(it->info.name), file))
      return it;
  return apps.end();
}

void Say(const std::wstring& text) { Transcript::WriteLine(text); }

bool Start(HINSTANCE instance, const std::wstring& path) {
  const std::wstring name = FileNameOf(path);
  auto entry = reinterpret_cast<EntryPointFn>(Modules::Symbol(instance, "acrxEntryPoint"));
  auto version = reinterpret_cast<ApiVersionFn>(Modules::Symbol(instance, "acrxGetApiVersion"));
  if (!entry || !version) {
    Say(L"Cannot load " + name + L": it is not an application module (it exports no " +
        (entry ? L"acrxGetApiVersion" : L"acrxEntryPoint") + L").");
    FreeModule(instance);
    return false;
  }
  const int moduleVersion = version();
  if ((moduleVersion >> 16) != (kApiVersion >> 16)) {
    Say(L"Cannot load " + name + L": it was built for interface release " + std::to_wstring(moduleVersion >> 16) +
        L", this host offers release " + std::to_wstring(kApiVersion >> 16) + L".");
    FreeModule(instance);
    return false;
  }
  auto& apps = Apps();
  apps.push_back(App{});
  App& app = apps.back();
  app.info.name = name;
  app.info.path = path;
  app.info.instance = instance;
  app.entry = entry;
  Dl_info where{};
  if (dladdr(reinterpret_cast<void*>(entry), &where) && where.dli_fbase) app.codeBase = where.dli_fbase;
  if (entry(AcRx::kInitAppMsg, &app) == AcRx::kRetError) {
    Say(L"Cannot load " + name + L": it refused to initialise.");
    entry(AcRx::kUnloadAppMsg, &app);
    apps.pop_back();
    FreeModule(instance);
    return false;
  }
  Say(name + L" successfully loaded.");
  return true;
}

bool AlreadyLoaded(const std::wstring& path) {
  if (FindByName(path) == Apps().end()) return false;
  Say(FileNameOf(path) + L" is already loaded.");
  return true;
}

bool Stop(std::list<App>::iterator it, bool force) {
  App& app = *it;
  if (!app.info.unlocked && !force) {
    Say(L"Cannot unload " + app.info.name + L": the application is locked.");
    return false;
  }
  if (app.entry(AcRx::kUnloadAppMsg, &app) == AcRx::kRetError && !force) {
    Say(L"Cannot unload " + app.info.name + L": it refused to unload.");
    return false;
  }
  // Commands the module left behind would point into unmapped code.
  if (void* base = app.codeBase) {
    RemoveCommandsWhere([base](const AcEdCommand& c) {
      Dl_info where{};
      return dladdr(reinterpret_cast<void*>(c.functionAddr()), &where) && where.dli_fbase == base;
    });
  }
  const std::wstring name = app.info.name;
  HINSTANCE instance = app.info.instance;
  Apps().erase(it);
  FreeModule(instance);
  Say(name + L" successfully unloaded.");
  return true;
}

class DynamicLinker final : public AcRxDynamicLinker {
 public:
  bool loadModule(const ACHAR* fileName, bool, bool) override { return fileName && Applications::Load(fileName); }
  bool unloadModule(const ACHAR* fileName, bool, bool) override {
    return fileName && Applications::Unload(fileName);
  }
  bool unlockApplication(void* appId) const override { return SetFlag(appId, &ApplicationInfo::unlocked, true); }
  bool lockApplication(void* appId) const override { return SetFlag(appId, &ApplicationInfo::unlocked, false); }
  bool isApplicationLocked(const ACHAR* name) const override {
    auto it = name ? FindByName(name) : Apps().end();
    return it != Apps().end() && !it->info.unlocked;
  }
  bool registerAppMDIAware(void* appId) const override { return SetFlag(appId, &ApplicationInfo::mdiAware, true); }
  bool registerAppNotMDIAware(void* appId) const override {
    return SetFlag(appId, &ApplicationInfo::mdiAware, false);
  }

 private:
  static bool SetFlag(void* appId, bool ApplicationInfo::*flag, bool value) {
    App* app = FindById(appId);
    if (!app) return false;
    app->info.*flag = value;
    return true;
  }
};

}  // namespace

AcRxObject* DynamicLinkerService() {
  static DynamicLinker linker;
  return &linker;
}

// The full path, so that the module's GetModuleFileNameW names its real
// folder whatever the current directory was.
std::wstring FullPath(const std::wstring& path) {
  std::error_code ec;
  auto full = std::filesystem::weakly_canonical(std::filesystem::absolute(NativePath(path), ec), ec);
  return ec ? path : FromUtf8(full.string());
}

bool Applications::Load(const std::wstring& requested) {
  const std::wstring path = FullPath(requested);
  if (AlreadyLoaded(path)) return false;
  std::string error;
  HINSTANCE instance = LoadModule(path, &error);
  if (!instance) {
    Say(L"Cannot load " + FileNameOf(path) + L": " + FromUtf8(error) + L".");
    return false;
  }
  if (!error.empty()) Say(L"Warning: " + FileNameOf(path) + L": " + FromUtf8(error) + L".");
  return Start(instance, path);
}

bool Applications::LoadLinked(const std::wstring& path, std::function<void*(const char*)> symbols,
                              std::span<const unsigned char> resources) {
  if (AlreadyLoaded(path)) return false;
  ModuleImage image;
  image.path = path;
  image.symbols = std::move(symbols);
  image.resources = resources;
  std::string error;
  HINSTANCE instance = AttachLinkedModule(std::move(image), &error);
  if (!instance) {
    Say(L"Cannot load " + FileNameOf(path) + L": " + FromUtf8(error) + L".");
    return false;
  }
  return Start(instance, path);
}

bool Applications::Unload(const std::wstring& nameOrPath) {
  auto it = FindByName(nameOrPath);
  if (it == Apps().end()) {
    Say(L"Cannot unload " + nameOrPath + L": no such application is loaded.");
    return false;
  }
  return Stop(it, false);
}

void Applications::UnloadAll() {
  auto& apps = Apps();
  for (auto& app : apps) app.entry(AcRx::kQuitMsg, &app);
  while (!apps.empty()) Stop(std::prev(apps.end()), true);
}

std::vector<ApplicationInfo> Applications::List() {
  std::vector<ApplicationInfo> out;
  for (const auto& a : Apps()) out.push_back(a.info);
  return out;
}

}  // namespace arxhost
