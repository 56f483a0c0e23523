#pragma once
// GeometryConverter: static conversions between openNURBS geometry and
// drawing entities. Each group of members lives in its own source file
// (GeometryConverter*.cpp).
#include "AcadUtils.h"
#include "opennurbs.h"

class AcDb2dPolyline;
class AcDbBlockReference;
class AcDbPolyline;
class AcDbRay;
class AcDbSolid;
class AcDbXline;

class GeometryConverter : public AcadUtils {
 public:
  GeometryConverter() : AcadUtils() {}
  ~GeometryConverter() {}

  static CString GetError();
  static void SetError(const CString& text);

  // --- Values, colours and fillers (GeometryConverter.cpp) ---
  static AcGePoint3d PointToAcGePoint(const ON_3dPoint& point);
  static AcGeVector3d VectorToAcGeVector(const ON_3dVector& vector);
  static AcGeMatrix3d XformToMatrix(const ON_Xform& xform);
  static AcCmColor AttributesToColor(const ON_3dmObjectAttributes& attributes);
  static ON_3dPoint AcGePointToPoint(const AcGePoint3d& point);
  static ON_3dVector AcGeVectorToVector(const AcGeVector3d& vector);
  static ON_Xform MatrixToXform(const AcGeMatrix3d& matrix);
  static int PointToAcDbPoint(const ON_Point& point, AcDbPoint* entity);
  static int LineToAcDbLine(const ON_Line& line, AcDbLine* entity);
  static int ArcToAcDbArc(const ON_Arc& arc, AcDbArc* entity);
  static int CircleToAcDbCircle(const ON_Circle& circle, AcDbCircle* entity);

