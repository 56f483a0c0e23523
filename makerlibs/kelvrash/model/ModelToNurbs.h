#pragma once
// Model records as openNURBS objects. Each returns null when the record is
// inconsistent (counts that do not match, indices out of range).
#include <memory>

#include "ModelFormat.h"
#include "opennurbs.h"

namespace kelv::model {

std::unique_ptr<ON_Object> ToNurbsObject(const Object& object);
std::unique_ptr<ON_Curve> ToNurbsCurve(const Curve* curve);
std::unique_ptr<ON_Surface> ToNurbsSurface(const Surface* surface);

ON_UUID ToOnUuid(const Uuid* id);
Uuid FromOnUuid(const ON_UUID& id);
ON_wString ToOnString(const flatbuffers::String* text);

}  // namespace kelv::model
