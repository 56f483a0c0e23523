#pragma once
// openNURBS curves and surfaces as SAT geometry records: planes, cones
// (cylinders too), spheres and tori stay analytic, every other surface
// becomes an exact B-spline surface; lines and circular arcs stay analytic,
// other curves become exact B-spline curves.
#include <string>

#include "acis/SatText.h"
#include "opennurbs.h"

namespace kelv::acis {

struct MappedSurface {
  int record = -1;
  // True when the face's normal is opposite to the SAT surface's own.
  bool reversed = false;
  // A B-spline surface whose parameters are those of the openNURBS surface,
  // so that the trims' 2D curves are its parameter-space curves.
  bool takesPcurves = false;
};

struct MappedCurve {
  int record = -1;
  double t0 = 0.0, t1 = 0.0;  // parameters of the edge's ends on the SAT curve
};

// The surface with the face's normal at one of its points. False with the
// reason when the surface cannot be written.
bool AddSurface(SatDocument& doc, const ON_Surface& surface, const ON_3dPoint& at, const ON_3dVector& faceNormal,
                MappedSurface& out, std::string& reason);

// The part [domain] of a 3D curve, running the way the curve runs.
bool AddCurve(SatDocument& doc, const ON_Curve& curve, const ON_Interval& domain, MappedCurve& out,
              std::string& reason);

// The part [domain] of a 2D curve as a parameter-space curve record
// (reversed when the coedge runs against it); -1 with the reason on failure.
int AddPcurve(SatDocument& doc, const ON_Curve& curve, const ON_Interval& domain, bool reversed,
              std::string& reason);

}  // namespace kelv::acis
