#include "IgesRead.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <IGESData_IGESModel.hxx>
#include <Standard_Failure.hxx>

#include "InParallel.h"
#include "OcctMessages.h"
#include "file_state.h"

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

// The file opened for reading, with what fstat says of it; false with a
// reason that completes "The IGES file '...' ...".
bool OpenIges(const std::string& nativePath, int& fd, struct stat& st, std::string& reason) {
  fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    reason = error == ENOENT || error == ENOTDIR ? "does not exist" : "cannot be opened (" + ErrorText(error) + ")";
    return false;
  }
  if (::fstat(fd, &st) != 0) {
    reason = "cannot be opened (" + ErrorText(errno) + ")";
  } else if (S_ISDIR(st.st_mode)) {
    reason = "is a folder, not a file";
  } else if (!S_ISREG(st.st_mode)) {
    reason = "is not a regular file";
  } else if (static_cast<uint64_t>(st.st_size) >= kMaxIgesSize) {
    reason = "is too large to be read";
  } else {
    return true;
  }
  ::close(fd);
  fd = -1;
  return false;
}

const char* const kChanged = "cannot be read completely (it changed while it was read)";

struct FileCloser {
  int fd;
  ~FileCloser() { ::close(fd); }
};

// Bytes [from, to) of an opened file into dest + from: 0 when all came,
// else the error, or -1 for an end of file before 'to'.
int ReadRange(int fd, char* dest, size_t from, size_t to) {
  size_t done = from;
  while (done < to) {
    const ssize_t got = ::pread(fd, dest + done, to - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno ? errno : EIO;
    if (got == 0) return -1;
    done += static_cast<size_t>(got);
  }
  return 0;
}

// Below this many bytes a piece of the file is not worth a thread.
constexpr size_t kBytesPerReader = size_t{4} << 20;

// The whole of an opened file of the given size, into dest. A large file
// is read in pieces at once, so that the fresh memory the bytes go to is
// faulted in on several cores; what went wrong first in the file is said.
bool ReadOpened(int fd, char* dest, size_t size, std::string& reason) {
  const int parts = PartsFor(size, kBytesPerReader);
  std::vector<int> outcome(static_cast<size_t>(parts), 0);
  const size_t piece = size / static_cast<size_t>(parts);
  InParallel(parts, [&](int k) {
    const size_t from = piece * static_cast<size_t>(k), to = k + 1 == parts ? size : from + piece;
    outcome[static_cast<size_t>(k)] = ReadRange(fd, dest, from, to);
  });
  for (int result : outcome) {
    if (result == 0) continue;
    reason = result < 0 ? kChanged : "cannot be read (" + ErrorText(result) + ")";
    return false;
  }
  return true;
}

// Room for a file's bytes that the check reads, in huge pages where the
// system gives them: faulting in tens of megabytes of fresh small pages
// costs several times the check itself. Throws std::bad_alloc, as a string
// of that size would.
class FileBuffer {
 public:
  explicit FileBuffer(size_t size) : size_(size) {
    if (size == 0) return;
    constexpr size_t kHuge = size_t{2} << 20;
    if (size < kHuge) {
      small_.resize(size);
      data_ = small_.data();
      return;
    }
    const size_t rounded = (size + kHuge - 1) & ~(kHuge - 1);
    length_ = rounded + kHuge;  // room to start on a huge page
    void* base = ::mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) throw std::bad_alloc();
    base_ = base;
    data_ = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(base) + kHuge - 1) & ~(uintptr_t{kHuge} - 1));
    ::madvise(data_, rounded, MADV_HUGEPAGE);  // a hint: small pages do too
  }
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;
  ~FileBuffer() { Release(); }

  char* Data() { return data_; }
  std::string_view View() const { return {data_, size_}; }
  void Release() {
    if (base_) ::munmap(base_, length_);
    base_ = nullptr;
    std::string().swap(small_);
    data_ = nullptr;
    size_ = 0;
  }

 private:
  void* base_ = nullptr;
  size_t length_ = 0;
  std::string small_;  // a file under one huge page
  char* data_ = nullptr;
  size_t size_ = 0;
};

// An opened file as it was when its bytes were read, and the path by which
// Open CASCADE reaches that very file.
struct InPlace {
  std::string path;
  int fd = -1;
  struct stat read {};
};

// Nothing wrote to the file since it was read.
bool Unchanged(const InPlace& file) {
  struct stat now {};
  return ::fstat(file.fd, &now) == 0 && file_state::Same(now, file.read);
}

// The check, then Open CASCADE's reading: of the open file when it holds
// exactly the checked bytes and needs no correction, else of a copy. The
// owned bytes are released before the parser runs.
bool CheckAndRead(std::string_view bytes, const InPlace* inPlace, FileBuffer* owned, IGESControl_Reader& reader,
                  ScanResult& scan, std::string& reason) {
  if (!ScanIges(bytes, scan, reason)) return false;
  if (scan.entries.empty()) {
    reason = "holds no entities";
    return false;
  }
  // Open CASCADE reads the bytes that were checked: the open file when it
  // holds them as they are, else a copy (of the corrected layout, or of
  // bytes that have no file).
  TempCopy copy;
  const bool asChecked = inPlace && !scan.needsNormalizedCopy;
  if (!asChecked && !copy.Write(scan.needsNormalizedCopy ? std::string_view(scan.normalized) : bytes, reason))
    return false;
  const std::string& readPath = asChecked ? inPlace->path : copy.Path();
  std::string().swap(scan.normalized);
  if (owned) owned->Release();  // the parser needs the room
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
  if (asChecked && !Unchanged(*inPlace)) {
    reason = kChanged;
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

bool ReadFileBytes(const std::string& nativePath, std::string& bytes, std::string& reason) {
  int fd = -1;
  struct stat st {};
  if (!OpenIges(nativePath, fd, st, reason)) return false;
  const FileCloser closer{fd};
  bytes.resize(static_cast<size_t>(st.st_size));
  return ReadOpened(fd, bytes.data(), bytes.size(), reason);
}

bool ReadIgesFile(const std::string& nativePath, IGESControl_Reader& reader, ScanResult& scan, std::string& reason) {
  int fd = -1;
  struct stat opened {};
  if (!OpenIges(nativePath, fd, opened, reason)) return false;
  const FileCloser closer{fd};
  FileBuffer bytes(static_cast<size_t>(opened.st_size));
  if (!ReadOpened(fd, bytes.Data(), static_cast<size_t>(opened.st_size), reason)) return false;
  // Open CASCADE reads the open file itself, which stays the same file
  // whatever becomes of its name; that it was not written to meanwhile is
  // checked after the parse. No copy of it is held while the parser runs.
  const InPlace inPlace{"/proc/self/fd/" + std::to_string(fd), fd, opened};
  const bool reachable = ::access(inPlace.path.c_str(), R_OK) == 0;
  return CheckAndRead(bytes.View(), reachable ? &inPlace : nullptr, &bytes, reader, scan, reason);
}

bool ReadIgesBytes(std::string_view bytes, IGESControl_Reader& reader, ScanResult& scan, std::string& reason) {
  return CheckAndRead(bytes, nullptr, nullptr, reader, scan, reason);
}

}  // namespace igesread
