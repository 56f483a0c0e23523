#include "environment.h"

#include <fcntl.h>
#include <sys/file.h>
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
  int lock = -1;  // held while the session lives; the system lets it go when the process dies
};

constexpr const char* kSessionPrefix = "arxhost.";
constexpr const char* kLockName = ".session";

// Marks the folder as a living session's: a lock file, locked before it
// takes its name, so that no other session finds it unlocked.
int LockSession(const std::string& folder) {
  const std::string pending = folder + "/" + kLockName + ".new";
  const int fd = open(pending.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || rename(pending.c_str(), (folder + "/" + kLockName).c_str()) != 0) {
    close(fd);
    unlink(pending.c_str());
    return -1;
  }
  return fd;
}

// Folders of sessions that ended without removing theirs (killed, or a
// power cut): their lock is free. Folders without a lock file are left
// alone, as a session may be making one at this moment.
void RemoveAbandoned(const std::string& user) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(user, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(kSessionPrefix, 0) != 0 || !entry.is_directory(ec) || entry.is_symlink(ec)) continue;
    const int fd = open((entry.path() / kLockName).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) continue;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) std::filesystem::remove_all(entry.path(), ec);
    close(fd);
  }
}

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
  RemoveAbandoned(user);
  std::string folder = user + "/" + kSessionPrefix + "XXXXXX";
  if (!mkdtemp(folder.data())) {
    if (error) *error = "cannot create a temporary folder in " + user + ": " + std::strerror(errno);
    return false;
  }
  Session& session = TheSession();
  if (session.lock >= 0) close(session.lock);
  session.lock = LockSession(folder);
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
  if (session.lock >= 0) close(session.lock);
  session.lock = -1;
}

}  // namespace arxhost_shell
