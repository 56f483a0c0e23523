#include "MapBreps.h"

#include <BRepBuilderAPI_Transform.hxx>
#include <BRep_Tool.hxx>
#include <IGESData_GeneralModule.hxx>
#include <IGESGeom_Plane.hxx>
#include <IGESToBRep_Actor.hxx>
#include <IGESToBRep_CurveAndSurface.hxx>
#include <Interface_EntityIterator.hxx>
#include <Interface_GTool.hxx>
#include <Interface_Static.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TransferBRep.hxx>
#include <TopoDS.hxx>
#include <gp_Trsf.hxx>

#include <unordered_set>

#include "GeomToModel.h"
#include "MapCurves.h"
#include "ShapeToBrep.h"

namespace kelv::iges {

using namespace kelv::model;

bool BrepMapper::MapPlane(const Entity& e, const Placing& at, Made& made) {
  auto plane = Handle(IGESGeom_Plane)::DownCast(e);
  if (plane.IsNull()) return MapSurface(e, at, made);
  Entity boundary = plane->BoundingCurve();
  if (boundary.IsNull()) {
    ctx_.Skip(e);
    return false;
  }
  gp_GTrsf t =
      boundary->HasTransf() ? at.parent.Multiplied(boundary->CompoundLocation()) : ctx_.Placement(e, at.parent);
  CurveGeometryUnion curve;
  if (!curves_.CurveOf(boundary, t, curve, 0)) {
    if (!ctx_.Failed()) ctx_.Skip(e);
    return false;
  }
  made.push_back(ctx_.Emit(e, MakeCurve(std::move(curve)), at.mode));
  return true;
}

bool BrepMapper::MapSurface(const Entity& e, const Placing& at, Made& made) {
  if (at.depth == 0 && at.parent.Form() == gp_Identity && ahead_.Size() > 0) {
    BrepT brep;
    if (ahead_.Take(ctx_.iges->Number(e), brep)) {
      GeometryUnion g;
      g.Set(std::move(brep));
      made.push_back(ctx_.Emit(e, std::move(g), at.mode));
      return true;
    }
  }
  if (HasBrokenPart(e)) {
    ctx_.Skip(e);
    return false;
  }
  TopoDS_Shape shape = PlacedShape(e, at.parent);
  if (shape.IsNull()) {
    ctx_.Skip(e);
    return false;
  }
  if (EmitShape(e, shape, at.mode, made)) return true;
  ctx_.Skip(e);
  return false;
}

// The transfer asks every part of a surface or solid for its contents; a
// part whose parameters could not be read is half built.
bool BrepMapper::HasBrokenPart(const Entity& e) const {
  std::vector<Entity> parts{e};
  std::unordered_set<int> seen;  // the parts of one entity, not the whole file
  while (!parts.empty()) {
    Entity part = parts.back();
    parts.pop_back();
    const int n = ctx_.iges->Number(part);
    if (n <= 0 || !seen.insert(n).second) continue;
    if (ctx_.Broken(part)) return true;
    PartsOf(part, parts);
  }
  return false;
}

void BrepMapper::PartsOf(const Entity& e, std::vector<Entity>& into) const {
  Handle(Interface_GeneralModule) module;
  int caseNumber = 0;
  if (!ctx_.iges->GTool()->Select(e, module, caseNumber)) return;
  auto igesModule = Handle(IGESData_GeneralModule)::DownCast(module);
  if (igesModule.IsNull()) return;
  Interface_EntityIterator shared;
  igesModule->OwnSharedCase(caseNumber, e, shared);
  for (shared.Start(); shared.More(); shared.Next())
    if (auto sub = Handle(IGESData_IGESEntity)::DownCast(shared.Value())) into.push_back(sub);
}

bool BrepMapper::BrepAlone(const Entity& e, BrepT& brep) const {
  TopoDS_Shape shape = PlacedShape(e, gp_GTrsf());
  return !shape.IsNull() && ShapeToBrep(shape, brep);
}

TopoDS_Shape BrepMapper::PlacedShape(const Entity& e, const gp_GTrsf& parent) const {
  // The reader's own actor: the same transfer and the same shape healing
  // (parameter-space curves, closed wires, sewn shells) as a whole-file
  // transfer gives, entity by entity.
  TopoDS_Shape shape;
  double factor = 1.0;
  try {
    Handle(IGESToBRep_Actor) actor = new IGESToBRep_Actor;
    actor->SetModel(ctx_.iges);
    actor->SetContinuity(Interface_Static::IVal("read.iges.bspline.continuity"));
    IGESToBRep_CurveAndSurface units;
    units.SetModel(ctx_.iges);
    factor = units.GetUnitFactor();
    shape = TransferBRep::ShapeResult(actor->Transfer(e, ctx_.process));
  } catch (const Standard_Failure&) {
    shape.Nullify();
  }
  if (shape.IsNull()) return shape;
  // The transfer works in millimetres; the model keeps the file's units.
  gp_Trsf back;
  bool move = false;
  if (factor != 1.0) {
    back.SetScale(gp::Origin(), 1.0 / factor);
    move = true;
  }
  if (parent.Form() != gp_Identity) {
    gp_Trsf p;
    p.SetValues(parent.Value(1, 1), parent.Value(1, 2), parent.Value(1, 3), parent.Value(1, 4), parent.Value(2, 1),
                parent.Value(2, 2), parent.Value(2, 3), parent.Value(2, 4), parent.Value(3, 1), parent.Value(3, 2),
                parent.Value(3, 3), parent.Value(3, 4));
    back = p * back;
    move = true;
  }
  if (!move) return shape;
  BRepBuilderAPI_Transform moved(shape, back, Standard_True);
  return moved.IsDone() ? moved.Shape() : TopoDS_Shape();
}

bool BrepMapper::EmitShape(const Entity& e, const TopoDS_Shape& shape, ObjectMode mode, Made& made) {
  BrepT brep;
  if (ShapeToBrep(shape, brep)) {
    GeometryUnion g;
    g.Set(std::move(brep));
    made.push_back(ctx_.Emit(e, std::move(g), mode));
    return true;
  }
  // Faces that cannot come over whole are not brought in part, nor as
  // their boundaries.
  if (TopExp_Explorer(shape, TopAbs_FACE).More()) return false;
  // Curves on surfaces and the like come out as edges.
  bool any = false;
  for (TopExp_Explorer ex(shape, TopAbs_EDGE); ex.More(); ex.Next()) {
    double f, l;
    Handle(Geom_Curve) c = EdgeCurve(TopoDS::Edge(ex.Current()), f, l);
    if (c.IsNull()) continue;
    CurveGeometryUnion curve;
    if (!CurveToModel(c, f, l, curve)) continue;
    made.push_back(ctx_.Emit(e, MakeCurve(std::move(curve)), mode));
    any = true;
  }
  return any;
}

}  // namespace kelv::iges
