#include "win32/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace arxhost {

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
  const int saved = errno;  // callers read errno after a failed step
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  errno = saved;
}

bool AtomicFile::Open(const std::string& nativePath, bool durable) {
  Discard();
  target_ = nativePath;
  durable_ = durable;
  std::string name = nativePath + ".XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return false;
  fd_ = fd;
  temporary_ = name;
  // mkstemp makes the file private; the result is an ordinary document.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
  return true;
}

bool AtomicFile::Write(std::string_view bytes) {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  while (!bytes.empty()) {
    const ssize_t done = ::write(fd_, bytes.data(), bytes.size());
    if (done < 0) {
      if (errno == EINTR) continue;
      Discard();
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(done));
  }
  return true;
}

bool AtomicFile::Flush() {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  // Some file systems report a full disk only when the data reach it.
  const int fd = fd_;
  fd_ = -1;
  if (durable_ && ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    Discard();
    return false;
  }
  if (::close(fd) != 0) {
    Discard();
    return false;
  }
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ >= 0 && !Flush()) return false;
  if (temporary_.empty()) {
    errno = EBADF;
    return false;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

namespace {

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

std::string WriteFileAtomically(const std::string& nativePath, std::string_view content) {
  return WriteFileAtomically(nativePath, {content});
}

std::string WriteFileAtomically(const std::string& nativePath, std::initializer_list<std::string_view> parts) {
  return WriteFileAtomically(nativePath, std::span<const std::string_view>(parts.begin(), parts.size()));
}

std::string WriteFileAtomically(const std::string& nativePath, std::span<const std::string_view> parts) {
  const std::string fail = "Cannot save " + nativePath + ": ";
  if (nativePath.empty()) return "Cannot save the drawing: no file name was given.";
  if (nativePath.back() == '/') return fail + "the name is a folder, not a file.";
  std::string folder = FolderOf(nativePath);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    return fail + "the folder " + folder + " does not exist.";
  if (stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
    return fail + "a folder of that name exists.";

  AtomicFile file;
  bool ok = file.Open(nativePath);
  for (auto part = parts.begin(); ok && part != parts.end(); ++part) ok = file.Write(*part);
  if (ok && file.Commit()) return {};
  return fail + std::system_category().message(errno) + ".";
}

}  // namespace arxhost
