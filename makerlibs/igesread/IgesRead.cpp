#include "IgesRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <IGESData_IGESModel.hxx>
#include <Standard_Failure.hxx>

namespace igesread {

namespace {

constexpr uint64_t kMaxIgesSize = 1ull << 31;

std::string ErrorText(int error) { return std::strerror(error); }

std::string TempFolder() {
  for (const char* name : {"TMPDIR", "TEMP", "TMP"}) {
    const char* v = std::getenv(name);
    if (v && *v) return v;
  }
  return "/tmp";
}

// A private temporary copy for Open CASCADE, removed when it goes.
class TempCopy {
 public:
  TempCopy() = default;
  TempCopy(const TempCopy&) = delete;
  TempCopy& operator=(const TempCopy&) = delete;
  bool Write(std::string_view bytes, std::string& error) {
    path_ = TempFolder() + "/kelviges.XXXXXX";
    int fd = ::mkstemp(path_.data());
    if (fd < 0) {
      error = "cannot be copied for reading (" + ErrorText(errno) + ")";
      path_.clear();
      return false;
    }
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t n = ::write(fd, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = "cannot be copied for reading (" + ErrorText(n < 0 ? errno : ENOSPC) + ")";
        ::close(fd);
        return false;
      }
      p += n;
      left -= static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
      error = "cannot be copied for reading (" + ErrorText(errno) + ")";
      return false;
    }
    return true;
  }
  const std::string& Path() const { return path_; }
  ~TempCopy() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }

 private:
  std::string path_;
};

}  // namespace

bool ReadFileBytes(const std::string& nativePath, std::string& bytes, std::string& reason) {
  const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    reason = error == ENOENT || error == ENOTDIR ? "does not exist" : "cannot be opened (" + ErrorText(error) + ")";
    return false;
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    reason = "cannot be opened (" + ErrorText(errno) + ")";
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    reason = "is a folder, not a file";
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    reason = "is not a regular file";
    return false;
  }
  if (static_cast<uint64_t>(st.st_size) >= kMaxIgesSize) {
    reason = "is too large to be read";
    return false;
  }
  bytes.assign(static_cast<size_t>(st.st_size), '\0');
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
    reason = "cannot be read completely (it changed while it was read)";
    return false;
  }
  return true;
}

bool ReadIgesFile(const std::string& nativePath, IGESControl_Reader& reader, ScanResult& scan, std::string& reason) {
  std::string bytes;
  return ReadFileBytes(nativePath, bytes, reason) && ReadIgesBytes(bytes, nativePath, reader, scan, reason);
}

bool ReadIgesBytes(std::string_view bytes, const std::string& nativePath, IGESControl_Reader& reader,
                   ScanResult& scan, std::string& reason) {
  if (!ScanIges(bytes, scan, reason)) return false;
  if (scan.entries.empty()) {
    reason = "holds no entities";
    return false;
  }
  TempCopy copy;
  std::string readPath = nativePath;
  if (scan.needsNormalizedCopy || readPath.empty()) {
    if (!copy.Write(scan.needsNormalizedCopy ? std::string_view(scan.normalized) : bytes, reason)) return false;
    readPath = copy.Path();
    scan.normalized.clear();
    scan.normalized.shrink_to_fit();
  }
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

}  // namespace igesread
