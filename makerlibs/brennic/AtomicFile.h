#pragma once
// A file that appears whole or not at all: written under a temporary name
// in the target's folder, then renamed over the target. Every failure
// (a full disk included) removes the temporary file.
#include <string>
#include <string_view>

#include "FileDescriptor.h"

namespace brennic {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  // Each returns false with errno set on failure.
  bool Open(const std::string& target);
  bool Write(std::string_view bytes);
  bool Commit();  // flushes to disk and renames over the target

 private:
  void Discard();

  std::string target_;
  std::string temporary_;
  FileDescriptor fd_;
};

}  // namespace brennic
