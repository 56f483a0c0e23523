#pragma once
// The topology of an openNURBS B-rep as SAT records: one body with one lump
// and one shell holding every face; loops, coedges (partners linked around
// each edge), edges, vertices and points, with the geometry of SatGeometry.
#include <string>

#include "acis/SatText.h"
#include "opennurbs.h"

namespace kelv::acis {

// False with the reason (a sentence part without a final stop) when the
// B-rep holds something SAT cannot express. The B-rep is expected valid.
bool BrepToSat(const ON_Brep& brep, SatDocument& doc, std::string& reason);

}  // namespace kelv::acis
