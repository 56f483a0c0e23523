#pragma once
// Surfaces and solids through Open CASCADE's transfer, as B-reps; planes as
// their bounding curve.
#include <memory>
#include <vector>

#include <TopoDS_Shape.hxx>

#include "MapContext.h"

namespace kelv::iges {

class CurveMapper;

class BrepMapper {
 public:
  BrepMapper(MapContext& ctx, CurveMapper& curves);
  ~BrepMapper();

  bool MapPlane(const Entity& e, const Placing& at, Made& made);
  bool MapSurface(const Entity& e, const Placing& at, Made& made);

  // A surface or solid drawn alone, as MapSurface maps it, whose objects
  // nobody waits for: its B-rep is made on a thread of its own while the
  // next one is transferred, and its object follows at the next Finish.
  void MapSurfaceAlone(const Entity& e, model::ObjectMode mode);
  // Adds the objects of a surface mapped alone: due before any other
  // object is made.
  void Finish();
  // Waits for the thread without adding anything, and ends it.
  void Stop();

 private:
  class Converter;
  struct Pending;

  // True when the entity or a part it uses could not be read; 'parts'
  // receives the numbers of the entity and its parts.
  bool HasBrokenPart(const Entity& e, std::vector<int>* parts = nullptr) const;
  // The entity's shape, in the file's units and under 'parent'; null when
  // the transfer fails.
  TopoDS_Shape PlacedShape(const Entity& e, const gp_GTrsf& parent) const;
  // A B-rep, or the edges of a shape without faces, as objects.
  bool EmitShape(const Entity& e, const TopoDS_Shape& shape, model::ObjectMode mode, Made& made);

  MapContext& ctx_;
  CurveMapper& curves_;
  std::unique_ptr<Converter> converter_;
  std::unique_ptr<Pending> pending_;  // the surface whose B-rep is being made
};

}  // namespace kelv::iges
