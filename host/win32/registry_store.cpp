#include "win32/registry_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <set>
#include <sstream>

namespace arxhost::registry {
namespace {

std::mutex gMutex;
std::optional<std::filesystem::path> gOverride;
RenameFunction gRename = nullptr;

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return std::filesystem::current_path();
}

std::string Describe(const std::filesystem::path& file, const char* what) {
  return std::string(what) + " " + file.string() + ": " + std::strerror(errno);
}

// Moves a malformed file out of the way under a name nothing else uses.
std::optional<std::filesystem::path> MoveAside(const std::filesystem::path& file) {
  for (int n = 0; n < 1000; ++n) {
    std::filesystem::path aside = file;
    aside += n == 0 ? ".malformed" : ".malformed." + std::to_string(n);
    std::error_code ec;
    if (std::filesystem::exists(aside, ec) || ec) continue;
    if (std::rename(file.c_str(), aside.c_str()) == 0) return aside;
    return std::nullopt;
  }
  return std::nullopt;
}

bool WriteAll(int fd, const std::string& data) {
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::filesystem::path FilePath() {
  {
    std::lock_guard lock(gMutex);
    if (gOverride) return *gOverride;
  }
  if (const char* env = std::getenv("ARXHOST_REGISTRY"); env && *env) return env;
  std::filesystem::path config;
  // Relative values of XDG_CONFIG_HOME are to be ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') config = xdg;
  else config = HomeFolder() / ".config";
  return config / "arxhost" / "registry.reg";
}

void SetFileOverride(std::optional<std::filesystem::path> file) {
  std::lock_guard lock(gMutex);
  gOverride = std::move(file);
}

void SetRenameFunction(RenameFunction rename) {
  std::lock_guard lock(gMutex);
  gRename = rename;
}

namespace {

// A warning said once per file and reason, not on every registry call.
void WarnOnce(const std::string& warning) {
  static std::mutex mutex;
  static std::set<std::string> said;
  std::lock_guard lock(mutex);
  if (said.insert(warning).second) std::cerr << "arxhost: " << warning << '\n';
}

}  // namespace

LoadResult Load() {
  LoadResult result;
  const std::filesystem::path file = FilePath();
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    // A folder (or a device) is not ours to move aside.
    result.writable = false;
    result.warning = "The registry file " + file.string() + " is " +
                     (std::filesystem::is_directory(status) ? "a folder" : "not a regular file") +
                     "; default settings are used and settings are not saved.";
    WarnOnce(result.warning);
    return result;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (errno == ENOENT) return result;  // missing: nothing stored yet
    result.writable = false;
    result.warning = Describe(file, "Cannot open the registry file") + "; default settings are used and settings "
                     "are not saved.";
    WarnOnce(result.warning);
    return result;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    // A failed read says nothing about the content: the file stays.
    result.writable = false;
    result.warning = "The registry file " + file.string() + " cannot be read; default settings are used and "
                     "settings are not saved.";
    WarnOnce(result.warning);
    return result;
  }
  in.close();
  ParseResult parsed = ParseRegFile(text.str());
  if (parsed.hive) {
    result.hive = std::move(*parsed.hive);
    return result;
  }
  if (auto aside = MoveAside(file)) {
    result.warning = "The registry file " + file.string() + " is malformed (" + parsed.error + "); it was kept as " +
                     aside->string() + " and default settings are used.";
  } else {
    result.writable = false;
    result.warning = "The registry file " + file.string() + " is malformed (" + parsed.error +
                     ") and could not be moved aside; it is left as it is and settings are not saved.";
  }
  std::cerr << "arxhost: " << result.warning << '\n';
  return result;
}

static bool SaveFile(const Hive& hive, std::string& error) {
  const std::filesystem::path file = FilePath();
  std::error_code ec;
  if (file.has_parent_path() && !std::filesystem::exists(file.parent_path(), ec)) {
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) {
      error = "cannot create the folder " + file.parent_path().string() + ": " + ec.message();
      return false;
    }
    ::chmod(file.parent_path().c_str(), 0700);
  }
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temp = file;
  temp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = Describe(temp, "cannot create");
    return false;
  }
  const std::string text = WriteRegFile(hive);
  bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
  if (!ok) error = Describe(temp, "cannot write");
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = Describe(temp, "cannot write");
  }
  if (ok) {
    RenameFunction rename;
    {
      std::lock_guard lock(gMutex);
      rename = gRename ? gRename : &std::rename;
    }
    if (rename(temp.c_str(), file.c_str()) != 0) {
      ok = false;
      error = Describe(file, "cannot replace");
    }
  }
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool Save(const Hive& hive, std::string& error) {
  if (SaveFile(hive, error)) return true;
  // Callers rarely look at the status of a registry write: a setting that
  // is not kept is said where the user sees it.
  std::cerr << "arxhost: the settings were not saved: " << error << '\n';
  return false;
}

}  // namespace arxhost::registry
