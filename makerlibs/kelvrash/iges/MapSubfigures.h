#pragma once
// Subfigure definitions as instance definitions, singular and network
// subfigure instances and pattern arrays as instance references. Read from
// the IGES model itself: the shape transfer drops scaled instances and
// definitions that are used.
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "MapContext.h"

class IGESBasic_SingularSubfigure;
class IGESDraw_CircArraySubfigure;
class IGESDraw_NetworkSubfigure;
class IGESDraw_RectArraySubfigure;

namespace kelv::iges {

class SubfigureMapper {
 public:
  explicit SubfigureMapper(MapContext& ctx) : ctx_(ctx) {}

  bool MapSingular(const Handle(IGESBasic_SingularSubfigure)& single, const Placing& at, Made& made);
  bool MapNetwork(const Handle(IGESDraw_NetworkSubfigure)& net, const Placing& at, Made& made);
  bool MapRectangularArray(const Handle(IGESDraw_RectArraySubfigure)& rect, const Placing& at, Made& made);
  bool MapCircularArray(const Handle(IGESDraw_CircArraySubfigure)& circ, const Placing& at, Made& made);

 private:
  // The instance definition of a subfigure definition or of the base entity
  // of an array, made on first use.
  bool DefinitionOf(const Entity& def, model::Uuid& id, int depth);
  // As DefinitionOf; a definition that cannot be made skips the instance e.
  bool InstanceDefinition(const Entity& e, const Entity& def, int depth, model::Uuid& id);
  void Reference(const Entity& e, const model::Uuid& def, const gp_GTrsf& placement, model::ObjectMode mode,
                 Made& made);

  MapContext& ctx_;
  std::unordered_map<const Standard_Transient*, model::Uuid> definitions_;
  std::unordered_set<std::string> definitionNames_;
};

}  // namespace kelv::iges
