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

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "GeomToModel.h"
#include "MapCurves.h"
#include "ShapeToBrep.h"

namespace kelv::iges {

using namespace kelv::model;

// Makes the B-rep of one shape at a time on a thread of its own. The shape
// is only read there; the transfer that runs meanwhile on the caller's
// thread works on the shapes of other entities.
class BrepMapper::Converter {
 public:
  Converter() : thread_([this] { Work(); }) {}
  ~Converter() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  void Start(const TopoDS_Shape& shape) {
    std::lock_guard<std::mutex> hold(lock_);
    shape_ = shape;
    brep_ = BrepT();
    busy_ = true;
    wake_.notify_all();
  }
  // Waits for the B-rep of the shape last started. True when the shape came
  // over, false also when Open CASCADE failed on it; any other exception is
  // rethrown here.
  bool Wait(BrepT& brep) {
    std::unique_lock<std::mutex> hold(lock_);
    wake_.wait(hold, [this] { return !busy_; });
    shape_.Nullify();
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    brep = std::move(brep_);
    return made_;
  }

 private:
  void Work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
      wake_.wait(hold, [this] { return busy_ || stop_; });
      if (!busy_) return;
      hold.unlock();
      bool made = false;
      std::exception_ptr error;
      try {
        made = ShapeToBrep(shape_, brep_);
      } catch (const Standard_Failure&) {
        made = false;
      } catch (...) {
        error = std::current_exception();
      }
      hold.lock();
      made_ = made;
      error_ = error;
      busy_ = false;
      wake_.notify_all();
    }
  }

  std::mutex lock_;
  std::condition_variable wake_;
  TopoDS_Shape shape_;
  BrepT brep_;
  bool busy_ = false, stop_ = false, made_ = false;
  std::exception_ptr error_;
  std::thread thread_;
};

struct BrepMapper::Pending {
  Entity entity;
  ObjectMode mode = ObjectMode::Normal;
  std::vector<int> parts;  // sorted
};

namespace {

// Whether two sorted lists have a number in common.
bool Share(const std::vector<int>& a, const std::vector<int>& b) {
  for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end();) {
    if (*i == *j) return true;
    if (*i < *j) ++i;
    else ++j;
  }
  return false;
}

}  // namespace

BrepMapper::BrepMapper(MapContext& ctx, CurveMapper& curves) : ctx_(ctx), curves_(curves) {}

BrepMapper::~BrepMapper() = default;

void BrepMapper::MapSurfaceAlone(const Entity& e, ObjectMode mode) {
  std::vector<int> parts;
  if (HasBrokenPart(e, &parts)) {
    ctx_.Skip(e);
    return;
  }
  std::sort(parts.begin(), parts.end());
  // The transfer of an entity that shares a part with the one whose B-rep
  // is being made could touch that one's shapes: it waits.
  if (pending_ && Share(parts, pending_->parts)) Finish();
  const TopoDS_Shape shape = PlacedShape(e, gp_GTrsf());
  Finish();
  if (shape.IsNull()) {
    ctx_.Skip(e);
    return;
  }
  // Shapes without faces come out as edges, at once.
  if (!TopExp_Explorer(shape, TopAbs_FACE).More()) {
    Made made;
    if (!EmitShape(e, shape, mode, made)) ctx_.Skip(e);
    return;
  }
  if (!converter_) converter_ = std::make_unique<Converter>();
  converter_->Start(shape);
  pending_ = std::make_unique<Pending>(Pending{e, mode, std::move(parts)});
}

void BrepMapper::Finish() {
  if (!pending_) return;
  const std::unique_ptr<Pending> done = std::move(pending_);
  BrepT brep;
  const bool made = converter_->Wait(brep);
  // As MapSurface would have: the object, or the entity counted as skipped
  // (also when Open CASCADE failed on it, as the main pass counts that).
  try {
    if (made) {
      GeometryUnion g;
      g.Set(std::move(brep));
      ctx_.Emit(done->entity, std::move(g), done->mode);
      return;
    }
  } catch (const Standard_Failure&) {
  }
  ctx_.Skip(done->entity);
}

void BrepMapper::Stop() {
  if (pending_) {
    BrepT ignored;
    pending_.reset();
    try {
      converter_->Wait(ignored);
    } catch (...) {
      // What is not added cannot fail.
    }
  }
  converter_.reset();
}

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
bool BrepMapper::HasBrokenPart(const Entity& e, std::vector<int>* numbers) const {
  std::vector<Entity> parts{e};
  std::unordered_set<int> seen;  // the parts of one entity, not the whole file
  while (!parts.empty()) {
    Entity part = parts.back();
    parts.pop_back();
    const int n = ctx_.iges->Number(part);
    if (n <= 0 || !seen.insert(n).second) continue;
    if (numbers) numbers->push_back(n);
    if (ctx_.Broken(part)) return true;
    Handle(Interface_GeneralModule) module;
    int caseNumber = 0;
    if (!ctx_.iges->GTool()->Select(part, module, caseNumber)) continue;
    auto igesModule = Handle(IGESData_GeneralModule)::DownCast(module);
    if (igesModule.IsNull()) continue;
    Interface_EntityIterator shared;
    igesModule->OwnSharedCase(caseNumber, part, shared);
    for (shared.Start(); shared.More(); shared.Next())
      if (auto sub = Handle(IGESData_IGESEntity)::DownCast(shared.Value())) parts.push_back(sub);
  }
  return false;
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
