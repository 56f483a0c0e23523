#pragma once
// Surfaces and solids through Open CASCADE's transfer, as B-reps; planes as
// their bounding curve.
#include <TopoDS_Shape.hxx>

#include "BrepFanOut.h"
#include "MapContext.h"

namespace kelv::iges {

class CurveMapper;

class BrepMapper {
 public:
  BrepMapper(MapContext& ctx, CurveMapper& curves) : ctx_(ctx), curves_(curves) {}

  bool MapPlane(const Entity& e, const Placing& at, Made& made);
  bool MapSurface(const Entity& e, const Placing& at, Made& made);

  // The sub-entities the transfer asks an entity for.
  void PartsOf(const Entity& e, std::vector<Entity>& into) const;
  // What MapSurface makes of an entity of the main pass that it transfers:
  // its B-rep, or false where it would make something else or nothing.
  bool BrepAlone(const Entity& e, model::BrepT& brep) const;
  // B-reps transferred ahead, which MapSurface takes in place of its own
  // transfer at the file's origin.
  void TakeAhead(AheadBreps ahead) { ahead_ = std::move(ahead); }

 private:
  // True when the entity or a part it uses could not be read.
  bool HasBrokenPart(const Entity& e) const;
  // The entity's shape, in the file's units and under 'parent'; null when
  // the transfer fails.
  TopoDS_Shape PlacedShape(const Entity& e, const gp_GTrsf& parent) const;
  // A B-rep, or the edges of a shape without faces, as objects.
  bool EmitShape(const Entity& e, const TopoDS_Shape& shape, model::ObjectMode mode, Made& made);

  MapContext& ctx_;
  CurveMapper& curves_;
  AheadBreps ahead_;
};

}  // namespace kelv::iges
