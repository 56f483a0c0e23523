#pragma once
// Levels as layers (named by the file's level-to-layer maps and level
// functions), IGES colours as object colours, entity names as object names.
#include <map>
#include <string>

#include "MapContext.h"

namespace kelv::iges {

class AttributeMapper {
 public:
  explicit AttributeMapper(MapContext& ctx) : ctx_(ctx) {}

  // Reads the names of the levels; before any entity is mapped.
  void ReadLevelNames();
  model::AttributesT Of(const Entity& e, model::ObjectMode mode);

 private:
  int LayerIndex(const Entity& e);
  void ColourOf(const Entity& e, model::AttributesT& attributes) const;

  MapContext& ctx_;
  std::map<int, int> layerOfLevel_;
  std::map<int, std::string> levelNames_;
};

}  // namespace kelv::iges
