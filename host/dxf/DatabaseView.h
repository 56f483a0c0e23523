#pragma once
// The tables of a drawing database as the DXF writer sees them.
#include "dxf/DrawingView.h"

class AcDbDatabase;
class AcCmColor;

namespace arxhost::dxf {

DrawingView CollectDrawing(const AcDbDatabase& db);

// An entity's or a record's colour as DXF writes it: ACI 0 by block, 256 by
// layer, the index, or the nearest index together with the true colour.
ColorValue ToColorValue(const AcCmColor& color);

}  // namespace arxhost::dxf
