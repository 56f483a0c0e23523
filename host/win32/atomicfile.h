#pragma once
// Files that appear whole or not at all: written under a temporary name in
// the target's folder, flushed to disk and renamed over the target, so that
// readers see either the old file or the new one, never a part. Every
// failure, a full disk included, removes the temporary file. The one writer
// of the host and the maker libraries.
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace arxhost {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();  // an uncommitted file is discarded

  // Each step returns false with errno set; after a failure the temporary
  // file is gone and only Open starts again.
  // A file that is read back at once and deleted need not survive a crash:
  // not durable, it is renamed into place without waiting for the disk.
  bool Open(const std::string& nativePath, bool durable = true);
  bool Write(std::string_view bytes);
  bool Flush();   // the data on disk (if durable), the temporary file closed
  bool Commit();  // flushes if not done yet, then renames over the target

 private:
  void Discard();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  bool durable_ = true;
};

// The whole content in one go. Returns an empty string on success, otherwise
// a sentence that names the file and what went wrong ("Cannot save ..."); the
// target and its folder are left as they were.
std::string WriteFileAtomically(const std::string& nativePath, std::string_view content);
// The same for content in parts, written one after the other.
std::string WriteFileAtomically(const std::string& nativePath, std::initializer_list<std::string_view> parts);
std::string WriteFileAtomically(const std::string& nativePath, std::span<const std::string_view> parts);

}  // namespace arxhost
