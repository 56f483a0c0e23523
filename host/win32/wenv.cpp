#include "win32/wenv.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <map>
#include <random>
#include <string>
#include <sys/stat.h>

#include "win32/strconv.h"

extern char** environ;

namespace {

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return true;
}

// Values handed out by _wgetenv, one per name asked for, so that each pointer
// outlives the call.
std::map<std::wstring, std::wstring>& ValueCache() {
  static std::map<std::wstring, std::wstring> cache;
  return cache;
}

}  // namespace

wchar_t* _wgetenv(const wchar_t* name) {
  if (!name || !*name) return nullptr;
  for (char** entry = environ; entry && *entry; ++entry) {
    const char* eq = std::strchr(*entry, '=');
    if (!eq) continue;
    std::wstring key = arxhost::FromUtf8(std::string_view(*entry, eq - *entry));
    if (!SameNameIgnoringCase(key, name)) continue;
    std::wstring& value = ValueCache()[name];
    value = arxhost::FromUtf8(eq + 1);
    return value.data();
  }
  return nullptr;
}

int _wunlink(const wchar_t* path) {
  if (!path) return -1;
  return ::unlink(arxhost::NativePath(path).c_str()) == 0 ? 0 : -1;
}

wchar_t* _wtempnam(const wchar_t* dir, const wchar_t* prefix) {
  std::wstring folder = dir && *dir ? dir : L".";
  if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  static std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    wchar_t suffix[16];
    std::swprintf(suffix, 16, L"%08llx", static_cast<unsigned long long>(random() & 0xffffffffULL));
    std::wstring name = folder + (prefix ? prefix : L"") + suffix;
    struct stat st;
    if (::lstat(arxhost::NativePath(name).c_str(), &st) == 0) continue;
    auto* out = static_cast<wchar_t*>(std::malloc((name.size() + 1) * sizeof(wchar_t)));
    if (!out) return nullptr;
    std::wmemcpy(out, name.c_str(), name.size() + 1);
    return out;
  }
  return nullptr;
}
