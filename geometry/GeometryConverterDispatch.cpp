// GeometryConverter: one drawing entity into new openNURBS objects, chosen
// by the entity's class; multilines and hatches by their exploded lines,
// solids, bodies and regions by their exploded pieces.
#include "GeometryConverter.h"

// Makes a T, fills it with the conversion and hands it to the array; a T
// the conversion refused is destroyed.
template <class T, class Convert>
static int AppendConverted(ON_SimpleArray<ON_Object*>& objects, Convert convert) {
  T* object = new T();
  if (convert(*object) == 0) {
    delete object;
    return 0;
  }
  objects.Append(object);
  return 1;
}

typedef int (*LineSource)(AcDbEntity*, ON_ClassArray<ON_LineCurve>&);

static int AppendLines(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects, LineSource source) {
  ON_ClassArray<ON_LineCurve> lines;
  if (source(entity, lines) == 0) return 0;
  for (int i = 0; i < lines.Count(); i++) objects.Append(new ON_LineCurve(lines[i]));
  return 1;
}

int GeometryConverter::EntityToObjects(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects,
                                       const ON_ClassArray<ON_InstanceDefinition>& definitions) {
  const CString name = entity->isA()->name();
  if (name == L"AcDbPoint")
    return AppendConverted<ON_Point>(objects, [&](ON_Point& o) { return AcDbPointToPoint(AcDbPoint::cast(entity), o); });
  if (name == L"AcDbLine")
    return AppendConverted<ON_LineCurve>(objects,
                                         [&](ON_LineCurve& o) { return AcDbLineToCurve(AcDbLine::cast(entity), o); });
  if (name == L"AcDbRay")
    return AppendConverted<ON_LineCurve>(objects,
                                         [&](ON_LineCurve& o) { return AcDbRayToCurve(AcDbRay::cast(entity), o); });
  if (name == L"AcDbXline")
    return AppendConverted<ON_LineCurve>(objects,
                                         [&](ON_LineCurve& o) { return AcDbXlineToCurve(AcDbXline::cast(entity), o); });
  if (name == L"AcDbMline") return AppendLines(entity, objects, MlineToLines);
  if (name == L"AcDbCircle")
    return AppendConverted<ON_ArcCurve>(objects,
                                        [&](ON_ArcCurve& o) { return AcDbCircleToCurve(AcDbCircle::cast(entity), o); });
  if (name == L"AcDbArc")
    return AppendConverted<ON_ArcCurve>(objects, [&](ON_ArcCurve& o) { return AcDbArcToCurve(AcDbArc::cast(entity), o); });
  if (name == L"AcDbEllipse")
    return AppendConverted<ON_NurbsCurve>(
        objects, [&](ON_NurbsCurve& o) { return AcDbEllipseToCurve(AcDbEllipse::cast(entity), o); });
  if (name == L"AcDbPolyline")
    return AppendConverted<ON_PolylineCurve>(
        objects, [&](ON_PolylineCurve& o) { return AcDbPolylineToPolylineCurve(AcDbPolyline::cast(entity), o); });
  if (name == L"AcDb3dPolyline")
    return AppendConverted<ON_PolylineCurve>(
        objects, [&](ON_PolylineCurve& o) { return AcDb3dPolylineToPolylineCurve(AcDb3dPolyline::cast(entity), o); });
  if (name == L"AcDbSpline")
    return AppendConverted<ON_NurbsCurve>(
        objects, [&](ON_NurbsCurve& o) { return SplineToNurbsCurve(AcDbSpline::cast(entity), o); });
  if (name == L"AcDbFace")
    return AppendConverted<ON_Mesh>(objects, [&](ON_Mesh& o) { return AcDbFaceToMesh(AcDbFace::cast(entity), o); });
  if (name == L"AcDbPolyFaceMesh")
    return AppendConverted<ON_Mesh>(
        objects, [&](ON_Mesh& o) { return PolyFaceMeshToMesh(AcDbPolyFaceMesh::cast(entity), o); });
  if (name == L"AcDbPolygonMesh")
    return AppendConverted<ON_Mesh>(
        objects, [&](ON_Mesh& o) { return PolygonMeshToMesh(AcDbPolygonMesh::cast(entity), o); });
  if (name == L"AcDbSolid")
    return AppendConverted<ON_NurbsSurface>(
        objects, [&](ON_NurbsSurface& o) { return AcDbSolidToSurface(AcDbSolid::cast(entity), o); });
  if (name == L"AcDbHatch") return AppendLines(entity, objects, HatchToLines);
  if (name == L"AcDb3dSolid") return Explode3dSolid(entity, objects);
  if (name == L"AcDbBody") return ExplodeBody(entity, objects);
  if (name == L"AcDbRegion") return ExplodeRegion(entity, objects);
  if (name == L"AcDbBlockReference")
    return AppendConverted<ON_InstanceRef>(objects, [&](ON_InstanceRef& o) {
      return BlockReferenceToInstanceRef(AcDbBlockReference::cast(entity), o, definitions);
    });
  if (name == L"AcDbText") {
    objects.Append(new ON_TextEntity2());
    return 1;
  }
  return 0;
}

