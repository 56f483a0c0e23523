// POLYLINE in its 3D, polyface-mesh and polygon-mesh forms: the polyline
// itself, one VERTEX per vertex (and per face record), then SEQEND.
#include "arx/db3dPolyline.h"
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

const EntityWriterRegistration kWrite3dPolyline(L"AcDb3dPolyline", Write3dPolyline);
const EntityWriterRegistration kWritePolyFaceMesh(L"AcDbPolyFaceMesh", WritePolyFaceMesh);
const EntityWriterRegistration kWritePolygonMesh(L"AcDbPolygonMesh", WritePolygonMesh);

}  // namespace
}  // namespace arxhost::dxf
