#include "MapAttributes.h"

#include <algorithm>
#include <cmath>

#include <IGESAppli_LevelFunction.hxx>
#include <IGESAppli_LevelToPWBLayerMap.hxx>
#include <IGESData_LevelListEntity.hxx>
#include <IGESGraph_Color.hxx>
#include <TCollection_HAsciiString.hxx>

namespace kelv::iges {

using namespace kelv::model;

void AttributeMapper::ReadLevelNames() {
  for (int i = 1; i <= ctx_.iges->NbEntities(); ++i) {
    Entity e = ctx_.iges->Entity(i);
    if (ctx_.Broken(e)) continue;
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

AttributesT AttributeMapper::Of(const Entity& e, ObjectMode mode) {
  AttributesT a;
  a.layer_index = LayerIndex(e);
  a.mode = mode;
  ColourOf(e, a);
  if (e->HasName()) {
    if (auto name = e->NameValue(); !name.IsNull()) a.name = name->ToCString();
  }
  return a;
}

int AttributeMapper::LayerIndex(const Entity& e) {
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
  int index = ctx_.out.AddLayer(name, 0x000000u);
  layerOfLevel_[level] = index;
  return index;
}

void AttributeMapper::ColourOf(const Entity& e, AttributesT& a) const {
  static const uint32_t kNumbered[9] = {0,        0x000000, 0x0000FF, 0x00FF00, 0xFF0000,
                                        0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};  // ON_Color: red low byte
  a.color_source = ColorSource::Layer;
  a.color = 0;
  if (e->DefColor() == IGESData_DefValue) {
    int rank = e->RankColor();
    if (rank >= 1 && rank <= 8) {
      a.color = kNumbered[rank];
      a.color_source = ColorSource::Object;
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
      a.color_source = ColorSource::Object;
    }
  }
}

}  // namespace kelv::iges
