#pragma once
// The text style of a text, dimension or leader, as DXF names it.
#include <string>

#include "arx/dbId.h"
#include "dxf/DrawingView.h"

namespace arxhost::dxf {

// The style's name; "Standard" for a null or stale id.
std::wstring TextStyleName(AcDbObjectId style);

// A text height DXF accepts: the entity's own, else the style's fixed
// height, else the style's last used height.
double TextHeight(const DrawingView& view, const std::wstring& style, double height);

}  // namespace arxhost::dxf
