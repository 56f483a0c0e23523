#include "win32/modules.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cwctype>
#include <map>

#include "win32/strconv.h"

namespace arxhost {
namespace {

struct Record {
  ModuleImage image;
  std::optional<ResourceImage> resources;
};

// Each HINSTANCE is the address of its record; looking handles up in the map
// (never dereferencing them) keeps a stale or made-up handle harmless.
std::map<HINSTANCE, std::unique_ptr<Record>>& Table() {
  static std::map<HINSTANCE, std::unique_ptr<Record>> table;
  return table;
}

Record* Find(HINSTANCE instance) {
  auto& table = Table();
  auto it = table.find(instance);
  return it == table.end() ? nullptr : it->second.get();
}

std::wstring ProgramPath() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? FromUtf8(std::string_view(buffer, static_cast<size_t>(n))) : std::wstring(L"arxhost");
}

std::span<const unsigned char> ExportedResources(void* dlHandle) {
  auto* data = static_cast<const unsigned char*>(dlsym(dlHandle, "arxhost_resource_image"));
  auto* size = static_cast<const unsigned long*>(dlsym(dlHandle, "arxhost_resource_image_size"));
  if (!data || !size) return {};
  return {data, static_cast<size_t>(*size)};
}

HINSTANCE Attach(HINSTANCE instance, std::string* error) {
  auto dllMain = reinterpret_cast<DllMainFn>(Modules::Symbol(instance, "DllMain"));
  if (dllMain && !dllMain(instance, DLL_PROCESS_ATTACH, nullptr)) {
    if (error) *error = "its DllMain refused to attach";
    return nullptr;
  }
  return instance;
}

}  // namespace

HINSTANCE Modules::Register(ModuleImage image, std::string* error) {
  auto record = std::make_unique<Record>();
  record->image = std::move(image);
  if (!record->image.resources.empty()) {
    std::string why;
    record->resources = ResourceImage::Parse(record->image.resources, &why);
    if (!record->resources && error) *error = "its resources are unreadable: " + why;
  }
  auto instance = reinterpret_cast<HINSTANCE>(record.get());
  Table()[instance] = std::move(record);
  return instance;
}

void Modules::Unregister(HINSTANCE instance) {
  if (instance != Program()) Table().erase(instance);
}

HINSTANCE Modules::Program() {
  static const HINSTANCE program = [] {
    ModuleImage image;
    image.path = ProgramPath();
    image.symbols = [](const char* name) { return dlsym(RTLD_DEFAULT, name); };
    return Register(std::move(image));
  }();
  return program;
}

bool Modules::IsKnown(HINSTANCE instance) { return instance == Program() || Find(instance) != nullptr; }

std::optional<std::wstring> Modules::Path(HINSTANCE instance) {
  if (!instance) instance = Program();
  Record* r = Find(instance);
  if (!r) return std::nullopt;
  return r->image.path;
}

void* Modules::Symbol(HINSTANCE instance, const char* name) {
  Record* r = Find(instance);
  if (!r || !name) return nullptr;
  if (r->image.dlHandle) return dlsym(r->image.dlHandle, name);
  return r->image.symbols ? r->image.symbols(name) : nullptr;
}

const ResourceImage* Modules::Resources(HINSTANCE instance) {
  if (!instance) instance = Program();
  Record* r = Find(instance);
  return r && r->resources ? &*r->resources : nullptr;
}

HINSTANCE Modules::FindByPath(const std::wstring& path) {
  for (auto& [instance, record] : Table())
    if (record->image.path == path) return instance;
  return nullptr;
}

HINSTANCE Modules::FindByFileName(const std::wstring& name) {
  auto same = [](std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
             return std::towlower(x) == std::towlower(y);
           });
  };
  for (auto& [instance, record] : Table()) {
    const std::wstring& path = record->image.path;
    const auto slash = path.find_last_of(L"\\/");
    const std::wstring_view file = slash == std::wstring::npos ? std::wstring_view(path) : std::wstring_view(path).substr(slash + 1);
    const auto dot = file.rfind(L'.');
    if (same(file, name) || (dot != std::wstring_view::npos && same(file.substr(0, dot), name))) return instance;
  }
  return nullptr;
}

HINSTANCE LoadModule(const std::wstring& path, std::string* error) {
  const std::string native = NativePath(path);
  dlerror();
  void* handle = dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    if (error) *error = why ? why : "dlopen failed";
    return nullptr;
  }
  ModuleImage image;
  image.path = path;
  image.dlHandle = handle;
  image.resources = ExportedResources(handle);
  std::string resourceError;
  HINSTANCE instance = Modules::Register(std::move(image), &resourceError);
  if (!resourceError.empty() && error) *error = resourceError;
  if (!Attach(instance, error)) {
    Modules::Unregister(instance);
    dlclose(handle);
    return nullptr;
  }
  return instance;
}

HINSTANCE AttachLinkedModule(ModuleImage image, std::string* error) {
  image.dlHandle = nullptr;
  HINSTANCE instance = Modules::Register(std::move(image), error);
  if (!Attach(instance, error)) {
    Modules::Unregister(instance);
    return nullptr;
  }
  return instance;
}

void FreeModule(HINSTANCE instance) {
  if (!Modules::IsKnown(instance) || instance == Modules::Program()) return;
  if (auto dllMain = reinterpret_cast<DllMainFn>(Modules::Symbol(instance, "DllMain")))
    dllMain(instance, DLL_PROCESS_DETACH, nullptr);
  void* handle = Find(instance)->image.dlHandle;
  Modules::Unregister(instance);
  if (handle) dlclose(handle);
}

}  // namespace arxhost
