// BrennStl: Open CASCADE shapes into an STL file.
#include <Standard_Failure.hxx>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "Brennic90Ux64.h"
#include "ErrnoText.h"
#include "OcctMessages.h"
#include "MeshShapes.h"
#include "StlEncoding.h"
#include "win32/atomicfile.h"
#include "win32/strconv.h"

namespace {

using brennic::FailureText;

CString g_stlError;
constexpr size_t kFlushBytes = 1 << 20;

int Fail(const CString& path, const std::wstring& reason) {
  g_stlError.Format(L"Cannot write the STL file \"%s\": %s.", path.GetString(), reason.c_str());
  return 0;
}

}  // namespace

CString BrennStl::GetError() { return g_stlError; }

int BrennStl::Write(const CString& path, const Handle_TopTools_HSequenceOfShape& shapes, int mode) {
  if (shapes.IsNull() || shapes->IsEmpty()) return Fail(path, L"there are no shapes to write");
  const bool ascii = mode == 1;
  igesread::SilenceOpenCascade();

  // The STL file is read back at once and deleted: it need not survive a crash.
  arxhost::AtomicFile file;
  if (!file.Open(arxhost::NativePath(path.str()), false)) return Fail(path, brennic::ErrnoText(errno));

  std::vector<TopoDS_Shape> list(shapes->begin(), shapes->end());
  // One solid per shape, so that the reader gives one mesh per shape; binary
  // STL holds records only, their count goes first.
  const brennic::TriangleEncoder encode = [ascii](size_t index, std::span<const brennic::Triangle> triangles,
                                                  std::string& bytes) {
    if (ascii)
      brennic::AppendAsciiSolid(bytes, "shape_" + std::to_string(index + 1), triangles);
    else
      brennic::AppendBinaryTriangles(bytes, triangles);
  };
  std::string buffer;
  size_t written = 0;
  size_t index = 0;
  int writeError = 0;  // taken at once: joining the mesher's threads may change errno
  const brennic::EncodedTaker take = [&](size_t at, std::string& bytes, size_t triangles) {
    index = at + 1;
    written += triangles;
    if (!ascii || bytes.empty()) {
      buffer += bytes;
      return true;
    }
    // Large solids go to the file as they are, small ones together.
    if (buffer.size() + bytes.size() < kFlushBytes) {
      buffer += bytes;
      return true;
    }
    if (!file.Write(buffer) || !file.Write(bytes)) {
      writeError = errno;
      return false;
    }
    buffer.clear();
    return true;
  };
  try {
    if (!brennic::MeshShapesInOrder(list, encode, take)) return Fail(path, brennic::ErrnoText(writeError));
  } catch (const Standard_Failure& failure) {
    return Fail(path, L"Open CASCADE failed to mesh shape " + std::to_wstring(index + 1) + L" (" +
                          FailureText(failure) + L")");
  } catch (const std::bad_alloc&) {
    return Fail(path, L"there is not enough memory to mesh the shapes");
  }

  if (!ascii) {
    if (written > std::numeric_limits<std::uint32_t>::max())
      return Fail(path, L"the shapes have more triangles than binary STL can hold");
    std::string header;
    brennic::AppendBinaryHeader(header, static_cast<std::uint32_t>(written));
    if (written > 0 && !file.Write(header)) return Fail(path, brennic::ErrnoText(errno));
  }
  if (written == 0) {
    CString reason;
    reason.Format(L"none of the %d shape(s) has a face that could be meshed", shapes->Length());
    return Fail(path, reason.str());
  }
  if (!file.Write(buffer) || !file.Commit()) return Fail(path, brennic::ErrnoText(errno));
  return 1;
}
