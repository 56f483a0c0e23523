// Reading 3DFACE, SOLID (the filled 2D outline) and MESH.
#include "arx/dbFace.h"
#include "arx/dbSolid.h"
#include "arx/dbSubDMesh.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

EntityPtr ReadFace(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  long long hidden = r.integer(70);
  AcGePoint3d p2 = PointOf(r, 12);
  return EntityPtr(new AcDbFace(PointOf(r, 10), PointOf(r, 11), p2, PointOf(r, 13, p2), !(hidden & 1), !(hidden & 2),
                                !(hidden & 4), !(hidden & 8)));
}

EntityPtr ReadSolid(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  Ocs ocs(ExtrusionOf(r));
  AcGePoint3d p[4];
  for (int i = 0; i < 4; ++i) p[i] = P(ocs.toWorld(V3(PointOf(r, 10 + i, i == 3 ? PointOf(r, 12) : AcGePoint3d()))));
  auto* s = new AcDbSolid(p[0], p[1], p[2], p[3]);
  EntityPtr e(s);
  Check(r, s->setNormal(Dir(ocs.normal())), "an invalid extrusion");
  s->setThickness(r.real(39));
  return e;
}

// The groups of a MESH come in counted runs that reuse codes (90 for face
// lists, edges and overrides alike), so they are read in order.
EntityPtr ReadMesh(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  const auto& g = r.groups;
  std::size_t i = 0;
  AcGePoint3dArray vertices;
  AcArray<Adesk::Int32> faces;
  long long level = 0;
  // Reads count groups of one code from i on, giving each to take.
  auto run = [&](long long count, int code, auto take) {
    for (long long k = 0; k < count; ++k, ++i)
      if (i >= g.size() || g[i].code != code) r.fail("has fewer values than it counts");
      else take(g[i]);
  };
  while (i < g.size()) {
    const DxfGroup& group = g[i++];
    switch (group.code) {
      case 91: level = group.integer; break;
      case 92: {
        if (group.integer < 0) r.fail("has a negative vertex count");
        for (long long k = 0; k < group.integer; ++k) {
          if (i >= g.size() || g[i].code != 10) r.fail("has fewer vertices than it counts");
          AcGePoint3d p(g[i].real, 0, 0);
          ++i;
          if (i < g.size() && g[i].code == 20) p.y = g[i++].real;
          if (i < g.size() && g[i].code == 30) p.z = g[i++].real;
          vertices.append(p);
        }
        break;
      }
      case 93:
        if (group.integer < 0) r.fail("has a negative face list size");
        run(group.integer, 90, [&](const DxfGroup& v) { faces.append(static_cast<Adesk::Int32>(v.integer)); });
        break;
      case 94:
        if (group.integer < 0) r.fail("has a negative edge count");
        run(group.integer * 2, 90, [](const DxfGroup&) {});
        break;
      case 95:
        if (group.integer < 0) r.fail("has a negative crease count");
        run(group.integer, 140, [](const DxfGroup&) {});
        break;
      default: break;
    }
  }
  auto* mesh = new AcDbSubDMesh;
  EntityPtr e(mesh);
  if (level < 0 || level > 4) r.fail("has a subdivision level outside 0 to 4");
  Check(r, mesh->setSubDMesh(vertices, faces, static_cast<int>(level)), "faces that name vertices it lacks");
  return e;
}

const EntityReaderRegistration kFace("3DFACE", ReadFace);
const EntityReaderRegistration kSolid("SOLID", ReadSolid);
const EntityReaderRegistration kMesh("MESH", ReadMesh);

}  // namespace
}  // namespace arxhost::dxf
