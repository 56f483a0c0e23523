// The handlers of points, curves, meshes, B-reps and block instances.
#include <cerrno>

#include "AcadUtils.h"
#include "ErrorStatusText.h"
#include "GeometryConverter.h"
#include "Kelvrash90Ux64.h"
#include "ThreeDmImporter.h"

namespace {

// Curves straighter or rounder than this are drawn as lines and arcs.
constexpr double kCurveTolerance = 1e-12;
// Polyface records address their vertices with 16-bit numbers.
constexpr int kPolyFaceLimit = 32767;

AcGePoint3d ToAcGe(const ON_3dPoint& p) { return GeometryConverter::PointToAcGePoint(p); }

}  // namespace

int ThreeDmImporter::ImportPoint(const ON_Point& point, const CString& layer, const AcCmColor& color) {
  PlaceEntity(new AcDbPoint(ToAcGe(point.point)), layer, color);
  return 1;
}

int ThreeDmImporter::ImportPointCloud(const ON_PointCloud& cloud, const CString& layer, const AcCmColor& color) {
  for (int i = 0; i < cloud.m_P.Count(); ++i) PlaceEntity(new AcDbPoint(ToAcGe(cloud.m_P[i])), layer, color);
  return 1;
}

int ThreeDmImporter::ImportLineCurve(const ON_LineCurve& curve, const CString& layer, const AcCmColor& color) {
  auto* line = new AcDbLine;
  GeometryConverter::LineToAcDbLine(curve.m_line, line);
  PlaceEntity(line, layer, color);
  return 1;
}

int ThreeDmImporter::ImportPolylineCurve(const ON_PolylineCurve& curve, const CString& layer,
                                         const AcCmColor& color) {
  auto* polyline = new AcDb3dPolyline;
  GeometryConverter::PolylineToVertices(curve.m_pline, polyline);
  PlaceEntity(polyline, layer, color);
  return 1;
}

int ThreeDmImporter::ImportArcCurve(const ON_ArcCurve& curve, const CString& layer, const AcCmColor& color) {
  const ON_Arc arc = curve.m_arc;
  if (arc.IsCircle()) {
    PlaceEntity(new AcDbCircle(ToAcGe(arc.Center()), GeometryConverter::VectorToAcGeVector(arc.Normal()),
                               arc.Radius()),
                layer, color);
  } else {
    auto* entity = new AcDbArc;
    GeometryConverter::ArcToAcDbArc(arc, entity);
    PlaceEntity(entity, layer, color);
  }
  return 1;
}

int ThreeDmImporter::ImportNurbsCurve(const ON_NurbsCurve& curve, const CString& layer, const AcCmColor& color) {
  if (curve.IsLinear(kCurveTolerance)) {
    ON_LineCurve line(curve.PointAtStart(), curve.PointAtEnd());
    return ImportLineCurve(line, layer, color);
  }
  ON_Arc arc;
  if (curve.IsArc(nullptr, &arc, kCurveTolerance)) {
    ON_ArcCurve arcCurve(arc);
    return ImportArcCurve(arcCurve, layer, color);
  }
  ON_3dPointArray points;
  if (curve.IsPolyline(&points) >= 2) {
    ON_PolylineCurve polyline(points);
    return ImportPolylineCurve(polyline, layer, color);
  }
  auto* spline = new AcDbSpline;
  if (!GeometryConverter::NurbsCurveToSpline(curve, spline)) {
    delete spline;  // never reached the database
    return 0;
  }
  PlaceEntity(spline, layer, color);
  return 1;
}

int ThreeDmImporter::ImportPolyCurve(const ON_PolyCurve& curve, const CString& layer, const AcCmColor& color) {
  // A poly-curve counts as imported only when something of it was drawn.
  ON_NurbsCurve nurbs;
  int drawn = 0;
  if (m_polyCurveMode == 1) {
    for (int i = 0; i < curve.Count(); ++i) {
      const ON_Curve* segment = curve.SegmentCurve(i);
      // A segment without a NURBS form is left out rather than drawn as
      // whatever the previous segment left in the curve.
      if (segment && segment->NurbsCurve(&nurbs, 0.0, nullptr) && ImportNurbsCurve(nurbs, layer, color) == 1) ++drawn;
    }
  } else if (curve.NurbsCurve(&nurbs, 0.0, nullptr) && ImportNurbsCurve(nurbs, layer, color) == 1) {
    ++drawn;
  }
  return drawn > 0 ? 1 : 0;
}

