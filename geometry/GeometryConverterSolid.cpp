// GeometryConverter: 2D solids as meshes and patches, and the choice of the
// mesh conversion by the entity's class.
#include "GeometryConverter.h"
#include "VRNGeo90Ux64.h"

static void SolidCorners(AcDbSolid* entity, ON_3dPoint c[4], bool& triangle) {
  AcGePoint3d p[4];
  for (Adesk::UInt16 k = 0; k < 4; k++) entity->getPointAt(k, p[k]);
  triangle = p[2].isEqualTo(p[3], AcGeContext::gTol);
  for (int k = 0; k < 4; k++) c[k] = GeometryConverter::AcGePointToPoint(p[k]);
}

int GeometryConverter::AcDbSolidToMesh(AcDbSolid* entity, ON_Mesh& mesh) {
  ON_3dPoint c[4];
  bool triangle = false;
  SolidCorners(entity, c, triangle);
  ON_Mesh built;
  // A solid's outline runs 0, 1, 3, 2.
  if (triangle)
    VRNMesh::AddTriangle(built, c[0], c[1], c[2]);
  else
    VRNMesh::AddQuad(built, c[0], c[1], c[3], c[2]);
  mesh = built;
  return 1;
}

int GeometryConverter::AcDbSolidToSurface(AcDbSolid* entity, ON_NurbsSurface& surface) {
  ON_3dPoint c[4];
  bool triangle = false;
  SolidCorners(entity, c, triangle);
  if (triangle) return VRNNurbsSurface::CreateTriangle(surface, c[0], c[1], c[2]);
  return VRNNurbsSurface::CreateQuad(surface, c[0], c[1], c[3], c[2]);
}

int GeometryConverter::EntityToMesh(AcDbEntity* entity, ON_Mesh& mesh) {
  const CString name = entity->isA()->name();
  if (name == L"AcDbFace") return AcDbFaceToMesh(AcDbFace::cast(entity), mesh);
  if (name == L"AcDbSolid") return AcDbSolidToMesh(AcDbSolid::cast(entity), mesh);
  if (name == L"AcDbPolyFaceMesh") return PolyFaceMeshToMesh(AcDbPolyFaceMesh::cast(entity), mesh);
  if (name == L"AcDbPolygonMesh") return PolygonMeshToMesh(AcDbPolygonMesh::cast(entity), mesh);
  SetError(L"Entity is not a 3D Face, 2D Solid, PolyFace Mesh or Polygon Mesh");
  return 0;
}