  // --- Mesh outputs (GeometryConverterMesh.cpp) ---
  static int MeshToPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* polyface, int* status);
  static int MeshToPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* polyface);
  static int MeshToSubDMesh(const ON_Mesh& mesh, int unused, const CString& layer, const AcCmColor& color);
  static int AddSubDMesh(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color);
  static int FillSubDMesh(const ON_Mesh& mesh, AcDbSubDMesh* subDMesh);
  static int MeshToFaces(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color);
  static int MeshToLines(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color);
  static int MeshToPoints(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color);
  static int MeshesToFaces(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& color);
  static int MeshesToLines(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& color);
  static int MeshesToPoints(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& color);
  static int MeshesToSubDMeshes(const ON_ClassArray<ON_Mesh>& meshes, int unused, const CString& layer,
                                const AcCmColor& color);

  // --- Curve outputs (GeometryConverterCurve.cpp) ---
  static int PolylineToVertices(const ON_Polyline& polyline, AcDb3dPolyline* entity);
  static int NurbsCurveToSpline(const ON_NurbsCurve& curve, AcDbSpline* spline);
  static int AddCurve(const ON_NurbsCurve& curve, const CString& layer, const AcCmColor& color);
  static int AddCurves(const ON_ClassArray<ON_NurbsCurve>& curves, const CString& layer, const AcCmColor& color);
  static int AddFitSpline(const ON_3dPointArray& points, const CString& layer, const AcCmColor& color);
  static int AddPoint(const ON_3dPoint& point, const CString& layer, const AcCmColor& color);
  static int AddPoints(const ON_3dPointArray& points, const CString& layer, const AcCmColor& color);
  static int AddLine(const ON_Line& line, const CString& layer, const AcCmColor& color);
  static int AddLineBetween(const ON_3dPoint& from, const ON_3dPoint& to, const CString& layer,
                            const AcCmColor& color);
  static int AddLines(const ON_SimpleArray<ON_Line>& lines, const CString& layer, const AcCmColor& color);
  static int AddCircle(const ON_Circle& circle, const CString& layer, const AcCmColor& color);
  static int AddCircles(const ON_SimpleArray<ON_Circle>& circles, const CString& layer, const AcCmColor& color);
  static int AddArc(const ON_Arc& arc, const CString& layer, const AcCmColor& color);
  static int AddArcs(const ON_SimpleArray<ON_Arc>& arcs, const CString& layer, const AcCmColor& color);
  static int AddPolyline(const ON_Polyline& polyline, const CString& layer, const AcCmColor& color);
  static int AddPolylines(const ON_ClassArray<ON_Polyline>& polylines, const CString& layer,
                          const AcCmColor& color);

  // --- Entities to openNURBS curves and points (GeometryConverterToCurve.cpp,
  //     GeometryConverterToPolyline.cpp) ---
  static int AcDbPointToPoint(AcDbPoint* entity, ON_Point& point);
  static int AcDbLineToCurve(AcDbLine* entity, ON_LineCurve& curve);
  static int AcDbRayToCurve(AcDbRay* entity, ON_LineCurve& curve);
  static int AcDbXlineToCurve(AcDbXline* entity, ON_LineCurve& curve);
  static int AcDbCircleToCurve(AcDbCircle* entity, ON_ArcCurve& curve);
  static int AcDbArcToCurve(AcDbArc* entity, ON_ArcCurve& curve);
  static int AcDbEllipseToCurve(AcDbEllipse* entity, ON_NurbsCurve& curve);
  static int SplineToNurbsCurve(AcDbSpline* entity, ON_NurbsCurve& curve);
  static int AcDbPolylineToPolylineCurve(AcDbPolyline* entity, ON_PolylineCurve& curve);
  static int AcDb3dPolylineToPolylineCurve(AcDb3dPolyline* entity, ON_PolylineCurve& curve);
  static int AcDb2dPolylineToPolylineCurve(AcDb2dPolyline* entity, ON_PolylineCurve& curve);
  static int AcDbPolylineToPolyCurve(AcDbPolyline* entity, ON_PolyCurve& curve);
  static ON_3dPointArray AcGePointsToPoints(const AcGePoint3dArray& points);
  static int NoOp();

  // --- Mesh entities to openNURBS meshes (GeometryConverterToMesh.cpp,
  //     GeometryConverterSolid.cpp) ---
  static int AcDbFaceToMesh(AcDbFace* entity, ON_Mesh& mesh);
  static int AcDbSolidToMesh(AcDbSolid* entity, ON_Mesh& mesh);
  static int AcDbSolidToSurface(AcDbSolid* entity, ON_NurbsSurface& surface);
  static int PolyFaceMeshToMesh(AcDbPolyFaceMesh* entity, ON_Mesh& mesh);
  static int PolygonMeshToMesh(AcDbPolygonMesh* entity, ON_Mesh& mesh);
  static int BlockReferenceToInstanceRef(AcDbBlockReference* entity, ON_InstanceRef& reference,
                                         const ON_ClassArray<ON_InstanceDefinition>& definitions);
  static int EntityToMesh(AcDbEntity* entity, ON_Mesh& mesh);
  // The user picks one 3D face, polyface mesh or polygon mesh, or selects
  // several; each is converted. 0 with the reason as the last-error text.
  static int SelectMesh(const CString& prompt, int highlight, ON_Mesh& mesh, AcDbObjectId& id);
  static int SelectMesh(const CString& prompt, int highlight, ON_Mesh& mesh);
  static int SelectMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes,
                          AcDbObjectIdArray& ids);
  static int SelectMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes);

  // --- Entity dispatcher and exploded entities (GeometryConverterDispatch.cpp) ---
  static int EntityToObjects(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects,
                             const ON_ClassArray<ON_InstanceDefinition>& definitions);
  static int Explode3dSolid(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects);
  static int ExplodeBody(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects);
  static int ExplodeRegion(AcDbEntity* entity, ON_SimpleArray<ON_Object*>& objects);
  static int MlineToLines(AcDbEntity* entity, ON_ClassArray<ON_LineCurve>& lines);
  static int HatchToLines(AcDbEntity* entity, ON_ClassArray<ON_LineCurve>& lines);

 private:
  // Hands a new entity to AddEntity with no owner (model space) and closes
  // it; one the drawing refused is deleted.
  static void AddAndClose(AcDbEntity* entity, const CString& layer, const AcCmColor& color);
  static CString m_error;
};
