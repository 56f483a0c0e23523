#include "StlFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "StlParser.h"
#include "prefault.h"
#include "VertexWelder.h"

namespace kelvrash::stl {
namespace {

std::string ErrnoWords(int error) {
  switch (error) {
    case ENOENT: return "does not exist";
    case EACCES:
    case EPERM: return "cannot be opened (permission denied)";
    case EISDIR: return "is a folder, not a file";
    case EIO: return "cannot be read (an input/output error occurred)";
    case ENOMEM: return "cannot be read (there is not enough memory)";
    default: return "cannot be read (system error " + std::to_string(error) + ")";
  }
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) {
    reason = ErrnoWords(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) {
    reason = ErrnoWords(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    reason = ErrnoWords(EISDIR);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = "is not a regular file";
    return false;
  }
  bytes.reserve(static_cast<size_t>(info.st_size));
  prefault::ForWriting(bytes.data(), bytes.capacity());
  bytes.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      reason = ErrnoWords(errno);
      return false;
    }
    if (got == 0) break;  // shrank while being read
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  return true;
}

}  // namespace

bool ReadStlFile(const std::string& nativePath, std::vector<Mesh>& meshes, std::string& reason) {
  try {
    std::string bytes;
    if (!ReadWholeFile(nativePath, bytes, reason)) return false;
    std::vector<TriangleSoup> solids;
    if (!ParseStl(bytes, solids, reason)) return false;
    std::vector<Mesh> welded;
    welded.reserve(solids.size());
    for (const auto& soup : solids) welded.push_back(WeldVertices<float>(soup));
    meshes.reserve(meshes.size() + welded.size());
    for (auto& mesh : welded) meshes.push_back(std::move(mesh));
    return true;
  } catch (const std::bad_alloc&) {
    reason = "cannot be read (there is not enough memory)";
    return false;
  }
}

}  // namespace kelvrash::stl
