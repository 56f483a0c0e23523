#pragma once
// The whole IGES-to-model conversion without files at the model's side:
// what KelvIges writes, and what the fuzz target drives.
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "model/ModelWriter.h"

namespace kelv::iges {

struct ConversionResult {
  std::map<int, int> skipped;  // IGES type -> entities not carried over
};

// Reads the IGES file (or bytes) and fills 'out'. On failure returns false
// with reason completing the sentence The IGES file "name" ...
// With 'leftovers', what the conversion read and transferred on the way
// (the IGES model, the shapes) goes there instead of being freed: for a
// process that ends right after, and leaves the freeing to its end.
bool ConvertIgesFile(const std::string& nativePath, model::ModelMaker& out, ConversionResult& result,
                     std::string& reason, std::shared_ptr<void>* leftovers = nullptr);
bool ConvertIgesBytes(std::string_view bytes, model::ModelMaker& out, ConversionResult& result, std::string& reason);

}  // namespace kelv::iges
