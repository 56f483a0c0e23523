#include "IgesDocument.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <IGESData_IGESEntity.hxx>
#include <Interface_EntityIterator.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Standard_Failure.hxx>


namespace kelv::iges {

namespace {

constexpr uint64_t kMaxIgesSize = 1ull << 31;

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
        return Fail(error);
      }
      path_ = file_;
    }
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t n = ::write(fd_, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Fail(error);
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
  bool Fail(std::string& error) const {
    error = std::string("cannot be copied for reading (") + std::strerror(errno) + ")";
    return false;
  }

  int fd_ = -1;
  std::string path_;
  std::string file_;  // the copy on disk, when it is not in memory
};

}  // namespace

void SilenceOpenCascade() {
  static std::once_flag once;
  std::call_once(once, [] {
    Message::DefaultMessenger()->ChangePrinters().Clear();
  });
}

IgesDocument::IgesDocument() = default;

IgesDocument::~IgesDocument() {
  // Members point back at the groups that hold them (associativities): cut
  // those cycles so that the model goes with the reader.
  try {
    if (model_.IsNull()) return;
    for (int i = 1; i <= model_->NbEntities(); ++i) {
      const Handle(IGESData_IGESEntity) entity = model_->Entity(i);
      if (entity.IsNull()) continue;
      for (Interface_EntityIterator it = entity->Associativities(); it.More(); it.Next()) {
        const Handle(IGESData_IGESEntity) group = Handle(IGESData_IGESEntity)::DownCast(it.Value());
        if (!group.IsNull()) group->Dissociate(entity);
      }
    }
  } catch (const Standard_Failure&) {
  }
}

bool IgesDocument::Load(const std::string& nativePath, std::string& error) {
  struct stat st {};
  if (::stat(nativePath.c_str(), &st) != 0) {
    error = "does not exist";
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = "is not a file";
    return false;
  }
  if (static_cast<uint64_t>(st.st_size) >= kMaxIgesSize) {
    error = "is too large to be read";
    return false;
  }
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) {
    error = std::string("cannot be opened (") + std::strerror(errno) + ")";
    return false;
  }
  std::string bytes(static_cast<size_t>(st.st_size), '\0');
  if (!bytes.empty() && !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    error = "cannot be read completely (it changed or was removed while it was read)";
    return false;
  }
  return ReadChecked(nativePath, bytes, error);
}

bool IgesDocument::LoadBytes(std::string_view bytes, std::string& error) {
  return ReadChecked(std::string(), bytes, error);
}

bool IgesDocument::ReadChecked(const std::string& nativePath, std::string_view bytes, std::string& error) {
  if (!igesread::ScanIges(bytes, scan_, error)) return false;
  SilenceOpenCascade();
  // Open CASCADE reads the bytes that were checked, not the file again: a file
  // changed or removed in between would otherwise pass for a damaged one.
  TempCopy copy;
  if (!copy.Write(scan_.needsNormalizedCopy ? std::string_view(scan_.normalized) : bytes, error)) return false;
  const std::string readPath = copy.Path();
  scan_.normalized.clear();
  scan_.normalized.shrink_to_fit();
  reader_ = std::make_unique<IGESControl_Reader>();
  try {
    IFSelect_ReturnStatus status = reader_->ReadFile(readPath.c_str());
    if (status != IFSelect_RetDone) {
      error = "cannot be read by the IGES parser";
      return false;
    }
  } catch (const Standard_Failure& failure) {
    error = std::string("cannot be read by the IGES parser (") + failure.GetMessageString() + ")";
    return false;
  }
  model_ = Handle(IGESData_IGESModel)::DownCast(reader_->Model());
  if (model_.IsNull()) {
    error = "cannot be read by the IGES parser";
    return false;
  }
  if (model_->NbEntities() != static_cast<int>(scan_.entries.size())) {
    error = "is damaged: the parser found " + std::to_string(model_->NbEntities()) + " entities where the directory lists " +
            std::to_string(scan_.entries.size());
    return false;
  }
  return true;
}

}  // namespace kelv::iges
