#pragma once
// ThreeDmImporter: reads a model file through the model reader and turns it
// into drawing content in four passes: dimension styles, layers, block
// definitions, model objects. One object per run carries the run's modes,
// the import transform and the tables that later passes look things up in.
#include "arx/arxheaders.h"
#include "mfc/CStringArray.h"
#include "AcadUtils.h"
#include "opennurbs.h"

class ThreeDmImporter {
 public:
  ThreeDmImporter();
  ~ThreeDmImporter();
  ThreeDmImporter(const ThreeDmImporter&) = delete;
  ThreeDmImporter& operator=(const ThreeDmImporter&) = delete;

  // 1 on success; 0 with the reason in GetError where there is one.
  int ImportFile(CString path, int report, int polyCurveMode, int meshMode, int blockMode);

  static CString GetError();
  static void SetError(const CString& text);

  // The passes, in the order ImportFile runs them; 0 ends the run.
  int ImportDimStyles();
  int ImportLayers();
  int ImportBlockDefinitions();
  int ImportObjects();

  // Converts one object through the handler of its class; 0 when no handler
  // takes it.
  int ImportObject(const ON_Object* object, const CString& layer, const AcCmColor& color);

  // Geometry and block instances.
  int ImportPoint(const ON_Point& point, const CString& layer, const AcCmColor& color);
  int ImportPointCloud(const ON_PointCloud& cloud, const CString& layer, const AcCmColor& color);
  int ImportLineCurve(const ON_LineCurve& curve, const CString& layer, const AcCmColor& color);
  int ImportPolylineCurve(const ON_PolylineCurve& curve, const CString& layer, const AcCmColor& color);
  int ImportArcCurve(const ON_ArcCurve& curve, const CString& layer, const AcCmColor& color);
  int ImportNurbsCurve(const ON_NurbsCurve& curve, const CString& layer, const AcCmColor& color);
  int ImportPolyCurve(const ON_PolyCurve& curve, const CString& layer, const AcCmColor& color);
  int ImportMesh(const ON_Mesh& mesh, const CString& layer, const AcCmColor& color);
  int ImportBrep(const ON_Brep& brep, const CString& layer, const AcCmColor& color);
  int ImportSatSolids(const CString& path, const CString& layer, const AcCmColor& color);
  int ImportInstanceRef(const ON_InstanceRef& reference, const CString& layer, const AcCmColor& color);

  // Annotations of both generations.
  int ImportTextEntity(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportTextEntity2(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportLeader(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportLeader2(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportLinearDimension(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportLinearDimension2(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportRadialDimension(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportRadialDimension2(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportAngularDimension(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportAngularDimension2(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportTextDot(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportAnnotationTextDot(const ON_Object* object, const CString& layer, const AcCmColor& color);
  int ImportAnnotationArrow(const ON_Object* object, const CString& layer, const AcCmColor& color);

  // The dimension variables of a first-generation dimension.
  void SetDimensionDefaults(AcDbDimension* dimension);

  // Moves the entity by the import transform unless it is the identity.
  void ApplyImportTransform(AcDbEntity* entity);

  // Formats a trace text of a failing pass and drops it.
  static void TraceMessage(const wchar_t* format, ...);

  // Exploded references nested deeper than this are left out: a definition
  // that contains itself would otherwise never end.
  static constexpr int kMaxExplodeDepth = 32;

  int m_polyCurveMode;
  int m_meshMode;
  int m_blockMode;
  int m_report;
  ON_Xform m_xform;
  AcDbBlockTableRecord* m_blockRecord;
  AcArray<AcDbObjectId> m_dimStyleIds;
  CStringArray m_blockNames;
  AcadUtils::StringIndex m_blockIndex;  // of m_blockNames
  AcArray<AcDbObjectId> m_blockIds;

 private:
  // Transforms (import transform), appends to the current owner and closes.
  void PlaceEntity(AcDbEntity* entity, const CString& layer, const AcCmColor& color);
  // The same with the annotation's own plane transform first.
  void PlaceAnnotation(AcDbEntity* entity, const ON_Xform& ecsToWorld, const CString& layer,
                       const AcCmColor& color);
  // The drawing style at a second-generation style index; null outside the
  // table, which leaves the entity on the drawing's current style.
  AcDbObjectId DimStyleAt(int index) const;

  int m_explodeDepth;
  static CString m_error;
};
