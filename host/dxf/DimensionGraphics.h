#pragma once
// The picture of a dimension: the lines, arrowheads, arc and text that
// AutoCAD keeps in the dimension's anonymous "*D" block, so that readers that
// only draw the block show the dimension. Everything is computed in the
// dimension's plane (its OCS) and written as plain DXF entities.
#include <optional>
#include <string>
#include <vector>

#include "dxf/Ocs.h"
#include "dxf/WriteContext.h"

namespace arxhost::dxf {

// The dimension variables the picture depends on (already scaled by
// DIMSCALE where the variable is a size).
struct DimLook {
  double arrowSize = 0.18, extOffset = 0.0625, extExtend = 0.18, gap = 0.09, textHeight = 0.18;
  double linearFactor = 1.0;
  int decimals = 4, angleDecimals = 0, textAbove = 0, zeroSuppression = 0;
  // Text kept horizontal between the extension lines (DIMTIH) and outside
  // them (DIMTOH), instead of along the dimension line.
  bool horizontalInside = false, horizontalOutside = false;
  int lineColor = 0, extColor = 0, textColor = 0;  // ACI; 0 by block
  std::wstring textStyle = L"Standard";
};

struct DimGeometry {
  enum class Kind { Linear, Radial, Angular3Point } kind = Kind::Linear;
  Vec3 normal{0, 0, 1};
  // Linear: extension line origins p1, p2, a point on the dimension line,
  // and the direction of the dimension line (world).
  // Radial: p1 centre, p2 point on the curve, leaderLength.
  // Angular: p1, p2 on the two lines, vertex (centre), arcPoint on the arc.
  Vec3 p1{}, p2{}, dimLinePoint{}, direction{1, 0, 0}, vertex{}, arcPoint{};
  double leaderLength = 0;
  std::optional<Vec3> textPosition;  // where the user put the text
  std::wstring textOverride;          // "" measured, "<>" within, " " none
};

// The measurement (length, radius, or angle in radians) the picture shows.
double DimMeasurement(const DimGeometry& g, const DimLook& look);

// The text as shown: the override with "<>" replaced by the formatted
// measurement, or the formatted measurement alone.
std::wstring DimText(const DimGeometry& g, const DimLook& look);

// Where the text goes (world), for the dimension's group 11.
Vec3 DimTextPosition(const DimGeometry& g, const DimLook& look);

// Writes the picture as a new anonymous block and returns its name.
std::wstring MakeDimensionBlock(WriteContext& ctx, const DimGeometry& g, const DimLook& look);

}  // namespace arxhost::dxf
