#pragma once
// Shared helpers of the data-exchange tests: conversions of builder-made IGES
// text into a model.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "IgesBuilder.h"
#include "TempFolder.h"
#include "iges/Convert.h"
#include "model/ModelWriter.h"

namespace testiges {

struct Converted {
  bool ok = false;
  std::string reason;
  kelv::model::ModelMaker maker;
  kelv::iges::ConversionResult result;
  const kelv::model::ModelT& model() const { return maker.Model(); }
};

inline void Convert(const std::string& text, Converted& out) {
  out.ok = kelv::iges::ConvertIgesBytes(text, out.maker, out.result, out.reason);
}

// Objects that are not members of an instance definition (those that the
// drawing gets directly).
inline std::vector<const kelv::model::ObjectT*> TopLevel(const kelv::model::ModelT& m) {
  std::vector<const kelv::model::ObjectT*> out;
  for (auto& o : m.objects)
    if (o->attributes->mode != kelv::model::ObjectMode::InstanceDefinitionMember) out.push_back(o.get());
  return out;
}

}  // namespace testiges
