#include "win32/findfile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "win32/strconv.h"
#include "win32/winapi.h"

namespace arxhost {

namespace {

wchar_t Upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }

}  // namespace

bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
  if (pattern == L"*.*") pattern = L"*";
  // Greedy match that backtracks only to the last '*': linear in practice,
  // at most pattern times name steps.
  size_t p = 0, n = 0, starP = std::wstring_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == L'?' || Upper(pattern[p]) == Upper(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::wstring_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

}  // namespace arxhost

namespace {

struct Search {
  std::vector<WIN32_FIND_DATAW> matches;
  size_t next = 0;
};

// The searches handed out and not closed yet, so that a stale or foreign
// handle is refused rather than followed.
struct Searches {
  std::mutex mutex;
  std::set<Search*> live;
};
Searches& Live() {
  static Searches searches;
  return searches;
}

FILETIME ToFileTime(const struct timespec& t) {
  // 100-nanosecond steps since 1601-01-01.
  constexpr long long kEpochDiff = 11644473600LL;
  long long ticks = (static_cast<long long>(t.tv_sec) + kEpochDiff) * 10000000LL + t.tv_nsec / 100;
  if (ticks < 0) ticks = 0;
  auto u = static_cast<unsigned long long>(ticks);
  return {static_cast<DWORD>(u & 0xFFFFFFFFu), static_cast<DWORD>(u >> 32)};
}

// False when the name does not fit the structure.
bool Describe(const std::string& nativePath, const std::wstring& name, WIN32_FIND_DATAW& data) {
  if (name.size() >= MAX_PATH) return false;
  data = WIN32_FIND_DATAW{};
  std::copy(name.begin(), name.end(), data.cFileName);
  struct stat st {};
  if (::stat(nativePath.c_str(), &st) != 0) return false;  // gone meanwhile, or a broken link
  DWORD attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (!(st.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  data.dwFileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  if (!S_ISDIR(st.st_mode)) {
    auto size = static_cast<unsigned long long>(st.st_size);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  }
  data.ftCreationTime = ToFileTime(st.st_ctim);
  data.ftLastAccessTime = ToFileTime(st.st_atim);
  data.ftLastWriteTime = ToFileTime(st.st_mtim);
  return true;
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  namespace fs = std::filesystem;
  if (!fileName || !findData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::wstring_view path(fileName);
  size_t sep = path.find_last_of(L"\\/");
  std::wstring_view pattern = sep == std::wstring_view::npos ? path : path.substr(sep + 1);
  std::wstring folder = sep == std::wstring_view::npos ? L"." : std::wstring(path.substr(0, sep + 1));
  // "C:name" and "C:\dir" have no meaning here beyond the path itself.
  std::error_code ec;
  fs::path native(arxhost::NativePath(folder));
  if (!fs::is_directory(native, ec)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  if (pattern.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }

  auto search = std::make_unique<Search>();
  auto consider = [&](const std::string& nativeEntry, const std::wstring& name) {
    if (!arxhost::WildcardMatch(pattern, name)) return;
    WIN32_FIND_DATAW data;
    if (Describe(nativeEntry, name, data)) search->matches.push_back(data);
  };
  consider(native.string(), L".");
  consider((native / "..").string(), L"..");
  for (fs::directory_iterator it(native, ec), end; !ec && it != end; it.increment(ec))
    consider(it->path().string(), arxhost::FromUtf8(it->path().filename().string()));
  if (ec) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  if (search->matches.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  // Sorted without case, as NTFS keeps its folders.
  std::sort(search->matches.begin(), search->matches.end(), [](const auto& a, const auto& b) {
    std::wstring_view x(a.cFileName), y(b.cFileName);
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](wchar_t l, wchar_t r) {
      return std::towupper(static_cast<wint_t>(l)) < std::towupper(static_cast<wint_t>(r));
    });
  });
  *findData = search->matches[search->next++];
  Search* handle = search.release();
  {
    std::lock_guard lock(Live().mutex);
    Live().live.insert(handle);
  }
  SetLastError(ERROR_SUCCESS);
  return handle;
}

BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData) {
  auto* search = static_cast<Search*>(findFile);
  std::lock_guard lock(Live().mutex);
  if (!Live().live.count(search) || !findData) {
    SetLastError(!findData ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (search->next >= search->matches.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *findData = search->matches[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE findFile) {
  auto* search = static_cast<Search*>(findFile);
  std::lock_guard lock(Live().mutex);
  if (!Live().live.erase(search)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  delete search;
  return TRUE;
}
