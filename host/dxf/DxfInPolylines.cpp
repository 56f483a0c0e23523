// Reading POLYLINE in its 2D, 3D, polyface-mesh and polygon-mesh forms (from
// its VERTEX records), and LWPOLYLINE.
#include <cmath>

#include "arx/db2dPolyline.h"
#include "arx/db3dPolyline.h"
#include "arx/dbPolyFaceMesh.h"
#include "arx/dbPolygonMesh.h"
#include "arx/dbPolyline.h"
#include "arx/dbVertex.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

constexpr int kClosed = 1, kCurveFit = 2, kSplineFit = 4, kPolyline3d = 8, kPolygonMesh = 16, kMeshClosedN = 32,
              kPolyfaceMesh = 64;
constexpr int kVertexFitMade = 8, kVertexMesh = 64, kVertexFace = 128;

// Appends a new child and closes it; one the owner refuses fails the record.
template <class Owner, class Child>
void AppendChild(const DxfRecord& r, Owner& owner, Child* child, const char* what) {
  Acad::ErrorStatus es = owner.appendVertex(child);
  if (es != Acad::eOk) {
    delete child;
    Check(r, es, what);
  }
  child->close();
}

EntityPtr Read3d(const DxfRecord& r) {
  long long smooth = r.integer(75);
  AcDb::Poly3dType type = smooth == 5   ? AcDb::k3dQuadSplinePoly
                          : smooth == 6 ? AcDb::k3dCubicSplinePoly
                                        : AcDb::k3dSimplePoly;
  auto* pl = new AcDb3dPolyline;
  EntityPtr e(pl);
  pl->setPolyType(type);
  pl->setClosed((r.integer(70) & kClosed) != 0);
  for (const auto& v : r.children) {
    // Points the spline fit made are derived; the frame is what is kept.
    if (v.integer(70) & kVertexFitMade) continue;
    AppendChild(v, *pl, new AcDb3dPolylineVertex(PointOf(v, 10)), "a vertex its polyline refuses");
  }
  return e;
}

EntityPtr Read2d(const DxfRecord& r) {
  long long flags = r.integer(70), smooth = r.integer(75);
  AcDb::Poly2dType type = AcDb::k2dSimplePoly;
  if (flags & kSplineFit) type = smooth == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
  else if (flags & kCurveFit) type = AcDb::k2dFitCurvePoly;
  auto* pl = new AcDb2dPolyline;
  EntityPtr e(pl);
  pl->setPolyType(type);
  if (flags & kClosed) pl->makeClosed();
  pl->setElevation(PointOf(r, 10).z);
  pl->setThickness(r.real(39));
  Check(r, pl->setNormal(Dir(ExtrusionOf(r))), "an invalid extrusion");
  double startWidth = r.real(40), endWidth = r.real(41);
  for (const auto& v : r.children) {
    if (v.integer(70) & kVertexFitMade) continue;
    AcGePoint3d p = PointOf(v, 10);
    // Vertices lie in the polyline's plane, at its elevation.
    AppendChild(v, *pl,
                new AcDb2dVertex(AcGePoint3d(p.x, p.y, 0.0), v.real(42), v.real(40, startWidth), v.real(41, endWidth)),
                "a vertex its polyline refuses");
  }
  return e;
}

EntityPtr ReadPolyface(const DxfRecord& r) {
  auto* mesh = new AcDbPolyFaceMesh;
  EntityPtr e(mesh);
  for (const auto& v : r.children) {
    long long flags = v.integer(70);
    if ((flags & kVertexFace) && (flags & kVertexMesh)) {
      AppendChild(v, *mesh, new AcDbPolyFaceMeshVertex(PointOf(v, 10)), "a vertex its mesh refuses (after the faces, or too many)");
    }
  }
  int vertices = mesh->numVertices();
  for (const auto& v : r.children) {
    long long flags = v.integer(70);
    if (!(flags & kVertexFace) || (flags & kVertexMesh)) continue;
    Adesk::Int16 index[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
      long long k = v.integer(71 + i);
      if (std::llabs(k) > vertices || (i == 0 && k == 0)) v.fail("has a face that names a vertex the mesh lacks");
      index[i] = static_cast<Adesk::Int16>(k);
    }
    auto* face = new AcDbFaceRecord(index[0], index[1], index[2], index[3]);
    Acad::ErrorStatus es = mesh->appendFaceRecord(face);
    if (es != Acad::eOk) {
      delete face;
      Check(v, es, "a face its mesh refuses");
    }
    face->close();
  }
  return e;
}

EntityPtr ReadPolygonMesh(const DxfRecord& r) {
  long long m = r.integer(71), n = r.integer(72), flags = r.integer(70);
  AcGePoint3dArray points;
  for (const auto& v : r.children) points.append(PointOf(v, 10));
  if (m < 1 || n < 1 || m > 32767 || n > 32767 || m * n != points.length())
    r.fail("has another number of vertices than its M and N sizes give");
  long long type = r.integer(75);
  AcDb::PolyMeshType meshType = type == 5   ? AcDb::kQuadSurfaceMesh
                                : type == 6 ? AcDb::kCubicSurfaceMesh
                                : type == 8 ? AcDb::kBezierSurfaceMesh
                                            : AcDb::kSimpleMesh;
  return EntityPtr(new AcDbPolygonMesh(meshType, static_cast<Adesk::Int16>(m), static_cast<Adesk::Int16>(n), points,
                                       (flags & kClosed) != 0, (flags & kMeshClosedN) != 0));
}

EntityPtr ReadPolyline(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  long long flags = r.integer(70);
  if (flags & kPolyfaceMesh) return ReadPolyface(r);
  if (flags & kPolygonMesh) return ReadPolygonMesh(r);
  if (flags & kPolyline3d) return Read3d(r);
  return Read2d(r);
}

EntityPtr ReadLwPolyline(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  auto* pl = new AcDbPolyline;
  EntityPtr e(pl);
  Check(r, pl->setNormal(Dir(ExtrusionOf(r))), "an invalid extrusion");
  pl->setElevation(r.real(38));
  pl->setThickness(r.real(39));
  pl->setClosed((r.integer(70) & 1) != 0);
  // Widths and bulges follow the vertex they belong to.
  struct Vertex {
    double x = 0, y = 0, bulge = 0, start = 0, end = 0;
  };
  std::vector<Vertex> vertices;
  for (const auto& g : r.groups) {
    if (g.code == 10) vertices.push_back({g.real});
    else if (vertices.empty()) continue;
    else if (g.code == 20) vertices.back().y = g.real;
    else if (g.code == 40) vertices.back().start = g.real;
    else if (g.code == 41) vertices.back().end = g.real;
    else if (g.code == 42) vertices.back().bulge = g.real;
  }
  if (r.has(90) && r.integer(90) != static_cast<long long>(vertices.size()))
    r.fail("has another number of vertices than it says");
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const Vertex& v = vertices[i];
    Check(r, pl->addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(v.x, v.y), v.bulge, v.start, v.end),
          "an invalid vertex");
  }
  if (const DxfGroup* w = r.find(43); w && w->real != 0.0) Check(r, pl->setConstantWidth(w->real), "an invalid width");
  return e;
}

const EntityReaderRegistration kPolyline("POLYLINE", ReadPolyline);
const EntityReaderRegistration kLwPolyline("LWPOLYLINE", ReadLwPolyline);

}  // namespace
}  // namespace arxhost::dxf
