#pragma once
// Maps the entities of an IGES model into model records: curves, points,
// B-reps, annotations, subfigures, with levels as layers and IGES colours
// as object colours. Each entity family lives in its own source file.
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <IGESData_IGESEntity.hxx>
#include <IGESData_IGESModel.hxx>
#include <Transfer_TransientProcess.hxx>
#include <gp_GTrsf.hxx>

#include "IgesScan.h"
#include "model/ModelWriter.h"

class IGESBasic_SubfigureDef;
class IGESDraw_NetworkSubfigureDef;
class IGESDimen_GeneralNote;
class IGESDimen_LeaderArrow;
class IGESGeom_CompositeCurve;

namespace kelv::iges {

using igesread::ScanResult;

// A plane of an annotation: origin and unit axes in world coordinates.
struct Frame {
  gp_XYZ origin{0, 0, 0}, x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
  model::Vec2 Local(const gp_XYZ& p) const {
    gp_XYZ d = p - origin;
    return model::Vec2(d.Dot(x), d.Dot(y));
  }
  model::Plane ToPlane() const;
};

class Mapper {
 public:
  Mapper(const Handle(IGESData_IGESModel)& model, const ScanResult& scan, model::ModelMaker& out);

  // False only for a fault that makes the whole file unusable (error set).
  bool Run(std::string& error);
  const std::map<int, int>& Skipped() const { return skipped_; }

 private:
  using Entity = Handle(IGESData_IGESEntity);

  // Maps one entity placed by 'parent' (applied after the entity's own
  // transformation). Appends the uuids of the objects made to 'made'.
  // Returns false when the entity could not be brought over.
  bool MapEntity(const Entity& e, const gp_GTrsf& parent, int mode, std::vector<model::Uuid>& made, int depth);
  model::Uuid Emit(const Entity& e, model::GeometryUnion geometry, int mode);
  void Skip(const Entity& e) { ++skipped_[e->TypeNumber()]; }
  bool Fail(const std::string& text) {
    if (fatal_.empty()) fatal_ = text;
    return false;
  }
  std::string Describe(const Entity& e) const;
  gp_GTrsf Placement(const Entity& e, const gp_GTrsf& parent) const;

  // What the main pass draws, and drawings (Mapper.cpp)
  void FindDrawnAlone();
  bool MapDrawing(const Entity& e, std::vector<model::Uuid>& made, int depth);

  // Tables (Mapper.cpp)
  int LayerIndex(const Entity& e);
  void ReadLevelNames();
  void ColourOf(const Entity& e, model::AttributesT& attributes) const;

  // Curves and points (MapCurves.cpp)
  bool CurveOf(const Entity& e, const gp_GTrsf& placement, model::CurveGeometryUnion& out, int depth);
  bool MapPoint(const Entity& e, const gp_GTrsf& placement, int mode, std::vector<model::Uuid>& made);
  bool MapCopious(const Entity& e, const gp_GTrsf& placement, int mode, std::vector<model::Uuid>& made);
  bool CheckBSpline(const Entity& e);
  bool CompositePieces(const Handle(IGESGeom_CompositeCurve)& composite, const gp_GTrsf& placement,
                       std::vector<model::CurveGeometryUnion>& pieces, int depth);
  // Emits a curve and the loose pieces its composite curve left.
  void EmitCurve(const Entity& e, model::CurveGeometryUnion curve, int mode, std::vector<model::Uuid>& made);

  // Surfaces and solids (MapBreps.cpp)
  bool MapBrep(const Entity& e, const gp_GTrsf& parent, int mode, std::vector<model::Uuid>& made);

  // Annotations (MapAnnotations.cpp)
  bool MapNote(const Handle(IGESDimen_GeneralNote)& note, const gp_GTrsf& parent, const Entity& owner, int mode,
               std::vector<model::Uuid>& made);
  bool MapLeader(const Handle(IGESDimen_LeaderArrow)& leader, const gp_GTrsf& parent, const Entity& owner, int mode,
                 std::vector<model::Uuid>& made);
  bool MapAnnotation(const Entity& e, const gp_GTrsf& parent, int mode, std::vector<model::Uuid>& made);
  int FontIndex(const Handle(IGESDimen_GeneralNote)& note, int string);
  int DimStyleIndex(double textHeight, double arrowSize, int font, bool arrowhead = true);
  void FixFontIndices();

  // Subfigures (MapSubfigures.cpp)
  bool MapInstance(const Entity& e, const gp_GTrsf& parent, int mode, std::vector<model::Uuid>& made, int depth);
  bool DefinitionOf(const Entity& def, model::Uuid& id, int depth);

  // True for an entity whose parameters the parser could not read: its
  // typed form may be half built and must not be asked anything.
  bool Broken(const Handle(Standard_Transient)& e) const {
    int n = e.IsNull() ? 0 : iges_->Number(e);
    return n > 0 && static_cast<size_t>(n) < broken_.size() && broken_[static_cast<size_t>(n)];
  }
  // The entity that a raw parameter points at, or null.
  Entity RawPointer(const Entity& e, size_t param) const;

  Handle(IGESData_IGESModel) iges_;
  const ScanResult& scan_;
  model::ModelMaker& out_;
  Handle(Transfer_TransientProcess) process_;
  std::map<int, int> skipped_;
  std::map<int, int> layerOfLevel_;
  std::map<int, std::string> levelNames_;
  std::map<std::string, int> fontOfName_;
  std::map<std::string, int> dimStyleOfKey_;
  std::vector<model::AnnotationT*> texts_;  // font indices to fix once the table is complete
  std::unordered_map<const Standard_Transient*, model::Uuid> definitions_;
  std::unordered_set<std::string> definitionNames_;
  // By entity number: drawn by the main pass (not only through a parent,
  // a drawing or a subfigure instance); listed by a drawing and drawn.
  std::vector<char> alone_, drawnByDrawing_;
  std::vector<char> broken_;
  std::vector<model::CurveGeometryUnion> looseCurves_;  // pieces of the last composite curve that did not chain
  std::string fatal_;
  double unitFactor_ = 1.0;
};

}  // namespace kelv::iges
