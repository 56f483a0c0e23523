#pragma once
// The model file's generated accessors and the version this library writes
// and reads. The file identifier ("KV3M") sits in bytes 4 to 7.
#include "model_generated.h"

namespace kelv::model {

inline constexpr uint32_t kModelVersion = 1;

}  // namespace kelv::model
