// Surfaces and solids through Open CASCADE's transfer, as B-reps; planes
// (108) as their bounding curve.
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
#include "Mapper.h"
#include "ShapeToBrep.h"

namespace kelv::iges {

using namespace kelv::model;

bool Mapper::MapBrep(const Entity& e, const gp_GTrsf& parent, int mode, std::vector<Uuid>& made) {
  if (auto plane = Handle(IGESGeom_Plane)::DownCast(e)) {
    Entity boundary = plane->BoundingCurve();
    if (boundary.IsNull()) {
      Skip(e);
      return false;
    }
    gp_GTrsf t = boundary->HasTransf() ? parent.Multiplied(boundary->CompoundLocation()) : Placement(e, parent);
    CurveGeometryUnion curve;
    if (!CurveOf(boundary, t, curve, 0)) {
      if (fatal_.empty()) Skip(e);
      return false;
    }
    made.push_back(Emit(e, MakeCurve(std::move(curve)), mode));
    return true;
  }
  // The transfer asks every part of a surface or solid for its contents; a
  // part whose parameters could not be read is half built.
  std::vector<Entity> parts{e};
  std::unordered_set<int> seen;  // the parts of one entity, not the whole file
  while (!parts.empty()) {
    Entity part = parts.back();
    parts.pop_back();
    const int n = iges_->Number(part);
    if (n <= 0 || !seen.insert(n).second) continue;
    if (Broken(part)) {
      Skip(e);
      return false;
    }
    Handle(Interface_GeneralModule) module;
    int caseNumber = 0;
    if (!iges_->GTool()->Select(part, module, caseNumber)) continue;
    auto igesModule = Handle(IGESData_GeneralModule)::DownCast(module);
    if (igesModule.IsNull()) continue;
    Interface_EntityIterator shared;
    igesModule->OwnSharedCase(caseNumber, part, shared);
    for (shared.Start(); shared.More(); shared.Next())
      if (auto sub = Handle(IGESData_IGESEntity)::DownCast(shared.Value())) parts.push_back(sub);
  }
  // The reader's own actor: the same transfer and the same shape healing
  // (parameter-space curves, closed wires, sewn shells) as a whole-file
  // transfer gives, entity by entity.
  TopoDS_Shape shape;
  double factor = 1.0;
  try {
    Handle(IGESToBRep_Actor) actor = new IGESToBRep_Actor;
    actor->SetModel(iges_);
    actor->SetContinuity(Interface_Static::IVal("read.iges.bspline.continuity"));
    IGESToBRep_CurveAndSurface units;
    units.SetModel(iges_);
    factor = units.GetUnitFactor();
    shape = TransferBRep::ShapeResult(actor->Transfer(e, process_));
  } catch (const Standard_Failure&) {
    shape.Nullify();
  }
  if (shape.IsNull()) {
    Skip(e);
    return false;
  }
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
  if (move) {
    BRepBuilderAPI_Transform moved(shape, back, Standard_True);
    if (!moved.IsDone()) {
      Skip(e);
      return false;
    }
    shape = moved.Shape();
  }
  BrepT brep;
  if (ShapeToBrep(shape, brep)) {
    GeometryUnion g;
    g.Set(std::move(brep));
    made.push_back(Emit(e, std::move(g), mode));
    return true;
  }
  // Faces that cannot come over whole are not brought in part, nor as
  // their boundaries.
  if (TopExp_Explorer(shape, TopAbs_FACE).More()) {
    Skip(e);
    return false;
  }
  // Curves on surfaces and the like come out as edges.
  bool any = false;
  for (TopExp_Explorer ex(shape, TopAbs_EDGE); ex.More(); ex.Next()) {
    double f, l;
    TopLoc_Location loc;
    Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(ex.Current()), loc, f, l);
    if (c.IsNull()) continue;
    if (!loc.IsIdentity()) c = Handle(Geom_Curve)::DownCast(c->Transformed(loc.Transformation()));
    CurveGeometryUnion curve;
    if (!CurveToModel(c, f, l, curve)) continue;
    made.push_back(Emit(e, MakeCurve(std::move(curve)), mode));
    any = true;
  }
  if (!any) Skip(e);
  return any;
}

}  // namespace kelv::iges
