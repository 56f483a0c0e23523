#pragma once
// What every entity mapper shares while one IGES model is mapped: the IGES
// model and its check, the model being built, which entities are unreadable
// or drawn by the main pass, the counts of skipped entities and the fault
// that stops the conversion.
#include <map>
#include <string>
#include <vector>

#include <IGESData_IGESEntity.hxx>
#include <IGESData_IGESModel.hxx>
#include <Transfer_TransientProcess.hxx>
#include <gp_GTrsf.hxx>

#include "IgesScan.h"
#include "IgesTypes.h"
#include "model/ModelWriter.h"

namespace kelv::iges {

using igesread::IgesType;
using igesread::ScanResult;
using Entity = Handle(IGESData_IGESEntity);
using Made = std::vector<model::Uuid>;  // the objects made for one entity

inline IgesType TypeOf(const Entity& e) { return igesread::ToIgesType(e->TypeNumber()); }

// Where an entity is drawn: the placement of its parent (applied after the
// entity's own transformation), the object mode of what it makes and how
// deep it is nested.
struct Placing {
  gp_GTrsf parent;
  model::ObjectMode mode = model::ObjectMode::Normal;
  int depth = 0;
};

// Maps one entity of any type: the table of entity mappers. Entity mappers
// that draw other entities (subfigures, drawings) map them through it.
class EntityDispatch {
 public:
  virtual bool MapEntity(const Entity& e, const Placing& at, Made& made) = 0;

 protected:
  ~EntityDispatch() = default;
};

class AttributeMapper;

class MapContext {
 public:
  MapContext(const Handle(IGESData_IGESModel)& iges, const ScanResult& scan, model::ModelMaker& out);

  // True for an entity whose parameters the parser could not read: its
  // typed form may be half built and must not be asked anything.
  bool Broken(const Handle(Standard_Transient)& e) const {
    int n = e.IsNull() ? 0 : iges->Number(e);
    return n > 0 && static_cast<size_t>(n) < broken.size() && broken[static_cast<size_t>(n)];
  }
  // The entity that a raw parameter points at, or null.
  Entity RawPointer(const Entity& e, size_t param) const;
  std::string Describe(const Entity& e) const;
  gp_GTrsf Placement(const Entity& e, const gp_GTrsf& parent) const {
    return parent.Multiplied(e->CompoundLocation());
  }
  // Blanked entities make hidden objects.
  static model::ObjectMode ModeOf(const Entity& e) {
    return e->BlankStatus() == 1 ? model::ObjectMode::Hidden : model::ObjectMode::Normal;
  }
  // Objects of the model being built, with the entity's layer, colour and name.
  model::Uuid Emit(const Entity& e, model::GeometryUnion geometry, model::ObjectMode mode);

  void Skip(const Entity& e) { ++skipped[e->TypeNumber()]; }
  // Stops the conversion: the whole file is unusable.
  bool Fail(const std::string& text) {
    if (fatal.empty()) fatal = text;
    return false;
  }
  bool Failed() const { return !fatal.empty(); }

  Handle(IGESData_IGESModel) iges;
  const ScanResult& scan;
  model::ModelMaker& out;
  Handle(Transfer_TransientProcess) process;
  EntityDispatch* dispatch = nullptr;
  AttributeMapper* attributes = nullptr;
  // By entity number: unreadable; drawn by the main pass (not only through
  // a parent, a drawing or a subfigure instance).
  std::vector<char> broken, alone;
  std::map<int, int> skipped;  // IGES type -> entities not carried over
  std::string fatal;
};

}  // namespace kelv::iges
