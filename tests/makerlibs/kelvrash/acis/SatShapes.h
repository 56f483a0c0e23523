#pragma once
// Shapes for the SAT writer's tests, made with Open CASCADE and turned into
// openNURBS B-reps the way the IGES path turns them.
#include <memory>

#include <TopoDS_Shape.hxx>

#include "TestSupport.h"
#include "opennurbs.h"

namespace satshapes {

// Through the model file and its reader (the folder holds it meanwhile).
std::unique_ptr<ON_Brep> BrepOf(const TopoDS_Shape& shape, const TempFolder& dir);

TopoDS_Shape BsplinePatch();     // one open B-spline face
TopoDS_Shape PlateWithHole();    // a planar face with a circular hole
TopoDS_Shape RevolvedSpline();   // a closed solid of revolution of a B-spline profile

double Size(const ON_Brep& brep);  // the diagonal of its bounding box

}  // namespace satshapes
