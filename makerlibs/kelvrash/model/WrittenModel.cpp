#include "WrittenModel.h"

#include <sys/stat.h>

#include <mutex>

#include "file_state.h"

namespace kelv::model {

namespace {

struct Kept {
  std::mutex lock;
  std::string path;
  struct stat identity {};
  std::string bytes;
  size_t offset = 0;

  void Clear() {
    path.clear();
    std::string().swap(bytes);
    offset = 0;
  }
};

Kept& TheKept() {
  static Kept kept;
  return kept;
}

}  // namespace

void KeepWrittenModel(const std::string& nativePath, std::string bytes, size_t offset) {
  Kept& k = TheKept();
  std::lock_guard guard(k.lock);
  k.Clear();
  struct stat st {};
  if (offset > bytes.size() || ::stat(nativePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<size_t>(st.st_size) != bytes.size() - offset)
    return;
  k.path = nativePath;
  k.identity = st;
  k.bytes = std::move(bytes);
  k.offset = offset;
}

bool TakeWrittenModel(const std::string& nativePath, std::string& bytes, size_t& offset) {
  Kept& k = TheKept();
  std::lock_guard guard(k.lock);
  struct stat st {};
  const bool same = !k.path.empty() && k.path == nativePath && ::stat(nativePath.c_str(), &st) == 0 &&
                    file_state::Same(st, k.identity);
  if (same) {
    bytes = std::move(k.bytes);
    offset = k.offset;
  }
  k.Clear();
  return same;
}

void DropWrittenModel() {
  Kept& k = TheKept();
  std::lock_guard guard(k.lock);
  k.Clear();
}

}  // namespace kelv::model
