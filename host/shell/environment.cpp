#include "environment.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace arxhost_shell {
namespace {

// A real folder (not a link to one) of this user that no one else may enter.
bool IsPrivate(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

}  // namespace

bool PreparePrivateTemp(std::string* error) {
  const char* given = std::getenv("TEMP");
  if (given && *given && IsPrivate(given)) {
    setenv("TMP", given, 1);
    return true;
  }
  std::string base = given && *given ? given : "";
  if (base.empty() && std::getenv("TMPDIR")) base = std::getenv("TMPDIR");
  if (base.empty()) base = "/tmp";
  const std::string folder = base + "/arxhost-" + std::to_string(geteuid());
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    if (error) *error = "cannot create the temporary folder " + folder + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) != 0)
    chmod(folder.c_str(), 0700);
  if (!IsPrivate(folder)) {
    if (error) *error = "the temporary folder " + folder + " is not a private folder of this user";
    return false;
  }
  setenv("TEMP", folder.c_str(), 1);
  setenv("TMP", folder.c_str(), 1);
  return true;
}

}  // namespace arxhost_shell
