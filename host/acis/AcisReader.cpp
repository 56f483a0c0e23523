// Splitting SAT files into bodies and telling solids, regions and bodies
// apart.
#include "acis/AcisReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "acis/AcisGeometry.h"
#include "acis/AcisRecords.h"
#include "win32/strconv.h"

namespace arxhost {

namespace {

// Files beyond this size are not SAT models this host reads.
constexpr off_t kMaxSatBytes = off_t{512} * 1024 * 1024;

SatBodyKind Classify(const sat::Document& doc) {
  bool anyFace = false, closed = true, planar = true;
  for (const sat::Record& r : doc.records) {
    if (r.type == "face") {
      anyFace = true;
      std::vector<long> ps = r.pointers();
      long surface = ps.empty() ? -1 : ps.back();
      const std::string surfaceType = surface < 0 ? std::string() : doc.records[static_cast<size_t>(surface)].type;
      if (surfaceType.find("plane") != 0) planar = false;
      // A face without loops is its whole surface: it encloses something
      // only when that surface closes on itself.
      std::vector<const sat::Field*> fields = sat::DataFields(doc, r);
      const bool looped = fields.size() > 1 && fields[1]->pointer >= 0;
      if (!looped && surfaceType.find("sphere") != 0 && surfaceType.find("torus") != 0) closed = false;
    } else if (r.type == "coedge") {
      // From the end: pcurve, loop, edge, partner.
      std::vector<long> ps = r.pointers();
      if (ps.size() < 4 || ps[ps.size() - 4] < 0) closed = false;
    }
  }
  if (!anyFace) return SatBodyKind::Body;
  if (closed) return SatBodyKind::Solid;
  return planar ? SatBodyKind::Region : SatBodyKind::Body;
}

}  // namespace

SatReadResult ReadSatText(const std::string& text) {
  SatReadResult result;
  std::string error;
  std::optional<sat::Document> doc = sat::Parse(text, error);
  if (!doc) {
    result.status = Acad::eCannotRestoreFromAcisFile;
    result.error = "Not an ACIS SAT file: " + error;
    return result;
  }
  size_t bodies = 0;
  for (const sat::Record& r : doc->records)
    if (r.type == "body") ++bodies;
  for (size_t i = 0; i < doc->records.size(); ++i) {
    if (doc->records[i].type != "body") continue;
    // A file of one body gives its records up; bodies of one file may share some.
    const std::vector<long> keep = sat::Reachable(*doc, static_cast<long>(i));
    sat::Document one = bodies == 1 ? sat::Extract(std::move(*doc), keep) : sat::Extract(*doc, keep);
    result.bodies.push_back({Classify(one), sat::Write(one)});
    if (bodies == 1) break;
  }
  return result;
}

SatReadResult ReadSatBodies(const std::wstring& path) {
  SatReadResult result;
  std::string native = NativePath(path);
  auto fail = [&](Acad::ErrorStatus status, std::string error) {
    result.status = status;
    result.error = std::move(error);
    return result;
  };
  std::error_code ec;
  const int fd = std::filesystem::is_regular_file(native, ec) ? ::open(native.c_str(), O_RDONLY | O_CLOEXEC) : -1;
  if (fd < 0) return fail(Acad::eCantOpenFile, "Cannot open the SAT file " + native);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(Acad::eCantOpenFile, "Cannot read the SAT file " + native);
  if (st.st_size > kMaxSatBytes)
    return fail(Acad::eCannotRestoreFromAcisFile, "The SAT file " + native + " is too large to read");
  // What the file holds up to the size it had when opened.
  std::string text(static_cast<size_t>(st.st_size), '\0');
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return fail(Acad::eCantOpenFile, "Cannot read the SAT file " + native);
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  text.resize(done);
  result = ReadSatText(text);
  if (result.status != Acad::eOk) result.error += " (" + native + ")";
  return result;
}

}  // namespace arxhost
