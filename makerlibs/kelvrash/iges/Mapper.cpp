#include "Mapper.h"

#include <cmath>
#include <cstdlib>

#include <IGESAppli_LevelFunction.hxx>
#include <IGESAppli_LevelToPWBLayerMap.hxx>
#include <IGESBasic_SingularSubfigure.hxx>
#include <IGESBasic_SubfigureDef.hxx>
#include <IGESDraw_Drawing.hxx>
#include <IGESDraw_DrawingWithRotation.hxx>
#include <IGESDraw_NetworkSubfigure.hxx>
#include <IGESDraw_NetworkSubfigureDef.hxx>
#include <IGESData_LevelListEntity.hxx>
#include <IGESGraph_Color.hxx>
#include <Interface_Check.hxx>
#include <Interface_EntityIterator.hxx>
#include <Interface_GeneralLib.hxx>
#include <Interface_GeneralModule.hxx>
#include <Standard_Failure.hxx>
#include <TCollection_HAsciiString.hxx>

namespace kelv::iges {

using namespace kelv::model;

model::Plane Frame::ToPlane() const {
  return model::Plane(Vec3(origin.X(), origin.Y(), origin.Z()), Vec3(x.X(), x.Y(), x.Z()), Vec3(y.X(), y.Y(), y.Z()),
                      Vec3(z.X(), z.Y(), z.Z()));
}

Mapper::Mapper(const Handle(IGESData_IGESModel)& model, const ScanResult& scan, ModelMaker& out)
    : iges_(model), scan_(scan), out_(out) {}

Mapper::Entity Mapper::RawPointer(const Entity& e, size_t param) const {
  auto it = scan_.rawParameters.find(iges_->Number(e) - 1);
  if (it == scan_.rawParameters.end() || param >= it->second.size()) return Entity();
  char* end = nullptr;
  long de = std::strtol(it->second[param].c_str(), &end, 10);
  if (de <= 0 || de % 2 == 0 || (de + 1) / 2 > iges_->NbEntities()) return Entity();
  return iges_->Entity(static_cast<int>((de + 1) / 2));
}

std::string Mapper::Describe(const Entity& e) const {
  return "entity " + std::to_string(2 * iges_->Number(e) - 1) + " (type " + std::to_string(e->TypeNumber()) + ")";
}

gp_GTrsf Mapper::Placement(const Entity& e, const gp_GTrsf& parent) const {
  gp_GTrsf own = e->CompoundLocation();
  return parent.Multiplied(own);
}

bool Mapper::Run(std::string& error) {
  process_ = new Transfer_TransientProcess(iges_->NbEntities());
  process_->SetModel(iges_);
  const int count = iges_->NbEntities();
  broken_.assign(static_cast<size_t>(count) + 1, 0);
  for (int i = 1; i <= count; ++i) {
    Handle(Interface_Check) check = iges_->Check(i, Standard_True);
    broken_[static_cast<size_t>(i)] = (!check.IsNull() && check->HasFailed()) || iges_->IsErrorEntity(i);
  }
  ReadLevelNames();
  FindDrawnAlone();
  for (int i = 1; i <= count; ++i) {
    Entity e = iges_->Entity(i);
    if (e.IsNull()) continue;
    // Parameter-space curves (use 5) belong to their surfaces.
    if (!alone_[static_cast<size_t>(i)] || e->UseFlag() == 5) continue;
    std::vector<Uuid> made;
    int mode = e->BlankStatus() == 1 ? 1 : 0;
    try {
      MapEntity(e, gp_GTrsf(), mode, made, 0);
    } catch (const Standard_Failure& failure) {
      Skip(e);
    }
    if (!fatal_.empty()) {
      error = fatal_;
      return false;
    }
  }
  FixFontIndices();
  for (auto [type, n] : skipped_) {
    SkippedT s;
    s.type = type;
    s.count = n;
    out_.Model().skipped.push_back(std::make_unique<SkippedT>(s));
  }
  return true;
}

Uuid Mapper::Emit(const Entity& e, GeometryUnion geometry, int mode) {
  AttributesT a;
  a.layer_index = LayerIndex(e);
  a.mode = mode;
  ColourOf(e, a);
  if (e->HasName()) {
    if (auto name = e->NameValue(); !name.IsNull()) a.name = name->ToCString();
  }
  return out_.AddObject(std::move(geometry), std::move(a));
}

bool Mapper::MapEntity(const Entity& e, const gp_GTrsf& parent, int mode, std::vector<Uuid>& made, int depth) {
  if (depth > 64) return Fail("has subfigures nested deeper than 64 levels");
  if (Broken(e)) {
    Skip(e);
    return false;
  }
  const int type = e->TypeNumber();
  switch (type) {
    case 100: case 102: case 104: case 110: case 112: case 126: case 130: {
      if (type == 126 && !CheckBSpline(e)) return false;
      CurveGeometryUnion curve;
      if (!CurveOf(e, Placement(e, parent), curve, 0)) {
        if (fatal_.empty()) Skip(e);
        return false;
      }
      EmitCurve(e, std::move(curve), mode, made);
      return true;
    }
    case 106:
      if (e->FormNumber() == 40 || (e->FormNumber() >= 20 && e->FormNumber() <= 38) || e->FormNumber() <= 13 ||
          e->FormNumber() == 63) {
        if (!MapCopious(e, Placement(e, parent), mode, made)) {
          Skip(e);
          return false;
        }
        return true;
      }
      Skip(e);
      return false;
    case 116:
      return MapPoint(e, Placement(e, parent), mode, made);
    case 108: case 114: case 118: case 120: case 122: case 128: case 140: case 141: case 142: case 143: case 144:
    case 186: case 190: case 192: case 194: case 196: case 198: case 514: case 510:
      return MapBrep(e, parent, mode, made);
    case 202: case 206: case 210: case 212: case 213: case 214: case 216: case 218: case 220: case 222:
      return MapAnnotation(e, parent, mode, made);
    case 308: case 320:
      return true;  // drawn through their instances
    case 408: case 412: case 414: case 420:
      return MapInstance(e, parent, mode, made, depth);
    // Structure, properties, associativities, drawings and views: they take
    // effect through the entities that use them.
    case 404:
      return MapDrawing(e, made, depth);
    case 0: case 124: case 302: case 304: case 306: case 310: case 312: case 314: case 316: case 322: case 402:
    case 406: case 410: case 502: case 504: case 508:
      return true;
    default:
      Skip(e);
      return false;
  }
}

// --- what the main pass draws ----------------------------------------------

void Mapper::FindDrawnAlone() {
  const int count = iges_->NbEntities();
  std::vector<char> referenced(static_cast<size_t>(count) + 1, 0), member(static_cast<size_t>(count) + 1, 0);
  auto mark = [&](std::vector<char>& flags, const Handle(Standard_Transient)& e) {
    int n = e.IsNull() ? 0 : iges_->Number(e);
    if (n > 0) flags[static_cast<size_t>(n)] = 1;
  };
  auto markMembers = [&](const Entity& def) {
    if (auto sub = Handle(IGESBasic_SubfigureDef)::DownCast(def)) {
      for (int k = 1; k <= sub->NbEntities(); ++k) mark(member, sub->AssociatedEntity(k));
    } else if (auto net = Handle(IGESDraw_NetworkSubfigureDef)::DownCast(def)) {
      for (int k = 1; k <= net->NbEntities(); ++k) mark(member, net->Entity(k));
    }
  };
  Interface_GeneralLib lib(iges_->Protocol());
  for (int i = 1; i <= count; ++i) {
    Entity e = iges_->Entity(i);
    if (e.IsNull() || Broken(e)) continue;
    try {
      Handle(Interface_GeneralModule) module;
      Standard_Integer cn = 0;
      if (lib.Select(e, module, cn)) {
        Interface_EntityIterator shared;
        module->FillShared(iges_, cn, e, shared);
        // Groups and other associativities do not draw what they list.
        if (e->TypeNumber() != 402)
          for (; shared.More(); shared.Next())
            if (shared.Value() != e) mark(referenced, shared.Value());
      }
      // Open CASCADE reads a point dimension without its pointers.
      if (e->TypeNumber() == 220)
        for (size_t k = 1; k <= 3; ++k) mark(referenced, RawPointer(e, k));
      // Definition members appear through the instances only, whatever
      // their own status says. A damaged definition is still drawn by its
      // instances, so its members are hidden only where one uses it.
      if (e->TypeNumber() == 308 || e->TypeNumber() == 320) {
        markMembers(e);
      } else if (auto single = Handle(IGESBasic_SingularSubfigure)::DownCast(e)) {
        if (Broken(single->Subfigure())) markMembers(single->Subfigure());
      } else if (auto placed = Handle(IGESDraw_NetworkSubfigure)::DownCast(e)) {
        if (Broken(placed->SubfigureDefinition())) markMembers(placed->SubfigureDefinition());
      }
    } catch (const Standard_Failure&) {
    }
  }
  // An entity flagged dependent that nothing refers to has no parent to be
  // drawn through: it stands alone, as most readers take it.
  alone_.assign(static_cast<size_t>(count) + 1, 0);
  for (int i = 1; i <= count; ++i) {
    Entity e = iges_->Entity(i);
    if (e.IsNull() || member[static_cast<size_t>(i)]) continue;
    int sub = e->SubordinateStatus();
    alone_[static_cast<size_t>(i)] = (sub != 1 && sub != 3) || !referenced[static_cast<size_t>(i)];
  }
  drawnByDrawing_.assign(static_cast<size_t>(count) + 1, 0);
}

// The annotations a drawing lists are in the drawing's own coordinates; its
// views place nothing (the model's entities stay where the model has them).
// Each listed entity that the main pass does not draw is drawn once, by the
// first drawing that lists it.
bool Mapper::MapDrawing(const Entity& e, std::vector<Uuid>& made, int depth) {
  auto draw = [&](const Entity& a) {
    if (a.IsNull()) return;
    const size_t n = static_cast<size_t>(iges_->Number(a));
    if (n == 0 || alone_[n] || drawnByDrawing_[n]) return;
    drawnByDrawing_[n] = 1;
    try {
      MapEntity(a, gp_GTrsf(), a->BlankStatus() == 1 ? 1 : 0, made, depth + 1);
    } catch (const Standard_Failure&) {
      Skip(a);
    }
  };
  if (auto drawing = Handle(IGESDraw_Drawing)::DownCast(e)) {
    for (int i = 1; i <= drawing->NbAnnotations() && fatal_.empty(); ++i) draw(drawing->Annotation(i));
  } else if (auto rotated = Handle(IGESDraw_DrawingWithRotation)::DownCast(e)) {
    for (int i = 1; i <= rotated->NbAnnotations() && fatal_.empty(); ++i) draw(rotated->Annotation(i));
  }
  return fatal_.empty();
}

// --- layers and colours ---------------------------------------------------

void Mapper::ReadLevelNames() {
  for (int i = 1; i <= iges_->NbEntities(); ++i) {
    Entity e = iges_->Entity(i);
    if (Broken(e)) continue;
    if (auto map = Handle(IGESAppli_LevelToPWBLayerMap)::DownCast(e)) {
      for (int k = 1; k <= map->NbLevelToLayerDefs(); ++k) {
        Handle(TCollection_HAsciiString) name = map->NativeLevel(k);
        if (name.IsNull() || name->Length() == 0) name = map->ExchangeFileLevelIdent(k);
        if (!name.IsNull() && name->Length() > 0) levelNames_[map->ExchangeFileLevelNumber(k)] = name->ToCString();
      }
    } else if (auto function = Handle(IGESAppli_LevelFunction)::DownCast(e)) {
      Handle(TCollection_HAsciiString) name = function->FuncDescription();
      if (!name.IsNull() && name->Length() > 0 && e->DefLevel() == IGESData_DefOne)
        levelNames_.emplace(e->Level(), name->ToCString());
    }
  }
}

int Mapper::LayerIndex(const Entity& e) {
  int level = 0;
  if (e->DefLevel() == IGESData_DefOne) {
    level = e->Level();
  } else if (e->DefLevel() == IGESData_DefSeveral) {
    Handle(IGESData_LevelListEntity) list = e->LevelList();
    if (!list.IsNull() && list->NbLevelNumbers() > 0) level = list->LevelNumber(1);
  }
  auto it = layerOfLevel_.find(level);
  if (it != layerOfLevel_.end()) return it->second;
  auto named = levelNames_.find(level);
  std::string name = named != levelNames_.end() ? named->second : std::to_string(level);
  int index = out_.AddLayer(name, 0x000000u);
  layerOfLevel_[level] = index;
  return index;
}

void Mapper::ColourOf(const Entity& e, AttributesT& a) const {
  static const uint32_t kNumbered[9] = {0,        0x000000, 0x0000FF, 0x00FF00, 0xFF0000,
                                        0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};  // ON_Color: red low byte
  a.color_source = 0;
  a.color = 0;
  if (e->DefColor() == IGESData_DefValue) {
    int rank = e->RankColor();
    if (rank >= 1 && rank <= 8) {
      a.color = kNumbered[rank];
      a.color_source = 1;
    }
  } else if (e->DefColor() == IGESData_DefReference) {
    if (auto colour = Handle(IGESGraph_Color)::DownCast(e->Color())) {
      double r = 0, g = 0, b = 0;
      colour->RGBIntensity(r, g, b);
      auto byte = [](double percent) {
        double v = std::round(std::clamp(percent, 0.0, 100.0) / 100.0 * 255.0);
        return static_cast<uint32_t>(v);
      };
      a.color = byte(r) | (byte(g) << 8) | (byte(b) << 16);
      a.color_source = 1;
    }
  }
}

}  // namespace kelv::iges
