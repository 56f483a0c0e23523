#include "IgesDocument.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Standard_Failure.hxx>

#include "ModelTeardown.h"


namespace kelv::iges {

namespace {

constexpr uint64_t kMaxIgesSize = 1ull << 31;

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
  bool Write(std::string_view bytes, std::string& error) {
    path_ = TempFolder() + "/kelviges.XXXXXX";
    int fd = ::mkstemp(path_.data());
    if (fd < 0) {
      error = std::string("cannot be copied for reading (") + std::strerror(errno) + ")";
      path_.clear();
      return false;
    }
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t n = ::write(fd, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = std::string("cannot be copied for reading (") + std::strerror(errno) + ")";
        ::close(fd);
        return false;
      }
      p += n;
      left -= static_cast<size_t>(n);
    }
    ::close(fd);
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

void SilenceOpenCascade() {
  static std::once_flag once;
  std::call_once(once, [] {
    Message::DefaultMessenger()->ChangePrinters().Clear();
  });
}

IgesDocument::IgesDocument() = default;

IgesDocument::~IgesDocument() {
  // Members point back at the groups and views that hold them: cut those
  // cycles so that the model goes with the reader.
  igesread::CutBackReferences(model_);
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
    error = "cannot be read completely";
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
  TempCopy copy;
  std::string readPath = nativePath;
  if (scan_.needsNormalizedCopy || readPath.empty()) {
    if (!copy.Write(scan_.needsNormalizedCopy ? std::string_view(scan_.normalized) : bytes, error)) return false;
    readPath = copy.Path();
    scan_.normalized.clear();
    scan_.normalized.shrink_to_fit();
  }
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
