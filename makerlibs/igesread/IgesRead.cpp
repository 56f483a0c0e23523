#include "IgesRead.h"

#include <fcntl.h>
#include <sys/mman.h>
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

namespace {

// The check and the copy Open CASCADE reads; the caller's bytes, when it
// hands them over (owned), go before the parser runs, which needs the room.
bool ReadChecked(std::string_view bytes, std::string* owned, IGESControl_Reader& reader, ScanResult& scan,
                 std::string& reason) {
  if (!ScanIges(bytes, scan, reason)) return false;
  if (scan.entries.empty()) {
    reason = "holds no entities";
    return false;
  }
  // Open CASCADE reads the bytes that were checked, not the file again: a
  // file changed or removed in between would otherwise pass for a damaged one.
  TempCopy copy;
  if (!copy.Write(scan.needsNormalizedCopy ? std::string_view(scan.normalized) : bytes, reason)) return false;
  const std::string& readPath = copy.Path();
  std::string().swap(scan.normalized);
  if (owned) std::string().swap(*owned);
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

bool ReadIgesFile(const std::string& nativePath, IGESControl_Reader& reader, ScanResult& scan, std::string& reason) {
  std::string bytes;
  return ReadFileBytes(nativePath, bytes, reason) && ReadChecked(bytes, &bytes, reader, scan, reason);
}

bool ReadIgesBytes(std::string_view bytes, IGESControl_Reader& reader, ScanResult& scan, std::string& reason) {
  return ReadChecked(bytes, nullptr, reader, scan, reason);
}

}  // namespace igesread
