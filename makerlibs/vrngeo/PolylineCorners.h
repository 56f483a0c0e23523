#pragma once
// The corners of a chain of points: what is left when repeated points and
// points in the middle of straight runs are taken out.
#include <vector>

#include "on_point.h"

namespace vrngeo {

// Keeps the first and the last point; drops a point within tol of the last
// kept one, and a point that lies, with every point dropped since the last
// kept one, within tol of the segment from that kept point to the next
// point and between its ends.
std::vector<ON_3dPoint> CornerPoints(const std::vector<ON_3dPoint>& chain, double tol);

}  // namespace vrngeo
