// GeometryConverter: one openNURBS mesh as a polyface mesh, a subdivision
// mesh, 3D faces, lines along its edges or points at its vertices.
#include "ErrorStatusText.h"
#include "GeometryConverter.h"

static AcGePoint3d MeshPoint(const ON_3fPoint& point) { return AcGePoint3d(point.x, point.y, point.z); }

// A face whose corners all name vertices of the mesh; the readers that make
// meshes give no other, but a face outside would be read past the vertices.
// Face records hold vertex numbers from 1 to 32767.
static bool FitsFaceRecord(const ON_MeshFace& face) {
  for (int k = 0; k < 4; k++)
    if (face.vi[k] < 0 || face.vi[k] >= 32767) return false;
  return true;
}

static bool FaceInRange(const ON_MeshFace& face, int vertexCount) {
  for (int k = 0; k < 4; k++)
    if (face.vi[k] < 0 || face.vi[k] >= vertexCount) return false;
  return true;
}

int GeometryConverter::MeshToPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* polyface, int* status) {
  Acad::ErrorStatus es = Acad::eOk;
  for (int i = 0; i < mesh.VertexCount() && es == Acad::eOk; i++)
    es = AcadUtils::AppendPolyFaceVertex(polyface, MeshPoint(mesh.m_V[i]));
  for (int j = 0; j < mesh.FaceCount() && es == Acad::eOk; j++) {
    const ON_MeshFace& face = mesh.m_F[j];
    if (!FitsFaceRecord(face)) {
      // A number the record cannot hold would come back as another vertex
      // (or, negative, as a hidden edge): refused as the drawing refuses a
      // number beyond its vertices.
      es = Acad::eInvalidFaceVertexIndex;
      break;
    }
    const int fourth = face.vi[2] == face.vi[3] ? 0 : face.vi[3] + 1;
    es = AcadUtils::AppendFaceRecord(polyface, face.vi[0] + 1, face.vi[1] + 1, face.vi[2] + 1, fourth);
  }
  if (status != NULL) *status = es;
  if (es != Acad::eOk) {
    SetError(ErrorStatusText::GetText(es));
    return 0;
  }
  return 1;
}

int GeometryConverter::MeshToPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* polyface) {
  int status = 0;
  return MeshToPolyFaceMesh(mesh, polyface, &status);
}

int GeometryConverter::FillSubDMesh(const ON_Mesh& mesh, AcDbSubDMesh* subDMesh) {
  AcGePoint3dArray vertices;
  for (int i = 0; i < mesh.VertexCount(); i++) vertices.append(MeshPoint(mesh.m_V[i]));
  AcArray<Adesk::Int32> faces;
  for (int j = 0; j < mesh.FaceCount(); j++) {
    const ON_MeshFace& face = mesh.m_F[j];
    const int corners = face.vi[2] == face.vi[3] ? 3 : 4;
    faces.append(corners);
    for (int k = 0; k < corners; k++) faces.append(face.vi[k]);
  }
  subDMesh->setSubDMesh(vertices, faces, 0);
  return 1;
}

int GeometryConverter::AddSubDMesh(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color) {
  AcDbSubDMesh* subDMesh = new AcDbSubDMesh();
  FillSubDMesh(mesh, subDMesh);
  AddAndClose(subDMesh, layer, color);
  return 1;
}

int GeometryConverter::MeshToSubDMesh(const ON_Mesh& mesh, int unused, const CString& layer,
                                      const AcCmColor& color) {
  return AddSubDMesh(mesh, layer, color);
}

int GeometryConverter::MeshToFaces(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color) {
  for (int j = 0; j < mesh.FaceCount(); j++) {
    const ON_MeshFace& face = mesh.m_F[j];
    if (!FaceInRange(face, mesh.VertexCount())) continue;
    AcDbFace* entity = new AcDbFace();
    for (Adesk::UInt16 k = 0; k < 4; k++) entity->setVertexAt(k, MeshPoint(mesh.m_V[face.vi[k]]));
    AddAndClose(entity, layer, color);
  }
  return 1;
}

int GeometryConverter::MeshToLines(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color) {
  const ON_MeshTopology& topology = mesh.Topology();
  for (int e = 0; e < topology.m_tope.Count(); e++) {
    const ON_MeshTopologyEdge& edge = topology.m_tope[e];
    AcDbLine* line = new AcDbLine(MeshPoint(topology.TopVertexPoint(edge.m_topvi[0])),
                                  MeshPoint(topology.TopVertexPoint(edge.m_topvi[1])));
    AddAndClose(line, layer, color);
  }
  return 1;
}

int GeometryConverter::MeshToPoints(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color) {
  const ON_MeshTopology& topology = mesh.Topology();
  for (int v = 0; v < topology.TopVertexCount(); v++) {
    AcDbPoint* point = new AcDbPoint(MeshPoint(topology.TopVertexPoint(v)));
    AddAndClose(point, layer, color);
  }
  return 1;
}

int GeometryConverter::MeshesToFaces(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                                     const AcCmColor& color) {
  for (int i = 0; i < meshes.Count(); i++) MeshToFaces(meshes[i], layer, color);
  return 1;
}

int GeometryConverter::MeshesToLines(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                                     const AcCmColor& color) {
  for (int i = 0; i < meshes.Count(); i++) MeshToLines(meshes[i], layer, color);
  return 1;
}

int GeometryConverter::MeshesToPoints(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                                      const AcCmColor& color) {
  for (int i = 0; i < meshes.Count(); i++) MeshToPoints(meshes[i], layer, color);
  return 1;
}

int GeometryConverter::MeshesToSubDMeshes(const ON_ClassArray<ON_Mesh>& meshes, int unused, const CString& layer,
                                          const AcCmColor& color) {
  for (int i = 0; i < meshes.Count(); i++) AddSubDMesh(meshes[i], layer, color);
  return 1;
}
