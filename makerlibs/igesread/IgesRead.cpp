#include "IgesRead.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <IGESData_IGESModel.hxx>
#include <Standard_Failure.hxx>

#include "OcctMessages.h"

namespace igesread {

namespace {

constexpr uint64_t kMaxIgesSize = 1ull << 31;

std::string ErrorText(int error) { return std::strerror(error); }

// The host's TEMP is the session's own folder; TMPDIR may be shared.
std::string TempFolder() {
  for (const char* name : {"TEMP", "TMP", "TMPDIR"}) {
    const char* v = std::getenv(name);
    if (v && *v) return v;
  }
  return "/tmp";
}

// A private copy for Open CASCADE, which reads only from a path. It lives in
// memory where the system allows, so that a parser that dies on it leaves no
// file behind; else in the session's temporary folder. Gone when it goes.
class TempCopy {
 public:
  TempCopy() = default;
  TempCopy(const TempCopy&) = delete;
  TempCopy& operator=(const TempCopy&) = delete;
  bool Write(std::string_view bytes, std::string& error) {
    fd_ = ::memfd_create("kelviges", MFD_CLOEXEC);
    if (fd_ >= 0) {
      path_ = "/proc/self/fd/" + std::to_string(fd_);
      if (::access(path_.c_str(), R_OK) != 0) {  // no /proc to reach it by
        ::close(fd_);
        fd_ = -1;
      }
    }
    if (fd_ < 0) {
      file_ = TempFolder() + "/kelviges.XXXXXX";
      fd_ = ::mkostemp(file_.data(), O_CLOEXEC);
      if (fd_ < 0) {
        file_.clear();
        return Fail(errno, error);
      }
      path_ = file_;
    }
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t n = ::write(fd_, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Fail(n < 0 ? errno : ENOSPC, error);
      p += n;
      left -= static_cast<size_t>(n);
    }
    return true;
  }
  const std::string& Path() const { return path_; }
  ~TempCopy() {
    if (fd_ >= 0) ::close(fd_);
    if (!file_.empty()) ::unlink(file_.c_str());
  }

 private:
  static bool Fail(int code, std::string& error) {
    error = "cannot be copied for reading (" + ErrorText(code) + ")";
    return false;
  }

  int fd_ = -1;
  std::string path_;
  std::string file_;  // the copy on disk, when it is not in memory
};

}  // namespace

namespace {

// The file opened for reading, with its size; false with a reason as above.
bool OpenIges(const std::string& nativePath, int& fd, size_t& size, std::string& reason) {
  fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    reason = error == ENOENT || error == ENOTDIR ? "does not exist" : "cannot be opened (" + ErrorText(error) + ")";
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    reason = "cannot be opened (" + ErrorText(errno) + ")";
  } else if (S_ISDIR(st.st_mode)) {
    reason = "is a folder, not a file";
  } else if (!S_ISREG(st.st_mode)) {
    reason = "is not a regular file";
  } else if (static_cast<uint64_t>(st.st_size) >= kMaxIgesSize) {
    reason = "is too large to be read";
  } else {
    size = static_cast<size_t>(st.st_size);
    return true;
  }
  ::close(fd);
  fd = -1;
  return false;
}

const char* const kChanged = "cannot be read completely (it changed while it was read)";

// The file's bytes copied by the system into a file in memory and mapped
// from there: no zero-filled buffer, no copy through this process, and the
// copy is the very file Open CASCADE then reads. Where the system offers no
// such file (or no path to it), Copy fails with an empty reason and the
// bytes are read the ordinary way.
class MemoryCopy {
 public:
  MemoryCopy() = default;
  MemoryCopy(const MemoryCopy&) = delete;
  MemoryCopy& operator=(const MemoryCopy&) = delete;
  ~MemoryCopy() {
    if (map_) ::munmap(map_, size_);
    if (fd_ >= 0) ::close(fd_);
  }
  bool Copy(int from, size_t size, std::string& reason) {
    fd_ = ::memfd_create("kelviges", MFD_CLOEXEC);
    if (fd_ < 0) return false;
    path_ = "/proc/self/fd/" + std::to_string(fd_);
    if (::access(path_.c_str(), R_OK) != 0) return false;
    size_t done = 0;
    while (done < size) {
      const ssize_t n = ::sendfile(fd_, from, nullptr, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && done == 0 && (errno == EINVAL || errno == ENOSYS)) return false;  // no copy by the system
      if (n < 0) {
        const int error = errno;
        const bool noRoom = error == ENOSPC || error == ENOMEM || error == EFBIG || error == EDQUOT;
        reason = (noRoom ? "cannot be copied for reading (" : "cannot be read (") + ErrorText(error) + ")";
        return false;
      }
      if (n == 0) {
        reason = kChanged;
        return false;
      }
      done += static_cast<size_t>(n);
    }
    size_ = size;
    if (size > 0) {
      void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED | MAP_POPULATE, fd_, 0);
      if (map == MAP_FAILED) {
        reason = "cannot be read (" + ErrorText(errno) + ")";
        return false;
      }
      map_ = map;
    }
    return true;
  }
  std::string_view Bytes() const { return {static_cast<const char*>(map_), map_ ? size_ : 0}; }
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  void* map_ = nullptr;
  size_t size_ = 0;
  std::string path_;
};

