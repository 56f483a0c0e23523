// Shapes for the SAT writer's tests.
#include "SatShapes.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>

#include "Kelv3dm.h"
#include "iges/ShapeToBrep.h"

namespace satshapes {

std::unique_ptr<ON_Brep> BrepOf(const TopoDS_Shape& shape, const TempFolder& dir) {
  kelv::model::BrepT brep;
  if (!kelv::iges::ShapeToBrep(shape, brep)) return nullptr;
  kelv::model::ModelMaker m;
  kelv::model::GeometryUnion g;
  g.Set(brep);
  m.AddObject(std::move(g));
  std::string error;
  if (!m.Write(dir.File("shape.k3m"), error)) return nullptr;
  ON_3dmProperties props;
  if (Kelv3dm::ReadStart(CString(dir.File("shape.k3m").c_str()), props) != 1) return nullptr;
  std::unique_ptr<ON_Brep> out;
  if (auto* read = dynamic_cast<const ON_Brep*>(Kelv3dm::ReadGetObject(0))) out = std::make_unique<ON_Brep>(*read);
  Kelv3dm::ReadEnd();
  return out;
}

TopoDS_Shape BsplinePatch() {
  TColgp_Array2OfPnt poles(1, 4, 1, 3);
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 3; ++j) poles(i, j) = gp_Pnt(i * 2.0, j * 3.0, ((i + j) % 3) * 0.7 + 0.1 * i * j);
  TColStd_Array1OfReal ku(1, 2), kv(1, 2);
  TColStd_Array1OfInteger mu(1, 2), mv(1, 2);
  ku(1) = 0; ku(2) = 1; mu(1) = mu(2) = 4;
  kv(1) = 0; kv(2) = 2; mv(1) = mv(2) = 3;
  Handle(Geom_BSplineSurface) s = new Geom_BSplineSurface(poles, ku, kv, mu, mv, 3, 2);
  return BRepBuilderAPI_MakeFace(s, 1e-7).Shape();
}

TopoDS_Shape PlateWithHole() {
  TopoDS_Wire outer = BRepBuilderAPI_MakePolygon(gp_Pnt(0, 0, 0), gp_Pnt(10, 0, 0), gp_Pnt(10, 8, 0),
                                                 gp_Pnt(0, 8, 0), Standard_True);
  BRepBuilderAPI_MakeFace face(outer, Standard_True);
  gp_Circ hole(gp_Ax2(gp_Pnt(4, 4, 0), gp_Dir(0, 0, -1)), 2.0);
  face.Add(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(hole)).Wire());
  return face.Shape();
}

// A closed solid of revolution whose profile is a B-spline from pole to
// pole: a B-spline surface and a B-spline seam edge.
TopoDS_Shape RevolvedSpline() {
  TColgp_Array1OfPnt poles(1, 4);
  poles(1) = gp_Pnt(0, 0, 0);
  poles(2) = gp_Pnt(2, 0, 0.5);
  poles(3) = gp_Pnt(3, 0, 3);
  poles(4) = gp_Pnt(0, 0, 4);
  TColStd_Array1OfReal knots(1, 2);
  TColStd_Array1OfInteger mults(1, 2);
  knots(1) = 0;
  knots(2) = 1;
  mults(1) = mults(2) = 4;
  Handle(Geom_BSplineCurve) profile = new Geom_BSplineCurve(poles, knots, mults, 3);
  TopoDS_Edge edge = BRepBuilderAPI_MakeEdge(profile);
  return BRepPrimAPI_MakeRevol(edge, gp_Ax1(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1))).Shape();
}

double Size(const ON_Brep& brep) {
  ON_BoundingBox box = brep.BoundingBox();
  return box.Diagonal().Length();
}

}  // namespace satshapes
