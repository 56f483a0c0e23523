// BrennIges: an IGES file into Open CASCADE shapes.
#include <IGESControl_Reader.hxx>
#include <IGESData_GlobalSection.hxx>
#include <IGESData_IGESEntity.hxx>
#include <IGESData_IGESModel.hxx>
#include <Interface_EntityIterator.hxx>
#include <Standard_Failure.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Shape.hxx>

#include <new>
#include <string>

#include "Brennic90Ux64.h"
#include "IgesRead.h"
#include "OcctMessages.h"
#include "win32/strconv.h"

namespace {

// The translation wraps a root's shape in compounds of one member (a solid
// of a 186 comes as a compound holding that solid): the root's own shape is
// what lies inside them.
TopoDS_Shape OwnShape(TopoDS_Shape shape) {
  while (!shape.IsNull() && shape.ShapeType() == TopAbs_COMPOUND) {
    TopoDS_Iterator members(shape);
    if (!members.More()) break;
    TopoDS_Shape only = members.Value();
    members.Next();
    if (members.More()) break;
    shape = only;
  }
  return shape;
}

CString g_igesError;

int Fail(const CString& path, const std::wstring& reason) {
  g_igesError.Format(L"The IGES file '%s' %s.", path.GetString(), reason.c_str());
  return 0;
}

std::wstring FailureText(const Standard_Failure& failure) {
  const char* message = failure.GetMessageString();
  std::wstring text = arxhost::FromUtf8(failure.DynamicType()->Name());
  if (message && *message) text += L": " + arxhost::FromUtf8(message);
  return text;
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

// Members that point back at their groups (associativities) form reference
// cycles that outlive the reader; cut them once the shapes are out.
class ModelCycleBreaker {
 public:
  explicit ModelCycleBreaker(const IGESControl_Reader& reader) : reader_(reader) {}
  ModelCycleBreaker(const ModelCycleBreaker&) = delete;
  ModelCycleBreaker& operator=(const ModelCycleBreaker&) = delete;
  ~ModelCycleBreaker() {
    try {
      const Handle(IGESData_IGESModel) model = reader_.IGESModel();
      if (model.IsNull()) return;
      for (int i = 1; i <= model->NbEntities(); ++i) {
        const Handle(IGESData_IGESEntity) entity = model->Entity(i);
        if (entity.IsNull()) continue;
        for (Interface_EntityIterator it = entity->Associativities(); it.More(); it.Next()) {
          const Handle(IGESData_IGESEntity) group = Handle(IGESData_IGESEntity)::DownCast(it.Value());
          if (!group.IsNull()) group->Dissociate(entity);
        }
      }
    } catch (const Standard_Failure&) {
      // Leaking a model is better than failing a read that succeeded.
    }
  }

 private:
  const IGESControl_Reader& reader_;
};

}  // namespace

CString BrennIges::GetError() { return g_igesError; }

int BrennIges::Read(const CString& path, Handle_TopTools_HSequenceOfShape shapes, int mode) {
  if (shapes.IsNull()) {
    g_igesError = L"No shape sequence was given to receive the shapes of the IGES file.";
    return 0;
  }
  const std::string nativePath = arxhost::NativePath(path.str());

  brennic::SilenceOpenCascade();
  try {
    IGESControl_Reader reader;
    ModelCycleBreaker cycleBreaker(reader);
    // The same check and read as the model-file path: a file is refused or
    // read alike on both.
    igesread::ScanResult scan;
    std::string reason;
    if (!igesread::ReadIgesFile(nativePath, reader, scan, reason)) return Fail(path, arxhost::FromUtf8(reason));
    Handle(IGESData_IGESModel) model = reader.IGESModel();
    if (model.IsNull() || model->NbEntities() == 0) return Fail(path, L"holds no entities");
    KeepFileUnits(model);

    const int roots = reader.NbRootsForTransfer();
    if (roots == 0) return Fail(path, L"holds no geometry that could be converted to shapes");
    reader.TransferRoots();
    if (reader.NbShapes() == 0) {
      CString reason;
      reason.Format(L"holds no geometry that could be converted to shapes (none of its %d geometric entities "
                    L"could be translated)", roots);
      return Fail(path, reason.str());
    }

    if (mode == 1) {
      for (int i = 1; i <= reader.NbShapes(); ++i) {
        const TopoDS_Shape shape = OwnShape(reader.Shape(i));
        if (!shape.IsNull()) shapes->Append(shape);
      }
    } else {
      const TopoDS_Shape whole = reader.OneShape();
      if (!whole.IsNull()) shapes->Append(whole);
    }
    return 1;
  } catch (const Standard_Failure& failure) {
    return Fail(path, L"could not be read: Open CASCADE failed (" + FailureText(failure) + L")");
  } catch (const std::bad_alloc&) {
    return Fail(path, L"could not be read: there is not enough memory");
  }
}
