#include "ShapeTriangles.h"

#include <BRepBndLib.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Poly_Triangulation.hxx>
#include <Precision.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <cmath>

#include "prefault.h"

namespace brennic {
namespace {

bool HasFaces(const TopoDS_Shape& shape) {
  return TopExp_Explorer(shape, TopAbs_FACE).More();
}

}  // namespace

double MeshDeflection(const TopoDS_Shape& shape) {
  Bnd_Box box;
  BRepBndLib::Add(shape, box, false);
  if (box.IsVoid()) return 0.0;
  const double diagonal = std::sqrt(box.SquareExtent());
  return std::max(diagonal * kRelativeDeflection, Precision::Confusion());
}

std::array<double, 3> Triangle::Normal() const {
  const auto& [a, b, c] = corners;
  const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  const double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  std::array<double, 3> n = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (!(length > 0.0) || !std::isfinite(length)) return {0.0, 0.0, 0.0};
  return {n[0] / length, n[1] / length, n[2] / length};
}

void AppendShapeTriangles(const TopoDS_Shape& shape, std::vector<Triangle>& triangles, bool parallelFaces) {
  if (shape.IsNull() || !HasFaces(shape)) return;
  const double deflection = MeshDeflection(shape);
  if (!(deflection > 0.0)) return;
  BRepMesh_IncrementalMesh mesher(shape, deflection, false, kAngularDeflection, parallelFaces);

  // Room for all at once: a large shape's triangles would otherwise be
  // copied over as they grow.
  size_t count = 0;
  for (TopExp_Explorer faces(shape, TopAbs_FACE); faces.More(); faces.Next()) {
    TopLoc_Location location;
    const Handle(Poly_Triangulation)& mesh = BRep_Tool::Triangulation(TopoDS::Face(faces.Current()), location);
    if (!mesh.IsNull()) count += static_cast<size_t>(mesh->NbTriangles());
  }
  if (triangles.capacity() < triangles.size() + count) {
    triangles.reserve(triangles.size() + count);
    prefault::ForWriting(triangles.data() + triangles.size(), count * sizeof(Triangle));
  }

  for (TopExp_Explorer faces(shape, TopAbs_FACE); faces.More(); faces.Next()) {
    const TopoDS_Face& face = TopoDS::Face(faces.Current());
    TopLoc_Location location;
    const Handle(Poly_Triangulation) mesh = BRep_Tool::Triangulation(face, location);
    if (mesh.IsNull()) continue;  // a face the mesher could not handle
    const gp_Trsf placement = location.Transformation();
    const bool reversed = face.Orientation() == TopAbs_REVERSED;
    for (int t = 1; t <= mesh->NbTriangles(); ++t) {
      int n[3];
      mesh->Triangle(t).Get(n[0], n[1], n[2]);
      if (reversed) std::swap(n[1], n[2]);
      Triangle triangle;
      for (int k = 0; k < 3; ++k) {
        const gp_Pnt p = mesh->Node(n[k]).Transformed(placement);
        triangle.corners[k] = {p.X(), p.Y(), p.Z()};
      }
      triangles.push_back(triangle);
    }
  }
}

}  // namespace brennic