// The check, then Open CASCADE's reading: of the file at bytesPath when it
// holds exactly the checked bytes and needs no correction, else of a copy.
bool CheckAndRead(std::string_view bytes, const std::string* bytesPath, IGESControl_Reader& reader, ScanResult& scan,
                  std::string& reason);

}  // namespace

bool ReadFileBytes(const std::string& nativePath, std::string& bytes, std::string& reason) {
  int fd = -1;
  size_t size = 0;
  if (!OpenIges(nativePath, fd, size, reason)) return false;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  bytes.assign(size, '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      reason = "cannot be read (" + ErrorText(errno) + ")";
      return false;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  if (done != bytes.size()) {
    reason = kChanged;
    return false;
  }
  return true;
}

bool ReadIgesFile(const std::string& nativePath, IGESControl_Reader& reader, ScanResult& scan, std::string& reason) {
  int fd = -1;
  size_t size = 0;
  if (!OpenIges(nativePath, fd, size, reason)) return false;
  MemoryCopy copy;
  const bool copied = copy.Copy(fd, size, reason);
  ::close(fd);
  if (copied) return CheckAndRead(copy.Bytes(), &copy.Path(), reader, scan, reason);
  if (!reason.empty()) return false;
  std::string bytes;
  return ReadFileBytes(nativePath, bytes, reason) && ReadIgesBytes(bytes, reader, scan, reason);
}

bool ReadIgesBytes(std::string_view bytes, IGESControl_Reader& reader, ScanResult& scan, std::string& reason) {
  return CheckAndRead(bytes, nullptr, reader, scan, reason);
}

namespace {

bool CheckAndRead(std::string_view bytes, const std::string* bytesPath, IGESControl_Reader& reader, ScanResult& scan,
                  std::string& reason) {
  if (!ScanIges(bytes, scan, reason)) return false;
  if (scan.entries.empty()) {
    reason = "holds no entities";
    return false;
  }
  // Open CASCADE reads the bytes that were checked, not the file again: a
  // file changed or removed in between would otherwise pass for a damaged one.
  TempCopy copy;
  const bool asChecked = bytesPath && !scan.needsNormalizedCopy;
  if (!asChecked && !copy.Write(scan.needsNormalizedCopy ? std::string_view(scan.normalized) : bytes, reason))
    return false;
  const std::string& readPath = asChecked ? *bytesPath : copy.Path();
  scan.normalized.clear();
  scan.normalized.shrink_to_fit();
  SilenceOpenCascade();
  try {
    if (reader.ReadFile(readPath.c_str()) != IFSelect_RetDone) {
      reason = "cannot be read by the IGES parser";
      return false;
    }
  } catch (const Standard_Failure& failure) {
    const char* message = failure.GetMessageString();
    reason = std::string("cannot be read by the IGES parser (") + (message && *message ? message : failure.DynamicType()->Name()) + ")";
    return false;
  }
  const Handle(IGESData_IGESModel) model = reader.IGESModel();
  if (model.IsNull()) {
    reason = "cannot be read by the IGES parser";
    return false;
  }
  if (model->NbEntities() != static_cast<int>(scan.entries.size())) {
    reason = "is damaged: the parser found " + std::to_string(model->NbEntities()) +
             " entities where the directory lists " + std::to_string(scan.entries.size());
    return false;
  }
  return true;
}

}  // namespace

}  // namespace igesread
