#pragma once
// What picks and selections see of the drawing: the entities of the current
// space, found by handle or by a point near what they draw, and the answers
// that name them ("pick 2A", "pick 1,2", "select-set 2A 2B", "all").
#include <optional>
#include <string_view>
#include <vector>

#include "arx/dbEntity.h"
#include "arx/gePoint3d.h"

namespace arxhost {

// Half the side of the pick box, in drawing units: a pick by point takes the
// nearest entity drawn within this distance of the point.
constexpr double kPickAperture = 0.5;

// The live entities of the working database's current space, in order.
std::vector<AcDbObjectId> CurrentSpaceEntities();

// Distance in the plan view (x and y; z is ignored, as a pick at the screen
// sees the drawing from above) from the point to what the entity draws, or
// nullopt for an entity the host does not draw for picking.
std::optional<double> PickDistance(const AcDbEntity& entity, const AcGePoint3d& point);
// A point the entity draws (the start of a curve, a point's position), the
// point reported for a pick by handle.
std::optional<AcGePoint3d> FirstDrawnPoint(const AcDbEntity& entity);

// "x,y" or "x,y,z" with a decimal point whatever the locale.
std::optional<AcGePoint3d> ParsePoint(std::wstring_view text);
// The live entity of the current space with that hexadecimal handle.
AcDbObjectId EntityByHandle(std::wstring_view hex);
// The nearest entity within the aperture, or the null id.
AcDbObjectId EntityAtPoint(const AcGePoint3d& point);

// One picked entity: "pick HANDLE" or "pick X,Y[,Z]".
struct Pick {
  AcDbObjectId id;    // null when the pick hit nothing
  AcGePoint3d point;  // where it was picked
};
// nullopt when the line is no pick answer.
std::optional<Pick> ParsePick(std::wstring_view line);

// The entities a selection answer names ("pick ...", "select-set H1 H2 ...",
// "all"), in order; nullopt when the line is no selection answer.
std::optional<std::vector<AcDbObjectId>> ParseSelection(std::wstring_view line);

}  // namespace arxhost
