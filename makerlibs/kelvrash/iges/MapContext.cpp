#include "MapContext.h"

#include <cstdlib>

#include "MapAttributes.h"

namespace kelv::iges {

MapContext::MapContext(const Handle(IGESData_IGESModel)& model, const ScanResult& check, model::ModelMaker& maker)
    : iges(model), scan(check), out(maker) {}

Entity MapContext::RawPointer(const Entity& e, size_t param) const {
  auto it = scan.rawParameters.find(iges->Number(e) - 1);
  if (it == scan.rawParameters.end() || param >= it->second.size()) return Entity();
  char* end = nullptr;
  long de = std::strtol(it->second[param].c_str(), &end, 10);
  if (de <= 0 || de % 2 == 0 || (de + 1) / 2 > iges->NbEntities()) return Entity();
  return iges->Entity(static_cast<int>((de + 1) / 2));
}

std::string MapContext::Describe(const Entity& e) const {
  return "entity " + std::to_string(2 * iges->Number(e) - 1) + " (type " + std::to_string(e->TypeNumber()) + ")";
}

model::Uuid MapContext::Emit(const Entity& e, model::GeometryUnion geometry, model::ObjectMode mode) {
  return out.AddObject(std::move(geometry), attributes->Of(e, mode));
}

}  // namespace kelv::iges
