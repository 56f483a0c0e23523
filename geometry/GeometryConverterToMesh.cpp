// GeometryConverter: 3D faces, polyface meshes and polygon meshes of the
// drawing as openNURBS meshes, and block references as instance references.
#include <vector>

#include "GeometryConverter.h"
#include "GeometryConverterSubObjects.h"
#include "ErrorStatusText.h"
#include "VRNGeo90Ux64.h"

static const wchar_t* const kInvalidMesh = L"Invalid mesh";

// Culls what no face uses and what no face spans, then hands the mesh over
// when what is left is a mesh at all.
static int FinishMesh(ON_Mesh& built, ON_Mesh& mesh) {
  built.CullUnusedVertices();
  built.CullDegenerateFaces();
  built.Compact();
  if (!built.IsValid()) {
    GeometryConverter::SetError(kInvalidMesh);
    return 0;
  }
  mesh = built;
  return 1;
}

int GeometryConverter::AcDbFaceToMesh(AcDbFace* entity, ON_Mesh& mesh) {
  AcGePoint3d c[4];
  for (Adesk::UInt16 k = 0; k < 4; k++) entity->getVertexAt(k, c[k]);
  ON_Mesh built;
  if (c[2].isEqualTo(c[3], AcGeContext::gTol))
    VRNMesh::AddTriangle(built, AcGePointToPoint(c[0]), AcGePointToPoint(c[1]), AcGePointToPoint(c[2]));
  else
    VRNMesh::AddQuad(built, AcGePointToPoint(c[0]), AcGePointToPoint(c[1]), AcGePointToPoint(c[2]),
                     AcGePointToPoint(c[3]));
  mesh = built;
  return 1;
}

// A face-record number as a 0-based vertex index: the sign only hides the
// edge.
static int VertexIndex(Adesk::Int16 number) { return (number < 0 ? -number : number) - 1; }

int GeometryConverter::PolyFaceMeshToMesh(AcDbPolyFaceMesh* entity, ON_Mesh& mesh) {
  const int faceCount = entity->numFaces();
  const int vertexCount = entity->numVertices();
  ON_Mesh built(faceCount, vertexCount, false, false);
  int k = 0, f = 0;
  AcDbObjectIterator* it = entity->vertexIterator();
  for (; !it->done(); it->step(false, true), k++) {
    // The vertices come first, then the face records.
    if (k < vertexCount) {
      VisitOne<AcDbPolyFaceMeshVertex>(it, [&](AcDbPolyFaceMeshVertex* vertex) {
        built.SetVertex(k, AcGePointToPoint(vertex->position()));
      });
    } else {
      VisitOne<AcDbFaceRecord>(it, [&](AcDbFaceRecord* record) {
        Adesk::Int16 n[4] = {0, 0, 0, 0};
        for (Adesk::UInt16 i = 0; i < 4; i++) record->getVertexAt(i, n[i]);
        if (n[3] == 0)
          built.SetTriangle(f, VertexIndex(n[0]), VertexIndex(n[1]), VertexIndex(n[2]));
        else
          built.SetQuad(f, VertexIndex(n[0]), VertexIndex(n[1]), VertexIndex(n[2]), VertexIndex(n[3]));
        f++;
      });
    }
  }
  delete it;
  return FinishMesh(built, mesh);
}

