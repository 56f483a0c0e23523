#include "Mapper.h"

#include <IGESBasic_SingularSubfigure.hxx>
#include <IGESBasic_SubfigureDef.hxx>
#include <IGESDimen_AngularDimension.hxx>
#include <IGESDimen_DiameterDimension.hxx>
#include <IGESDimen_GeneralLabel.hxx>
#include <IGESDimen_GeneralNote.hxx>
#include <IGESDimen_LeaderArrow.hxx>
#include <IGESDimen_LinearDimension.hxx>
#include <IGESDimen_OrdinateDimension.hxx>
#include <IGESDimen_PointDimension.hxx>
#include <IGESDimen_RadiusDimension.hxx>
#include <IGESDraw_CircArraySubfigure.hxx>
#include <IGESDraw_NetworkSubfigure.hxx>
#include <IGESDraw_NetworkSubfigureDef.hxx>
#include <IGESDraw_RectArraySubfigure.hxx>
#include <IGESGeom_Point.hxx>
#include <Interface_Check.hxx>
#include <Interface_EntityIterator.hxx>
#include <Interface_GeneralLib.hxx>
#include <Interface_GeneralModule.hxx>
#include <Standard_Failure.hxx>
#include <algorithm>
#include <exception>
#include <iterator>
#include <type_traits>

#include <unistd.h>

