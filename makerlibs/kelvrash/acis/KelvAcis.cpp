// KelvAcis: openNURBS B-reps written as ACIS SAT files.
#include "KelvAcis.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <unordered_map>

#include "acis/BrepToSat.h"
#include "acis/PreparedSat.h"
#include "win32/atomicfile.h"
#include "win32/strconv.h"

namespace {

CString& LastError() {
  static CString text;
  return text;
}

int Fail(const CString& path, const std::string& reason) {
  LastError().Format(L"The SAT file \"%s\" was not written: %s.", path.GetString(),
                     arxhost::FromUtf8(reason).c_str());
  return 0;
}

// What ON_TextLog says, on one line without its final full stop.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
  return text;
}

// Why the file could not be written, in the user's words: a full disk (or a
// file-size limit, which stops the writer just as one would) said plainly.
std::string WriteFailure(int error) {
  const std::string detail = std::strerror(error);
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "the disk is full (" + detail + ")";
    case EFBIG:
      return "the disk is full for this process: the file would pass its file-size limit (" + detail + ")";
    default:
      return "cannot write: " + detail;
  }
}

// Writes a file that is not there yet straight under its name, and takes
// it away again when the writing fails; errno says why.
bool WriteNew(int fd, const std::string& nativePath, const std::string& text, std::string& reason) {
  const char* p = text.data();
  size_t left = text.size();
  int error = 0;
  while (left > 0 && !error) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (::close(fd) != 0 && !error) error = errno;
  if (!error) return true;
  ::unlink(nativePath.c_str());
  errno = error;
  reason = WriteFailure(error);
  return false;
}

// Its callers read the file back at once and delete it: it need not
// survive a crash, so it is not flushed to the disk. Where the name is free
// (the importer deletes each file once read) the file is written under it
// directly; a file already there is replaced whole or not at all, through
// a temporary file beside it.
bool WriteSat(const std::string& nativePath, const std::string& text, std::string& reason) {
  const int fd = ::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) return WriteNew(fd, nativePath, text, reason);
  arxhost::AtomicFile file;
  if (!file.Open(nativePath, false)) {
    reason = errno == ENOSPC || errno == EDQUOT ? WriteFailure(errno)
                                                : "cannot create a temporary file beside it: " +
                                                      std::string(std::strerror(errno));
    return false;
  }
  if (file.Write(text) && file.Commit()) return true;
  reason = WriteFailure(errno);
  return false;
}

}  // namespace

namespace kelv::acis {

PreparedSat PrepareSat(const ON_Brep& brep) {
  PreparedSat out;
  if (brep.FaceCount() == 0) {
    out.failure = "the B-rep has no faces";
    return out;
  }
  ON_TextLog log;
  if (!brep.IsValid(&log)) {
    std::string why = OneLine(log.Text());
    out.failure = "the B-rep is not valid" + (why.empty() ? std::string() : " (" + why + ")");
    return out;
  }
  std::string reason;
  if (!BrepToSat(brep, out.doc, reason)) {
    out.failure = "the B-rep cannot be expressed in SAT: " + reason;
    out.doc = SatDocument();
    return out;
  }
  out.ok = true;
  return out;
}

namespace {

std::mutex& PreparedLock() {
  static std::mutex lock;
  return lock;
}

// Never destroyed: the model reader may forget its entries while the
// program's statics are destroyed.
std::unordered_map<const ON_Brep*, PreparedSat>& Prepared() {
  static auto* prepared = new std::unordered_map<const ON_Brep*, PreparedSat>;
  return *prepared;
}

}  // namespace

void KeepPreparedSat(const ON_Brep* brep, PreparedSat prepared) {
  std::lock_guard<std::mutex> hold(PreparedLock());
  Prepared()[brep] = std::move(prepared);
}

std::optional<PreparedSat> TakePreparedSat(const ON_Brep* brep) {
  std::lock_guard<std::mutex> hold(PreparedLock());
  auto it = Prepared().find(brep);
  if (it == Prepared().end()) return std::nullopt;
  std::optional<PreparedSat> out(std::move(it->second));
  Prepared().erase(it);
  return out;
}

void ForgetPreparedSats() {
  std::lock_guard<std::mutex> hold(PreparedLock());
  Prepared().clear();
}

}  // namespace kelv::acis

// The version and the option text are accepted as the callers pass them;
// every file is written as SAT version 7.0.
int KelvAcis::ConvertBrepToSAT(const ON_Brep& brep, const CString& path, int, const CString&) {
  try {
    if (path.IsEmpty()) return Fail(path, "no file name was given");
    std::optional<kelv::acis::PreparedSat> prepared = kelv::acis::TakePreparedSat(&brep);
    if (!prepared) prepared = kelv::acis::PrepareSat(brep);
    if (!prepared->ok) return Fail(path, prepared->failure);
    const std::string text = prepared->doc.Text("Kelvrash SAT writer", kelv::acis::CtimeNow());
    prepared.reset();
    std::string reason;
    if (!WriteSat(arxhost::NativePath(path.str()), text, reason)) {
      // errno still tells the caller that the disk, not the B-rep, failed.
      const int cause = errno;
      Fail(path, reason);
      errno = cause;
      return 0;
    }
    return 1;
  } catch (const std::bad_alloc&) {
    return Fail(path, "there is not enough memory");
  }
}

CString KelvAcis::GetError() { return LastError(); }
void KelvAcis::SetError(const CString& text) { LastError() = text; }
