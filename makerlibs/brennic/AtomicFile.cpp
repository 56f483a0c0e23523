#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace brennic {

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
  if (temporary_.empty()) return;
  const int saved = errno;  // callers read errno after a failed step
  fd_.Reset();
  ::unlink(temporary_.c_str());
  temporary_.clear();
  errno = saved;
}

bool AtomicFile::Open(const std::string& target) {
  Discard();
  target_ = target;
  std::string name = target + ".XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return false;
  fd_ = FileDescriptor(fd);
  temporary_ = name;
  ::fchmod(fd, 0644);  // mkstemp makes it private; the result is an ordinary file
  return true;
}

bool AtomicFile::Write(std::string_view bytes) {
  if (!fd_.IsOpen()) {
    errno = EBADF;
    return false;
  }
  while (!bytes.empty()) {
    const ssize_t done = ::write(fd_.Get(), bytes.data(), bytes.size());
    if (done < 0) {
      if (errno == EINTR) continue;
      Discard();
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(done));
  }
  return true;
}

bool AtomicFile::Commit() {
  if (!fd_.IsOpen()) {
    errno = EBADF;
    return false;
  }
  // Some file systems report a full disk only when the data reach it.
  if (::fsync(fd_.Get()) != 0 || ::close(fd_.Release()) != 0 ||
      ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

}  // namespace brennic
