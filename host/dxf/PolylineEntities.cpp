// POLYLINE in its 2D, 3D, polyface-mesh and polygon-mesh forms (the
// polyline itself, one VERTEX per vertex and per face record, then SEQEND),
// and LWPOLYLINE.
#include <vector>

#include "arx/db2dPolyline.h"
#include "arx/db3dPolyline.h"
#include "arx/dbPolyline.h"
#include "arx/dbPolyFaceMesh.h"
#include "arx/dbPolygonMesh.h"
#include "arx/dbVertex.h"
#include "dxf/EntityGeometry.h"
#include "dxf/EntityWriter.h"

namespace arxhost::dxf {
namespace {

// Polyline flags (group 70) and vertex flags.
constexpr int kClosed = 1, kPolyline3d = 8, kPolygonMesh = 16, kMeshClosedN = 32, kPolyfaceMesh = 64;
constexpr int kVertex3d = 32, kVertexMesh = 64, kVertexFace = 128;

void PolylineHead(EntityOut& e, std::string_view subclass, int flags) {
  e.head("POLYLINE");
  e.out.text(100, subclass);
  e.out.integer(66, 1);
  e.out.point(10, 0.0, 0.0, 0.0);
  e.out.integer(70, flags);
}

void Vertex(EntityOut& e, std::string_view subclass, const AcGePoint3d& p, int flags) {
  e.childHead("VERTEX", e.ctx.handles.fresh());
  e.out.text(100, "AcDbVertex");
  e.out.text(100, subclass);
  Point(e.out, 10, p);
  e.out.integer(70, flags);
}

void SeqEnd(EntityOut& e) { e.childHead("SEQEND", e.ctx.handles.fresh()); }

void Write3dPolyline(EntityOut& e) {
  const auto& pl = static_cast<const AcDb3dPolyline&>(e.entity);
  int smooth = pl.polyType() == AcDb::k3dQuadSplinePoly ? 5 : pl.polyType() == AcDb::k3dCubicSplinePoly ? 6 : 0;
  PolylineHead(e, "AcDb3dPolyline", kPolyline3d | (pl.isClosed() ? kClosed : 0) | (smooth ? 4 : 0));
  if (smooth) e.out.integer(75, smooth);
  for (const auto& p : pl.points()) Vertex(e, "AcDb3dPolylineVertex", p, kVertex3d);
  SeqEnd(e);
}

void WritePolyFaceMesh(EntityOut& e) {
  const auto& mesh = static_cast<const AcDbPolyFaceMesh&>(e.entity);
  auto points = mesh.vertexPositions();
  auto faces = mesh.faceRecords();
  PolylineHead(e, "AcDbPolyFaceMesh", kPolyfaceMesh);
  e.out.integer(71, static_cast<long long>(points.size()));
  e.out.integer(72, static_cast<long long>(faces.size()));
  for (const auto& p : points) Vertex(e, "AcDbPolyFaceMeshVertex", p, kVertexMesh | kVertexFace);
  for (const auto& face : faces) {
    e.childHead("VERTEX", e.ctx.handles.fresh());
    e.out.text(100, "AcDbFaceRecord");
    e.out.point(10, 0.0, 0.0, 0.0);
    e.out.integer(70, kVertexFace);
    for (int i = 0; i < 4; ++i)
      if (face[i] != 0 || i == 0) e.out.integer(71 + i, face[i]);
  }
  SeqEnd(e);
}

void WritePolygonMesh(EntityOut& e) {
  const auto& mesh = static_cast<const AcDbPolygonMesh&>(e.entity);
  int flags = kPolygonMesh | (mesh.isMClosed() ? kClosed : 0) | (mesh.isNClosed() ? kMeshClosedN : 0);
  if (mesh.polyMeshType() != AcDb::kSimpleMesh) flags |= 4;  // smoothed
  PolylineHead(e, "AcDbPolygonMesh", flags);
  e.out.integer(71, mesh.mSize());
  e.out.integer(72, mesh.nSize());
  e.out.integer(75, static_cast<int>(mesh.polyMeshType()));
  for (const auto& p : mesh.points()) Vertex(e, "AcDbPolygonMeshVertex", p, kVertexMesh);
  SeqEnd(e);
}

// Points of 2D polylines are in their OCS; the database's points are
// taken in world coordinates and brought into it.
void Write2dPolyline(EntityOut& e) {
  const auto& pl = static_cast<const AcDb2dPolyline&>(e.entity);
  Ocs ocs(V(pl.normal()));
  int smooth = pl.polyType() == AcDb::k2dQuadSplinePoly ? 5 : pl.polyType() == AcDb::k2dCubicSplinePoly ? 6 : 0;
  int flags = (pl.isClosed() ? kClosed : 0) | (pl.polyType() == AcDb::k2dFitCurvePoly ? 2 : 0) | (smooth ? 4 : 0);
  e.head("POLYLINE");
  e.out.text(100, "AcDb2dPolyline");
  e.out.integer(66, 1);
  e.out.point(10, 0.0, 0.0, pl.elevation());
  Thickness(e.out, pl.thickness());
  e.out.integer(70, flags);
  if (pl.defaultStartWidth() != 0.0) e.out.real(40, pl.defaultStartWidth());
  if (pl.defaultEndWidth() != 0.0) e.out.real(41, pl.defaultEndWidth());
  if (smooth) e.out.integer(75, smooth);
  Extrusion(e.out, ocs);
  const auto& owned = pl.vertices();
  for (size_t i = 0; i < owned.size(); ++i) {
    auto* v = AcDb2dVertex::cast(owned.objectAt(i));
    if (!v || v->isErased()) continue;
    e.childHead("VERTEX", e.ctx.handles.fresh());
    e.out.text(100, "AcDbVertex");
    e.out.text(100, "AcDb2dVertex");
    Point(e.out, 10, ocs.fromWorld(V(pl.vertexPosition(*v))));
    if (v->startWidth() != 0.0) e.out.real(40, v->startWidth());
    if (v->endWidth() != 0.0) e.out.real(41, v->endWidth());
    if (v->bulge() != 0.0) e.out.real(42, v->bulge());
    e.out.integer(70, 0);
  }
  SeqEnd(e);
}

void WriteLwPolyline(EntityOut& e) {
  const auto& pl = static_cast<const AcDbPolyline&>(e.entity);
  Ocs ocs(V(pl.normal()));
  unsigned int n = pl.numVerts();
  std::vector<Vec3> points;
  for (unsigned int i = 0; i < n; ++i) {
    AcGePoint3d p;
    if (pl.getPointAt(i, p) == Acad::eOk) points.push_back(ocs.fromWorld(V(p)));
  }
  if (points.size() != n) return;
  double constant = 0.0;
  bool hasConstant = pl.getConstantWidth(constant) == Acad::eOk;
  e.head("LWPOLYLINE");
  e.out.text(100, "AcDbPolyline");
  e.out.integer(90, n);
  e.out.integer(70, pl.isClosed() ? 1 : 0);
  if (hasConstant && constant != 0.0) e.out.real(43, constant);
  double elevation = n > 0 ? points[0][2] : pl.elevation();
  if (elevation != 0.0) e.out.real(38, elevation);
  Thickness(e.out, pl.thickness());
  for (unsigned int i = 0; i < n; ++i) {
    e.out.point2(10, points[i][0], points[i][1]);
    double start = 0, end = 0, bulge = 0;
    if (!hasConstant && pl.getWidthsAt(i, start, end) == Acad::eOk && (start != 0.0 || end != 0.0)) {
      e.out.real(40, start);
      e.out.real(41, end);
    }
    if (pl.getBulgeAt(i, bulge) == Acad::eOk && bulge != 0.0) e.out.real(42, bulge);
  }
  Extrusion(e.out, ocs);
}

const EntityWriterRegistration kWrite2dPolyline(L"AcDb2dPolyline", Write2dPolyline);
const EntityWriterRegistration kWriteLwPolyline(L"AcDbPolyline", WriteLwPolyline);
const EntityWriterRegistration kWrite3dPolyline(L"AcDb3dPolyline", Write3dPolyline);
const EntityWriterRegistration kWritePolyFaceMesh(L"AcDbPolyFaceMesh", WritePolyFaceMesh);
const EntityWriterRegistration kWritePolygonMesh(L"AcDbPolygonMesh", WritePolygonMesh);

}  // namespace
}  // namespace arxhost::dxf
