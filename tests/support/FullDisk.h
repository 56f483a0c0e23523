#pragma once
// A full disk, which folder permissions cannot stand in for when the tests
// run as root: while the object lives, writes past the given size of any
// file fail (with EFBIG, the signal that would end the process ignored).
#include <sys/resource.h>

#include <csignal>

class FullDisk {
 public:
  explicit FullDisk(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit tiny = old_;
    tiny.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &tiny);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, handler_);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  rlimit old_{};
  void (*handler_)(int);
};
