// IGES bytes through the whole conversion into a model, and the model back
// through the reader's checks.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "iges/Convert.h"
#include "model/ModelFile.h"
#include "model/ModelToNurbs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 16)) return 0;
  kelv::model::ModelMaker maker;
  kelv::iges::ConversionResult result;
  std::string reason;
  if (!kelv::iges::ConvertIgesBytes(std::string_view(reinterpret_cast<const char*>(data), size), maker, result,
                                    reason))
    return 0;
  std::vector<uint8_t> bytes = kelv::model::PackModel(maker.Model());
  kelv::model::ModelFile file;
  std::string error;
  if (!file.OpenBuffer(bytes.data(), bytes.size(), "fuzz", error)) __builtin_trap();  // our own output must verify
  if (auto* objects = file.Root()->objects())
    for (const kelv::model::Object* o : *objects) kelv::model::ToNurbsObject(*o);
  return 0;
}
