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
#include "ShapeTriangles.h"
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

  std::string buffer;
  std::vector<brennic::Triangle> triangles;
  size_t written = 0;
  int index = 0;
  try {
    for (index = 1; index <= shapes->Length(); ++index) {
      const size_t before = triangles.size();
      brennic::AppendShapeTriangles(shapes->Value(index), triangles);
      if (!ascii || triangles.size() == before) continue;
      // One solid per shape, so that the reader gives one mesh per shape.
      brennic::AppendAsciiSolid(buffer, "shape_" + std::to_string(index), triangles);
      written += triangles.size();
      triangles.clear();
      if (buffer.size() >= kFlushBytes) {
        if (!file.Write(buffer)) return Fail(path, brennic::ErrnoText(errno));
        buffer.clear();
      }
    }
  } catch (const Standard_Failure& failure) {
    return Fail(path, L"Open CASCADE failed to mesh shape " + std::to_wstring(index) + L" (" +
                          FailureText(failure) + L")");
  } catch (const std::bad_alloc&) {
    return Fail(path, L"there is not enough memory to mesh the shapes");
  }

  if (!ascii) {
    written = triangles.size();
    if (written > std::numeric_limits<std::uint32_t>::max())
      return Fail(path, L"the shapes have more triangles than binary STL can hold");
    brennic::AppendBinaryHeader(buffer, static_cast<std::uint32_t>(written));
    brennic::AppendBinaryTriangles(buffer, triangles);
  }
  if (written == 0) {
    CString reason;
    reason.Format(L"none of the %d shape(s) has a face that could be meshed", shapes->Length());
    return Fail(path, reason.str());
  }
  if (!file.Write(buffer) || !file.Commit()) return Fail(path, brennic::ErrnoText(errno));
  return 1;
}
