// 3DFACE, SOLID (the filled 2D outline) and MESH (the subdivision mesh).
#include <map>
#include <utility>
#include <vector>

#include "arx/dbFace.h"
#include "arx/dbSolid.h"
#include "arx/dbSubDMesh.h"
#include "dxf/EntityGeometry.h"
#include "dxf/EntityWriter.h"

namespace arxhost::dxf {
namespace {

void WriteFace(EntityOut& e) {
  const auto& face = static_cast<const AcDbFace&>(e.entity);
  e.head("3DFACE");
  e.out.text(100, "AcDbFace");
  int hidden = 0;
  for (Adesk::UInt16 i = 0; i < 4; ++i) {
    AcGePoint3d p;
    face.getVertexAt(i, p);
    Point(e.out, 10 + i, p);
    Adesk::Boolean visible = true;
    if (face.isEdgeVisibleAt(i, visible) == Acad::eOk && !visible) hidden |= 1 << i;
  }
  if (hidden) e.out.integer(70, hidden);
}

void WriteSubDMesh(EntityOut& e) {
  const auto& mesh = static_cast<const AcDbSubDMesh&>(e.entity);
  AcGePoint3dArray vertices;
  AcArray<Adesk::Int32> faces;
  int level = 0;
  if (mesh.isEmpty() || mesh.getVertices(vertices) != Acad::eOk || mesh.getFaceArray(faces) != Acad::eOk) return;
  mesh.subDLevel(level);

  // Each face as its vertex count and indices; each edge once, in the order
  // the faces meet it, as readers of the format expect the edge list.
  std::vector<std::pair<int, int>> edges;
  std::map<std::pair<int, int>, bool> seen;
  for (int i = 0; i < faces.length();) {
    int n = faces[i];
    if (n <= 0 || i + n >= faces.length()) break;  // the database refuses such arrays
    for (int k = 0; k < n; ++k) {
      int a = faces[i + 1 + k], b = faces[i + 1 + (k + 1) % n];
      auto key = std::minmax(a, b);
      if (seen.emplace(key, true).second) edges.push_back({a, b});
    }
    i += n + 1;
  }

  e.head("MESH");
  e.out.text(100, "AcDbSubDMesh");
  e.out.integer(71, 2);
  e.out.integer(72, 0);
  e.out.integer(91, level);
  e.out.integer(92, vertices.length());
  for (int i = 0; i < vertices.length(); ++i) Point(e.out, 10, vertices[i]);
  e.out.integer(93, faces.length());
  for (int i = 0; i < faces.length(); ++i) e.out.integer(90, faces[i]);
  e.out.integer(94, static_cast<long long>(edges.size()));
  for (const auto& [a, b] : edges) {
    e.out.integer(90, a);
    e.out.integer(90, b);
  }
  e.out.integer(95, static_cast<long long>(edges.size()));
  for (size_t i = 0; i < edges.size(); ++i) e.out.real(140, 0.0);
  e.out.integer(90, 0);
}

void WriteSolid(EntityOut& e) {
  const auto& solid = static_cast<const AcDbSolid&>(e.entity);
  Ocs ocs(V(solid.normal()));
  e.head("SOLID");
  e.out.text(100, "AcDbTrace");
  for (Adesk::UInt16 i = 0; i < 4; ++i) {
    AcGePoint3d p;
    solid.getPointAt(i, p);
    Point(e.out, 10 + i, ocs.fromWorld(V(p)));
  }
  Thickness(e.out, solid.thickness());
  Extrusion(e.out, ocs);
}

const EntityWriterRegistration kSolid(L"AcDbSolid", WriteSolid);
const EntityWriterRegistration kFace(L"AcDbFace", WriteFace);
const EntityWriterRegistration kSubDMesh(L"AcDbSubDMesh", WriteSubDMesh);

}  // namespace
}  // namespace arxhost::dxf