int ThreeDmImporter::ImportMesh(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color) {
  if (m_meshMode == 0 && mesh.VertexCount() < kPolyFaceLimit && mesh.FaceCount() < kPolyFaceLimit) {
    auto* polyface = new AcDbPolyFaceMesh;
    if (!GeometryConverter::MeshToPolyFaceMesh(mesh, polyface)) {
      delete polyface;
      return 0;
    }
    PlaceEntity(polyface, layer, color);
    return 1;
  }

  const ON_MeshTopology& topology = mesh.Topology();
  const int vertexCount = mesh.VertexCount();
  for (int i = 0; i < mesh.FaceCount(); ++i) {
    const ON_MeshFace& face = mesh.m_F[i];
    bool inRange = true;
    for (int k = 0; k < 4; ++k) inRange = inRange && face.vi[k] >= 0 && face.vi[k] < vertexCount;
    if (!inRange) continue;  // a damaged face is left out, not read past the vertex list
    AcGePoint3d corner[4];
    for (int k = 0; k < 4; ++k) corner[k] = ToAcGe(ON_3dPoint(topology.TopVertexPoint(topology.m_topv_map[face.vi[k]])));
    AcDbFace* entity = face.IsTriangle() ? new AcDbFace(corner[0], corner[1], corner[2], true, true, true, true)
                                         : new AcDbFace(corner[0], corner[1], corner[2], corner[3], true, true,
                                                        true, true);
    PlaceEntity(entity, layer, color);
  }
  return 1;
}

int ThreeDmImporter::ImportBrep(const ON_Brep& brep, const CString& layer, const AcCmColor& color) {
  const wchar_t* temp = _wgetenv(L"temp");
  if (!temp) {
    SetError(L"The folder for temporary files is not set: the environment variable TEMP is missing.");
    return 0;
  }
  CString path;
  path.Format(L"%s\\VRNTemp.sat", temp);
  errno = 0;
  if (!KelvAcis::ConvertBrepToSAT(brep, path, 1, L"")) {
    const int cause = errno;
    SetError(KelvAcis::GetError());
    // The object pass only counts the B-rep as ignored; a full disk (or a
    // file-size limit) would go on failing every B-rep unseen: say it.
    if (cause == ENOSPC || cause == EDQUOT || cause == EFBIG)
      acutPrintf(L"Failure [%s]\n", KelvAcis::GetError().GetString());
    return 0;
  }
  int result = ImportSatSolids(path, layer, color);
  _wunlink(path);
  return result;
}

// The solids go where every other entity of the object goes: into the block
// definition being filled (in model space a member would stand once at the
// block's origin and be missing from every reference), and with the object's
// layer and colour, as the curves and texts of the same file get them.
int ThreeDmImporter::ImportSatSolids(const CString& path, const CString& layer, const AcCmColor& color) {
  AcArray<void*> entities;
  Acad::ErrorStatus es = AcDbBody::acisIn(path, entities);
  if (es != Acad::eOk) {
    AcadUtils::SetError(ErrorStatusText::GetText(es));
    return 0;
  }
  for (int i = 0; i < entities.length(); ++i) {
    auto* entity = static_cast<AcDbEntity*>(entities[i]);
    ApplyImportTransform(entity);
    // A layer the drawing cannot give it does not cost the solid.
    if (AcadUtils::AddEntity(entity, layer, color, m_blockRecord) == Acad::eOk ||
        AcadUtils::AppendEntity(entity, m_blockRecord) == Acad::eOk) {
      entity->close();
    } else {
      delete entity;  // never joined the drawing: still ours
    }
  }
  if (entities.length() == 0) {
    AcadUtils::SetError(L"No entites imported");
    return 0;
  }
  return 1;
}

int ThreeDmImporter::ImportInstanceRef(const ON_InstanceRef& reference, const CString& layer,
                                       const AcCmColor& color) {
  ON_InstanceDefinition definition;
  Kelv3dm::ReadGetInstanceDefinition(reference.m_instance_definition_uuid, definition);
  ON_Xform x = reference.m_xform;

  if (m_blockMode == 1) {
    if (m_explodeDepth >= kMaxExplodeDepth) return 0;  // a definition that contains itself
    ++m_explodeDepth;
    const ON_Xform before = m_xform;
    m_xform = m_xform * x;
    for (int m = 0; m < definition.m_object_uuid.Count(); ++m) {
      int index = Kelv3dm::ReadGetObjectIndex(definition.m_object_uuid[m]);
      ImportObject(Kelv3dm::ReadGetObject(index), layer, color);
    }
    // Going back through the inverse would leave rounding behind (and fail
    // for a singular transform): restore the transform as it was.
    m_xform = before;
    --m_explodeDepth;
    return 1;
  }

  CString name = definition.Name();
  int i = AcadUtils::FindString(m_blockIndex, name);
  if (i < 0) {
    acutPrintf(L"Failure [Unable to locate block '%s']\n", name.GetString());
    return 0;
  }
  auto* blockReference = new AcDbBlockReference;
  blockReference->setBlockTableRecord(m_blockIds[i]);
  blockReference->setBlockTransform(GeometryConverter::XformToMatrix(x));
  AcadUtils::AddEntity(blockReference, layer, color, m_blockRecord);
  blockReference->close();
  return 1;
}
