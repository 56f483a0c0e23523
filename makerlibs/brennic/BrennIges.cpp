// BrennIges: an IGES file into Open CASCADE shapes.
#include <BRep_Builder.hxx>
#include <BinTools.hxx>
#include <IGESControl_Reader.hxx>
#include <IGESData_GlobalSection.hxx>
#include <IGESData_IGESModel.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Shape.hxx>

#include <new>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "Brennic90Ux64.h"
#include "ErrnoText.h"
#include "ChildRun.h"
#include "IgesRead.h"
#include "OcctMessages.h"
#include "PlacedMembers.h"
#include "win32/strconv.h"

namespace {

using brennic::FailureText;

CString g_igesError;

int Fail(const CString& path, const std::wstring& reason) {
  g_igesError.Format(L"The IGES file '%s' %s.", path.GetString(), reason.c_str());
  return 0;
}

// Open CASCADE converts to millimetres by default; declaring the file's own
// unit as the session's unit keeps the coordinates as the file has them, as
// the model-file path does.
void KeepFileUnits(const Handle(IGESData_IGESModel)& model) {
  IGESData_GlobalSection global = model->GlobalSection();
  const double millimetresPerUnit = global.UnitValue();
  if (millimetresPerUnit > 0.0) {
    global.SetCascadeUnit(millimetresPerUnit);
    model->SetGlobalSection(global);
  }
}

void PackShapes(const std::vector<TopoDS_Shape>& shapes, std::ostream& out) {
  BRep_Builder builder;
  TopoDS_Compound all;
  builder.MakeCompound(all);
  for (const TopoDS_Shape& shape : shapes) builder.Add(all, shape);
  BinTools::Write(all, out, Standard_False, Standard_False, BinTools_FormatVersion_CURRENT);
}

// Reads bytes in place, where a string stream would copy them first.
class MemoryBuffer : public std::streambuf {
 public:
  explicit MemoryBuffer(std::string_view bytes) {
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }

 protected:
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override {
    if (!(which & std::ios_base::in)) return pos_type(off_type(-1));
    const off_type base = dir == std::ios_base::beg ? 0 : dir == std::ios_base::cur ? gptr() - eback() : egptr() - eback();
    return seekpos(pos_type(base + off), which);
  }
  pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
    const off_type at = off_type(pos);
    if (!(which & std::ios_base::in) || at < 0 || at > egptr() - eback()) return pos_type(off_type(-1));
    setg(eback(), eback() + at, egptr());
    return pos;
  }
};

bool UnpackShapes(std::string_view bytes, std::vector<TopoDS_Shape>& shapes) {
  MemoryBuffer buffer(bytes);
  std::istream in(&buffer);
  TopoDS_Shape all;
  BinTools::Read(all, in);
  if (all.IsNull() || all.ShapeType() != TopAbs_COMPOUND) return false;
  for (TopoDS_Iterator members(all); members.More(); members.Next()) shapes.push_back(members.Value());
  return true;
}

// Runs in the child: reads and transfers, and sends the shapes back. The
// model is never torn down here, the process ends right after.
bool ReadAndTransfer(const std::string& nativePath, int mode, std::ostream& answer, std::string& reason) {
  igesread::SilenceOpenCascade();
  // Left to the end of the process: tearing the model down costs time and
  // can itself fault on files whose entities refer back to their groups.
  IGESControl_Reader* reader = &igesread::ChildIgesReader();
  // The same check and read as the model-file path: a file is refused or
  // read alike on both.
  igesread::ScanResult scan;
  if (!igesread::ReadIgesFile(nativePath, *reader, scan, reason)) return false;
  Handle(IGESData_IGESModel) model = reader->IGESModel();
  if (model.IsNull() || model->NbEntities() == 0) {
    reason = "holds no entities";
    return false;
  }
  KeepFileUnits(model);

  const int roots = reader->NbRootsForTransfer();
  if (roots == 0) {
    reason = "holds no geometry that could be converted to shapes";
    return false;
  }
  reader->TransferRoots();
  std::vector<TopoDS_Shape> shapes;
  if (mode == 1) {
    TopTools_MapOfShape seen;
    for (int i = 1; i <= reader->NbShapes(); ++i) brennic::AppendPlacedMembers(reader->Shape(i), seen, shapes);
  } else if (reader->NbShapes() > 0) {
    const TopoDS_Shape whole = reader->OneShape();
    if (!whole.IsNull()) shapes.push_back(whole);
  }
  if (shapes.empty()) {
    reason = "holds no geometry that could be converted to shapes (none of its " + std::to_string(roots) +
             " geometric entities could be translated)";
    return false;
  }
  PackShapes(shapes, answer);
  return true;
}

}  // namespace

CString BrennIges::GetError() { return g_igesError; }

int BrennIges::Read(const CString& path, Handle_TopTools_HSequenceOfShape shapes, int mode) {
  if (shapes.IsNull()) {
    g_igesError = L"No shape sequence was given to receive the shapes of the IGES file.";
    return 0;
  }
  const std::string nativePath = arxhost::NativePath(path.str());

  igesread::ChildAnswer answer;
  std::string reason;
  const auto work = [&](std::ostream& out, std::string& why) { return ReadAndTransfer(nativePath, mode, out, why); };
  if (!igesread::RunInChild(work, igesread::LimitsForFile(nativePath), answer, reason))
    return Fail(path, arxhost::FromUtf8(reason));
  // Nothing reaches the caller's sequence unless every shape arrived.
  std::vector<TopoDS_Shape> arrived;
  try {
    if (!UnpackShapes(answer.View(), arrived)) return Fail(path, L"could not be read: the reader ended without a result");
    for (const TopoDS_Shape& shape : arrived) shapes->Append(shape);
  } catch (const Standard_Failure& failure) {
    return Fail(path, L"could not be read: its shapes did not arrive (" + FailureText(failure) + L")");
  } catch (const std::bad_alloc&) {
    return Fail(path, L"could not be read: there is not enough memory");
  }
  return 1;
}