// Explodes the entity and converts every piece through the dispatcher; the
// pieces are in no drawing and go when they have been read.
static int ExplodeIntoObjects(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects) {
  AcDbVoidPtrArray pieces;
  if (entity->explode(pieces) != Acad::eOk) {
    for (int i = 0; i < pieces.length(); i++) delete static_cast<AcDbEntity*>(pieces[i]);
    return 0;
  }
  ON_ClassArray<ON_InstanceDefinition> none;
  for (int i = 0; i < pieces.length(); i++) {
    AcDbEntity* piece = static_cast<AcDbEntity*>(pieces[i]);
    if (piece == NULL) continue;
    GeometryConverter::EntityToObjects(piece, objects, none);
    delete piece;
  }
  return 1;
}

int GeometryConverter::Explode3dSolid(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects) {
  return ExplodeIntoObjects(entity, objects);
}

int GeometryConverter::ExplodeBody(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects) {
  return ExplodeIntoObjects(entity, objects);
}

int GeometryConverter::ExplodeRegion(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects) {
  return ExplodeIntoObjects(entity, objects);
}

// The lines among the exploded pieces. The pieces are in no drawing, so
// they are deleted here once read (closing would leave them to no one);
// pieces that are not lines are passed over.
static int ExplodeIntoLines(AcDbEntity* entity, ON_ClassArray<ON_LineCurve>& lines) {
  AcDbVoidPtrArray pieces;
  if (entity->explode(pieces) != Acad::eOk) {
    for (int i = 0; i < pieces.length(); i++) delete static_cast<AcDbEntity*>(pieces[i]);
    return 0;
  }
  for (int i = 0; i < pieces.length(); i++) {
    AcDbEntity* piece = static_cast<AcDbEntity*>(pieces[i]);
    if (piece == NULL) continue;
    AcDbLine* line = AcDbLine::cast(piece);
    if (line != NULL)
      lines.Append(ON_LineCurve(GeometryConverter::AcGePointToPoint(line->startPoint()),
                                GeometryConverter::AcGePointToPoint(line->endPoint())));
    delete piece;
  }
  return 1;
}

int GeometryConverter::MlineToLines(AcDbEntity* entity, ON_ClassArray<ON_LineCurve>& lines) {
  if (ExplodeIntoLines(entity, lines) == 0) {
    SetError(L"Unable to explode MLINE object");
    return 0;
  }
  return 1;
}

int GeometryConverter::HatchToLines(AcDbEntity* entity, ON_ClassArray<ON_LineCurve>& lines) {
  return ExplodeIntoLines(entity, lines);
}
