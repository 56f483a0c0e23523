#pragma once
// An Open CASCADE shape's faces as a B-rep record in openNURBS's index
// layout: vertices, edges with 3D curves, faces with their surfaces and
// loops of trims with 2D curves.
#include <TopoDS_Shape.hxx>

#include "model/ModelFormat.h"

namespace kelv::iges {

// False when a face of the shape cannot be expressed with all its loops,
// or when no face is left: faces that enclose no area are left out.
bool ShapeToBrep(const TopoDS_Shape& shape, model::BrepT& out);

}  // namespace kelv::iges
