#pragma once
// The whole DXF text of a drawing, and saving it.
#include <string>

#include "dxf/WriteContext.h"

namespace arxhost::dxf {

// Throws DxfWriteError when the drawing holds something DXF cannot.
std::string WriteDocument(const DrawingView& view, const EntityEmitter& emitEntity);

// Returns an empty string on success, else a sentence saying what failed; a
// failed save leaves no file behind and an existing file untouched.
std::string SaveDocument(const DrawingView& view, const EntityEmitter& emitEntity, const std::string& nativePath);

}  // namespace arxhost::dxf