int GeometryConverter::PolygonMeshToMesh(AcDbPolygonMesh* entity, ON_Mesh& mesh) {
  const int m = entity->mSize();
  const int n = entity->nSize();
  const bool mClosed = entity->isMClosed() == 1;
  const bool nClosed = entity->isNClosed() == 1;
  // The grid is M by N places, row by row; places the mesh does not fill
  // stay unset and a quad on one of them is refused. Vertices beyond the
  // grid are not read, and no grid larger than the vertices is made.
  std::vector<ON_3dPoint> grid;
  const size_t places = m > 0 && n > 0 ? static_cast<size_t>(m) * static_cast<size_t>(n) : 0;
  VisitSubObjects<AcDbPolygonMeshVertex>(entity->vertexIterator(), [&](AcDbPolygonMeshVertex* vertex) {
    if (grid.size() < places) grid.push_back(AcGePointToPoint(vertex->position()));
  });
  auto at = [&](int row, int col) -> ON_3dPoint {
    const size_t place = static_cast<size_t>(row) * static_cast<size_t>(n) + static_cast<size_t>(col);
    return place < grid.size() ? grid[place] : ON_UNSET_POINT;
  };

  ON_Mesh built;
  // A quad from place d touches d itself, so places past the vertices add none.
  for (int d = 0; d < static_cast<int>(grid.size()); d++) {
    const int row = d / n, col = d % n;
    if (col < n - 1 && row < m - 1)
      VRNMesh::AddQuad(built, at(row, col), at(row, col + 1), at(row + 1, col + 1), at(row + 1, col));
    if (col == n - 1 && nClosed && row < m - 1)
      VRNMesh::AddQuad(built, at(row, n - 1), at(row, 0), at(row + 1, 0), at(row + 1, n - 1));
    if (row == m - 1 && mClosed && col < n - 1)
      VRNMesh::AddQuad(built, at(m - 1, col), at(m - 1, col + 1), at(0, col + 1), at(0, col));
  }
  if (mClosed && nClosed && !grid.empty())
    VRNMesh::AddQuad(built, at(0, n - 1), at(m - 1, n - 1), at(m - 1, 0), at(0, 0));
  return FinishMesh(built, mesh);
}

int GeometryConverter::BlockReferenceToInstanceRef(AcDbBlockReference* entity, ON_InstanceRef& reference,
                                                   const ON_ClassArray<ON_InstanceDefinition>& definitions) {
  CString name;
  if (AcadUtils::GetBlockName(entity->blockTableRecord(), name) != Acad::eOk) return 0;
  reference.m_xform = MatrixToXform(entity->blockTransform());
  for (int i = 0; i < definitions.Count(); i++) {
    if (name.Compare(definitions[i].Name()) == 0) {
      reference.m_instance_definition_uuid = definitions[i].Uuid();
      return 1;
    }
  }
  return 0;
}

// What the user may pick or select for a mesh: 2D solids convert, but are
// not offered.
static void MeshClasses(CStringArray& classes) {
  classes.Add(_T("AcDbFace"));
  classes.Add(_T("AcDbPolyFaceMesh"));
  classes.Add(_T("AcDbPolygonMesh"));
}

// Opens the entity for read and converts it; an entity that cannot be
// opened converts to nothing, with the open's status as the reason.
static int ConvertById(AcDbObjectId id, ON_Mesh& mesh) {
  AcDbEntity* entity = NULL;
  Acad::ErrorStatus es = acdbOpenAcDbEntity(entity, id, AcDb::kForRead);
  if (es != Acad::eOk) {
    GeometryConverter::SetError(ErrorStatusText::GetText(es));
    return 0;
  }
  int result = GeometryConverter::EntityToMesh(entity, mesh);
  entity->close();
  return result;
}

int GeometryConverter::SelectMesh(const CString& prompt, int highlight, ON_Mesh& mesh, AcDbObjectId& id) {
  CStringArray classes;
  MeshClasses(classes);
  if (!AcadUtils::PickEntityOfClass(prompt, highlight, classes, id)) {
    SetError(AcadUtils::GetError());
    return 0;
  }
  return ConvertById(id, mesh);
}

int GeometryConverter::SelectMesh(const CString& prompt, int highlight, ON_Mesh& mesh) {
  AcDbObjectId id;
  return SelectMesh(prompt, highlight, mesh, id);
}

int GeometryConverter::SelectMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes,
                                    AcDbObjectIdArray& ids) {
  CStringArray classes;
  MeshClasses(classes);
  if (!AcadUtils::SelectEntitiesOfClass(prompt, highlight, classes, ids)) {
    SetError(AcadUtils::GetError());
    return 0;
  }
  meshes.Empty();
  ON_Mesh mesh;
  for (int i = 0; i < ids.length(); i++) {
    if (ConvertById(ids[i], mesh) == 1) meshes.Append(mesh);
  }
  if (meshes.Count() == 0) {
    SetError(_T("Meshes not selected"));
    return 0;
  }
  return 1;
}

int GeometryConverter::SelectMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes) {
  AcDbObjectIdArray ids;
  return SelectMeshes(prompt, highlight, meshes, ids);
}
