#include "environment.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace arxhost_shell {
namespace {

// A real folder (not a link to one) of this user that no one else may enter.
bool IsPrivate(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

// The user's private folder: TEMP itself when it is private, else a folder
// "arxhost-UID" in it (or in TMPDIR, or /tmp), created with mode 0700.
bool UserFolder(std::string& folder, std::string* error) {
  const char* given = std::getenv("TEMP");
  if (given && *given && IsPrivate(given)) {
    folder = given;
    return true;
  }
  std::string base = given && *given ? given : "";
  if (base.empty() && std::getenv("TMPDIR")) base = std::getenv("TMPDIR");
  if (base.empty()) base = "/tmp";
  folder = base + "/arxhost-" + std::to_string(geteuid());
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
  return true;
}

struct Session {
  std::string folder;
  pid_t owner = 0;
};

Session& TheSession() {
  static Session session;
  return session;
}

void RemoveAtExit() { RemoveSessionTemp(); }

}  // namespace

bool PreparePrivateTemp(std::string* error) {
  std::string user;
  if (!UserFolder(user, error)) return false;
  // Modules use fixed names in TEMP ("VRNTemp.sat" and the like): each
  // session gets a folder of its own, so that sessions running at once never
  // write over each other's files.
  std::string folder = user + "/arxhost.XXXXXX";
  if (!mkdtemp(folder.data())) {
    if (error) *error = "cannot create a temporary folder in " + user + ": " + std::strerror(errno);
    return false;
  }
  Session& session = TheSession();
  const bool first = session.folder.empty();
  session.folder = folder;
  session.owner = getpid();
  if (first) std::atexit(RemoveAtExit);
  setenv("TEMP", folder.c_str(), 1);
  setenv("TMP", folder.c_str(), 1);
  setenv("TMPDIR", folder.c_str(), 1);
  return true;
}

void RemoveSessionTemp() {
  Session& session = TheSession();
  // A child process forked by a module shares the folder; only the session
  // that made it removes it.
  if (session.folder.empty() || session.owner != getpid()) return;
  std::error_code ignored;
  std::filesystem::remove_all(session.folder, ignored);
  session.folder.clear();
}

}  // namespace arxhost_shell
