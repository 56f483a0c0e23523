#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelv {

namespace {

std::string ErrnoText(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

bool WriteFileAtomically(const std::string& nativePath, std::span<const uint8_t> bytes, std::string& error) {
  std::string temp = nativePath + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = ErrnoText("cannot create a temporary file beside it");
    return false;
  }
  auto fail = [&](const char* what) {
    error = ErrnoText(what);
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  };
  const uint8_t* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write");
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // Files made by mkstemp are private; the model file follows the umask.
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  if (::fsync(fd) != 0) return fail("cannot write");
  if (::close(fd) != 0) {
    error = ErrnoText("cannot write");
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), nativePath.c_str()) != 0) {
    error = ErrnoText("cannot move it into place");
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace kelv
