#pragma once
// Curves and points: lines, arcs, conics, splines, offset curves, composite
// curves, points and copious data.
#include <vector>

#include "MapContext.h"

class Geom_Curve;
class IGESGeom_CircularArc;
class IGESGeom_CompositeCurve;
class IGESGeom_CopiousData;
class IGESGeom_Line;
class IGESGeom_Point;
class IGESToBRep_CurveAndSurface;

namespace kelv::iges {

class CurveMapper {
 public:
  explicit CurveMapper(MapContext& ctx) : ctx_(ctx) {}

  // Entity mappers (lines, arcs, conics, splines, offset and composite curves;
  // points; copious data).
  bool MapCurve(const Entity& e, const Placing& at, Made& made);
  bool MapPoint(const Handle(IGESGeom_Point)& point, const Placing& at, Made& made);
  bool MapCopious(const Entity& e, const Placing& at, Made& made);

  // Any curve entity under a placement (boundaries of planes, parts of
  // composite curves). A composite curve whose pieces do not chain leaves
  // the pieces that do not meet the first chain for EmitCurve.
  bool CurveOf(const Entity& e, const gp_GTrsf& placement, model::CurveGeometryUnion& out, int depth);

 private:
  bool LineOf(const Handle(IGESGeom_Line)& line, const gp_GTrsf& placement, model::CurveGeometryUnion& out);
  bool ArcOf(const Handle(IGESGeom_CircularArc)& arc, const gp_GTrsf& placement, model::CurveGeometryUnion& out);
  bool CompositeOf(const Handle(IGESGeom_CompositeCurve)& composite, const gp_GTrsf& placement,
                   model::CurveGeometryUnion& out, int depth);
  bool CompositePieces(const Handle(IGESGeom_CompositeCurve)& composite, const gp_GTrsf& placement,
                       std::vector<model::CurveGeometryUnion>& pieces, int depth);
  // Conics and splines through Open CASCADE's curve transfer.
  bool BasicCurveOf(const Entity& e, const gp_GTrsf& placement, model::CurveGeometryUnion& out);
  bool OffsetCurveOf(const Entity& e, const gp_GTrsf& placement, model::CurveGeometryUnion& out);
  bool CopiousCurveOf(const Handle(IGESGeom_CopiousData)& copious, const gp_GTrsf& placement,
                      model::CurveGeometryUnion& out);
  void TransferSettings(IGESToBRep_CurveAndSurface& settings) const;
  // A transferred curve back in the file's units and under the placement.
  bool PlacedCurve(Handle(Geom_Curve) curve, double first, double last, double factor, const gp_GTrsf& placement,
                   model::CurveGeometryUnion& out) const;
  bool CheckBSpline(const Entity& e);
  // The objects of a copious data entity: a point cloud, segments or a polyline.
  bool CopiousObjects(const Entity& e, const gp_GTrsf& placement, model::ObjectMode mode, Made& made);
  // Emits a curve and the loose pieces its composite curve left.
  void EmitCurve(const Entity& e, model::CurveGeometryUnion curve, model::ObjectMode mode, Made& made);

  MapContext& ctx_;
  std::vector<model::CurveGeometryUnion> looseCurves_;  // pieces of the last composite curve that did not chain
};

}  // namespace kelv::iges
