// Model-file bytes through the verifier and the conversion of every record
// into openNURBS objects.
#include <cstddef>
#include <cstdint>

#include "model/ModelFile.h"
#include "model/ModelToNurbs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kelv::model::ModelFile file;
  std::string error;
  if (!file.OpenBuffer(data, size, "fuzz", error)) return 0;
  const kelv::model::Model* root = file.Root();
  if (auto* objects = root->objects())
    for (const kelv::model::Object* o : *objects) {
      std::unique_ptr<ON_Object> object = kelv::model::ToNurbsObject(*o);
      if (o->attributes() && o->attributes()->uuid()) file.ObjectIndex(*o->attributes()->uuid());
    }
  if (auto* layers = root->layers())
    for (const kelv::model::Layer* l : *layers) kelv::model::ToOnString(l->name());
  if (auto* defs = root->instance_definitions())
    for (const kelv::model::InstanceDefinition* d : *defs)
      if (d->members())
        for (const kelv::model::Uuid* id : *d->members()) file.ObjectIndex(*id);
  return 0;
}
