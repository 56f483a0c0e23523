#pragma once
// Whether a file is still as it was when it was looked at: the same file
// (device and inode), the same size and the same times of change. A write,
// a truncation or a replacement shows in one of them.
#include <sys/stat.h>

namespace file_state {

inline bool Same(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace file_state
