#pragma once
// Maps the entities of an IGES model into model records. One mapper per
// entity family (curves, surfaces and B-reps, annotations, subfigures,
// attributes), each in its own source file; the table here names the
// mapper of every entity type the conversion knows.
#include <functional>
#include <map>
#include <string>
#include <unordered_map>

#include "MapAnnotations.h"
#include "MapAttributes.h"
#include "MapBreps.h"
#include "MapContext.h"
#include "MapCurves.h"
#include "MapSubfigures.h"

namespace kelv::iges {

class Mapper final : EntityDispatch {
 public:
  Mapper(const Handle(IGESData_IGESModel)& model, const ScanResult& scan, model::ModelMaker& out);

  // False only for a fault that makes the whole file unusable (error set).
  bool Run(std::string& error);
  const std::map<int, int>& Skipped() const { return ctx_.skipped; }

 private:
  using Route = std::function<bool(const Entity&, const Placing&, Made&)>;

  // Maps one entity by its type's mapper. Returns false when the entity
  // could not be brought over.
  bool MapEntity(const Entity& e, const Placing& at, Made& made) override;
  void MarkBroken();
  // Which entities the main pass draws.
  void FindDrawnAlone();
  // The B-reps of the main pass that workers can transfer ahead.
  void TransferAhead();

  MapContext ctx_;
  AttributeMapper attributes_;
  CurveMapper curves_;
  BrepMapper breps_;
  AnnotationMapper annotations_;
  SubfigureMapper subfigures_;
  std::unordered_map<IgesType, Route> routes_;
};

}  // namespace kelv::iges