namespace kelv::iges {

using namespace kelv::model;

namespace {

// The route to a family's mapper of one entity class. An entity that Open
// CASCADE did not read as that class is skipped.
template <class Family, class Typed>
std::function<bool(const Entity&, const Placing&, Made&)> Bind(
    MapContext& ctx, Family& family, bool (Family::*map)(const Handle(Typed)&, const Placing&, Made&)) {
  return [&ctx, &family, map](const Entity& e, const Placing& at, Made& made) {
    Handle(Typed) typed;
    if constexpr (std::is_same_v<Typed, IGESData_IGESEntity>) typed = e;
    else typed = Handle(Typed)::DownCast(e);
    if (typed.IsNull()) {
      ctx.Skip(e);
      return false;
    }
    return (family.*map)(typed, at, made);
  };
}

// Entities that draw nothing themselves: they take effect through the
// entities that use them.
bool Nothing(const Entity&, const Placing&, Made&) { return true; }

// Surfaces and solids, brought over as B-reps through Open CASCADE's transfer.
constexpr IgesType kSurfaces[] = {
    IgesType::ParametricSplineSurface, IgesType::RuledSurface, IgesType::SurfaceOfRevolution,
    IgesType::TabulatedCylinder, IgesType::RationalBSplineSurface, IgesType::OffsetSurface,
    IgesType::Boundary, IgesType::CurveOnSurface, IgesType::BoundedSurface,
    IgesType::TrimmedSurface, IgesType::ManifoldSolid, IgesType::PlaneSurface,
    IgesType::CylindricalSurface, IgesType::ConicalSurface, IgesType::SphericalSurface,
    IgesType::ToroidalSurface, IgesType::Face, IgesType::Shell,
};

// Subfigure definitions are drawn through their instances. Attributes
// (colours, levels by their properties) are read where an entity that uses
// them is emitted; structure, associativities, views and the B-rep topology
// below faces through the entities that use them.
constexpr IgesType kDrawNothing[] = {
    IgesType::SubfigureDefinition, IgesType::NetworkSubfigureDefinition,
    IgesType::Color, IgesType::Property, IgesType::Null, IgesType::TransformationMatrix,
    IgesType::AssociativityDefinition, IgesType::LineFontDefinition, IgesType::MacroDefinition,
    IgesType::TextFontDefinition, IgesType::TextDisplayTemplate, IgesType::UnitsData,
    IgesType::AttributeTableDefinition, IgesType::AssociativityInstance, IgesType::View,
    IgesType::Vertex, IgesType::Edge, IgesType::Loop,
};

template <size_t N>
bool Among(IgesType type, const IgesType (&types)[N]) {
  return std::find(std::begin(types), std::end(types), type) != std::end(types);
}

}  // namespace

Mapper::Mapper(const Handle(IGESData_IGESModel)& model, const ScanResult& scan, ModelMaker& out)
    : ctx_(model, scan, out),
      attributes_(ctx_),
      curves_(ctx_),
      breps_(ctx_, curves_),
      annotations_(ctx_),
      subfigures_(ctx_) {
  ctx_.dispatch = this;
  ctx_.attributes = &attributes_;
  const auto curve = Bind(ctx_, curves_, &CurveMapper::MapCurve);
  const auto surface = Bind(ctx_, breps_, &BrepMapper::MapSurface);
  // Every entity type the conversion knows; the others are skipped.
  routes_ = {
      // Curves and points
      {IgesType::CircularArc, curve},
      {IgesType::CompositeCurve, curve},
      {IgesType::ConicArc, curve},
      {IgesType::Line, curve},
      {IgesType::ParametricSplineCurve, curve},
      {IgesType::RationalBSplineCurve, curve},
      {IgesType::OffsetCurve, curve},
      {IgesType::CopiousData, Bind(ctx_, curves_, &CurveMapper::MapCopious)},
      {IgesType::Point, Bind(ctx_, curves_, &CurveMapper::MapPoint)},
      // Surfaces and solids
      {IgesType::Plane, Bind(ctx_, breps_, &BrepMapper::MapPlane)},
      // Annotations and the drawings that list them
      {IgesType::AngularDimension, Bind(ctx_, annotations_, &AnnotationMapper::MapAngularDimension)},
      {IgesType::DiameterDimension, Bind(ctx_, annotations_, &AnnotationMapper::MapDiameterDimension)},
      {IgesType::GeneralLabel, Bind(ctx_, annotations_, &AnnotationMapper::MapGeneralLabel)},
      {IgesType::GeneralNote, Bind(ctx_, annotations_, &AnnotationMapper::MapGeneralNote)},
      {IgesType::LeaderArrow, Bind(ctx_, annotations_, &AnnotationMapper::MapLeaderArrow)},
      {IgesType::LinearDimension, Bind(ctx_, annotations_, &AnnotationMapper::MapLinearDimension)},
      {IgesType::OrdinateDimension, Bind(ctx_, annotations_, &AnnotationMapper::MapOrdinateDimension)},
      {IgesType::PointDimension, Bind(ctx_, annotations_, &AnnotationMapper::MapPointDimension)},
      {IgesType::RadiusDimension, Bind(ctx_, annotations_, &AnnotationMapper::MapRadiusDimension)},
      {IgesType::Drawing, Bind(ctx_, annotations_, &AnnotationMapper::MapDrawing)},
      // Subfigures: definitions are drawn through their instances.
      {IgesType::SingularSubfigureInstance, Bind(ctx_, subfigures_, &SubfigureMapper::MapSingular)},
      {IgesType::NetworkSubfigureInstance, Bind(ctx_, subfigures_, &SubfigureMapper::MapNetwork)},
      {IgesType::RectangularArrayInstance, Bind(ctx_, subfigures_, &SubfigureMapper::MapRectangularArray)},
      {IgesType::CircularArrayInstance, Bind(ctx_, subfigures_, &SubfigureMapper::MapCircularArray)},
  };
  for (IgesType type : kSurfaces) routes_.emplace(type, surface);
  for (IgesType type : kDrawNothing) routes_.emplace(type, Nothing);
}

bool Mapper::Run(std::string& error) {
  ctx_.process = new Transfer_TransientProcess(ctx_.iges->NbEntities());
  ctx_.process->SetModel(ctx_.iges);
  MarkBroken();
  attributes_.ReadLevelNames();
  FindDrawnAlone();
  TransferAhead();
  const int count = ctx_.iges->NbEntities();
  for (int i = 1; i <= count; ++i) {
    Entity e = ctx_.iges->Entity(i);
    if (e.IsNull()) continue;
    // Parameter-space curves (use 5) belong to their surfaces.
    if (!ctx_.alone[static_cast<size_t>(i)] || e->UseFlag() == 5) continue;
    Made made;
    try {
      MapEntity(e, Placing{gp_GTrsf(), MapContext::ModeOf(e), 0}, made);
    } catch (const Standard_Failure&) {
      ctx_.Skip(e);
    }
    if (ctx_.Failed()) {
      error = ctx_.fatal;
      return false;
    }
  }
  annotations_.FixFontIndices();
  for (auto [type, n] : ctx_.skipped) {
    SkippedT s;
    s.type = type;
    s.count = n;
    ctx_.out.Model().skipped.push_back(std::make_unique<SkippedT>(s));
  }
  return true;
}

bool Mapper::MapEntity(const Entity& e, const Placing& at, Made& made) {
  if (at.depth > igesread::kMaxNesting) return ctx_.Fail("has subfigures nested deeper than 64 levels");
  if (ctx_.Broken(e)) {
    ctx_.Skip(e);
    return false;
  }
  auto route = routes_.find(TypeOf(e));
  if (route == routes_.end()) {
    ctx_.Skip(e);
    return false;
  }
  return route->second(e, at, made);
}

void Mapper::TransferAhead() {
  BrepFanOutSettings& settings = FanOutSettings();
  settings.sent = settings.reported = 0;
  if (!settings.enabled) return;
  // The entities the loop of Run maps and that reach other entities: the
  // surfaces and solids that it transfers at the file's origin, and the rest.
  std::vector<Entity> candidates, others;
  const int count = ctx_.iges->NbEntities();
  for (int i = 1; i <= count; ++i) {
    Entity e = ctx_.iges->Entity(i);
    if (e.IsNull() || !ctx_.alone[static_cast<size_t>(i)] || e->UseFlag() == 5 || ctx_.Broken(e)) continue;
    const IgesType type = TypeOf(e);
    if (!routes_.count(type) || Among(type, kDrawNothing)) continue;
    (Among(type, kSurfaces) ? candidates : others).push_back(e);
  }
  if (candidates.size() < static_cast<size_t>(std::max(1, settings.minCandidates))) return;
  try {
    size_t parts = 0;
    const auto partsOf = [this](const Entity& e, std::vector<Entity>& into) { breps_.PartsOf(e, into); };
    std::vector<Entity> alone = IndependentBreps(ctx_, candidates, others, partsOf, settings.minParts, parts);
    if (alone.size() < static_cast<size_t>(std::max(1, settings.minCandidates))) return;
    const size_t cores = static_cast<size_t>(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
    const size_t workers =
        settings.workers > 0 ? static_cast<size_t>(settings.workers)
                             : std::clamp<size_t>(parts / std::max<size_t>(1, settings.partsPerWorker), 1, cores);
    AheadBreps ahead = TransferInWorkers(ctx_, alone, workers, [this](const Entity& e, BrepT& brep) {
      return breps_.BrepAlone(e, brep);
    });
    settings.sent = alone.size();
    settings.reported = ahead.Size();
    breps_.TakeAhead(std::move(ahead));
  } catch (const Standard_Failure&) {
    // The entities are transferred in order, as without workers.
  } catch (const std::exception&) {
  }
}

void Mapper::MarkBroken() {
  const int count = ctx_.iges->NbEntities();
  ctx_.broken.assign(static_cast<size_t>(count) + 1, 0);
  for (int i = 1; i <= count; ++i) {
    Handle(Interface_Check) check = ctx_.iges->Check(i, Standard_True);
    ctx_.broken[static_cast<size_t>(i)] = (!check.IsNull() && check->HasFailed()) || ctx_.iges->IsErrorEntity(i);
  }
}

namespace {

// Marks the entities that others use (as 'referenced') and the members of
// subfigure definitions that are drawn only through their instances.
void MarkUses(const MapContext& ctx, std::vector<char>& referenced, std::vector<char>& member) {
  const Handle(IGESData_IGESModel)& iges = ctx.iges;
  auto mark = [&](std::vector<char>& flags, const Handle(Standard_Transient)& e) {
    int n = e.IsNull() ? 0 : iges->Number(e);
    if (n > 0) flags[static_cast<size_t>(n)] = 1;
  };
  auto markMembers = [&](const Entity& def) {
    if (auto sub = Handle(IGESBasic_SubfigureDef)::DownCast(def)) {
      for (int k = 1; k <= sub->NbEntities(); ++k) mark(member, sub->AssociatedEntity(k));
    } else if (auto net = Handle(IGESDraw_NetworkSubfigureDef)::DownCast(def)) {
      for (int k = 1; k <= net->NbEntities(); ++k) mark(member, net->Entity(k));
    }
  };
  Interface_GeneralLib lib(iges->Protocol());
  for (int i = 1; i <= iges->NbEntities(); ++i) {
    Entity e = iges->Entity(i);
    if (e.IsNull() || ctx.Broken(e)) continue;
    try {
      const IgesType type = TypeOf(e);
      Handle(Interface_GeneralModule) module;
      Standard_Integer cn = 0;
      if (lib.Select(e, module, cn)) {
        Interface_EntityIterator shared;
        module->FillShared(iges, cn, e, shared);
        // Groups and other associativities do not draw what they list.
        if (type != IgesType::AssociativityInstance)
          for (; shared.More(); shared.Next())
            if (shared.Value() != e) mark(referenced, shared.Value());
      }
      // Open CASCADE reads a point dimension without its pointers.
      if (type == IgesType::PointDimension)
        for (size_t k = 1; k <= 3; ++k) mark(referenced, ctx.RawPointer(e, k));
      // Definition members appear through the instances only, whatever
      // their own status says. A damaged definition is still drawn by its
      // instances, so its members are hidden only where one uses it.
      if (type == IgesType::SubfigureDefinition || type == IgesType::NetworkSubfigureDefinition) {
        markMembers(e);
      } else if (auto single = Handle(IGESBasic_SingularSubfigure)::DownCast(e)) {
        if (ctx.Broken(single->Subfigure())) markMembers(single->Subfigure());
      } else if (auto placed = Handle(IGESDraw_NetworkSubfigure)::DownCast(e)) {
        if (ctx.Broken(placed->SubfigureDefinition())) markMembers(placed->SubfigureDefinition());
      }
    } catch (const Standard_Failure&) {
    }
  }
}

}  // namespace

void Mapper::FindDrawnAlone() {
  const int count = ctx_.iges->NbEntities();
  std::vector<char> referenced(static_cast<size_t>(count) + 1, 0), member(static_cast<size_t>(count) + 1, 0);
  MarkUses(ctx_, referenced, member);
  // An entity flagged dependent that nothing refers to has no parent to be
  // drawn through: it stands alone, as most readers take it.
  ctx_.alone.assign(static_cast<size_t>(count) + 1, 0);
  for (int i = 1; i <= count; ++i) {
    Entity e = ctx_.iges->Entity(i);
    if (e.IsNull() || member[static_cast<size_t>(i)]) continue;
    int sub = e->SubordinateStatus();
    ctx_.alone[static_cast<size_t>(i)] = (sub != 1 && sub != 3) || !referenced[static_cast<size_t>(i)];
  }
}

}  // namespace kelv::iges
