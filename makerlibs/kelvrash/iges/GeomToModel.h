#pragma once
// Open CASCADE curves and surfaces as model records: lines, circles and
// B-splines kept exact, planes and surfaces of revolution kept analytic,
// everything else as B-splines (exact where Open CASCADE converts exactly).
#include <Geom2d_Curve.hxx>
#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>
#include <TopoDS_Edge.hxx>
#include <gp_GTrsf.hxx>

#include "model/ModelFormat.h"

namespace kelv::iges {

// The part [first, last] of a curve. Returns false when the curve cannot be
// expressed (infinite range, failed conversion).
bool CurveToModel(const Handle(Geom_Curve)& curve, double first, double last, model::CurveGeometryUnion& out);
// A parameter-space curve, always as a 2-dimensional NURBS curve whose
// domain is [first, last] reparametrised as Open CASCADE keeps it.
bool Curve2dToModel(const Handle(Geom2d_Curve)& curve, double first, double last, model::CurveGeometryUnion& out);
// A surface with the parameter box of the face that uses it.
bool SurfaceToModel(const Handle(Geom_Surface)& surface, double u0, double u1, double v0, double v1,
                    model::SurfaceGeometryUnion& out);

// The 3D curve of an edge, placed by the edge's location, and its range;
// null for an edge without one.
Handle(Geom_Curve) EdgeCurve(const TopoDS_Edge& edge, double& first, double& last);

// Moves a curve by an affine map: exactly by a similarity, or by converting
// to a B-spline and moving its poles.
Handle(Geom_Curve) TransformCurve(const Handle(Geom_Curve)& curve, const gp_GTrsf& map, double& first, double& last);

// A point under an affine map.
inline gp_XYZ Apply(const gp_GTrsf& t, gp_XYZ p) {
  t.Transforms(p);
  return p;
}

inline model::Vec3 ToVec3(const gp_XYZ& p) { return model::Vec3(p.X(), p.Y(), p.Z()); }
inline model::Vec3 ToVec3(const gp_Pnt& p) { return model::Vec3(p.X(), p.Y(), p.Z()); }
inline model::Vec3 ToVec3(const gp_Dir& p) { return model::Vec3(p.X(), p.Y(), p.Z()); }

}  // namespace kelv::iges
