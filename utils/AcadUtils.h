#pragma once
// AcadUtils: static helpers over the drawing database and the editor. Each
// group of members lives in its own source file (AcadUtils*.cpp).
#include <array>
#include <string>
#include <unordered_map>

#include "arx/dbheaders.h"
#include "mfc/CString.h"
#include "mfc/CStringArray.h"
#include "win32/wintypes.h"

class AcadUtils {
 public:
  AcadUtils() = default;
  ~AcadUtils() = default;

  static CString GetError();
  static void SetError(const CString& text);

  // --- Entity placement, layers, polyface records, SAT exchange
  //     (AcadUtils.cpp, AcadUtilsDrawing.cpp) ---
  static Acad::ErrorStatus GetOrCreateLayer(const CString& name, int create, AcDbObjectId& id);
  static AcDbObjectId LayerId(const CString& name, int create);
  static Acad::ErrorStatus CreateLayerWithId(const CString& name, AcDbObjectId& id, int rgb, int frozen,
                                             int locked, int off);
  static Acad::ErrorStatus CreateLayer(const CString& name, int rgb, int frozen, int locked, int off);
  static Acad::ErrorStatus SetEntityLayer(AcDbEntity* entity, const CString& layer);
  static Acad::ErrorStatus SetEntityRgb(AcDbEntity* entity, int& rgb);
  static Acad::ErrorStatus SetEntityLayerAndRgb(AcDbEntity* entity, const CString& layer, int& rgb);
  static Acad::ErrorStatus SetEntityLayerAndColor(AcDbEntity* entity, const CString& layer, const AcCmColor& color);
  static Acad::ErrorStatus AppendEntity(AcDbEntity* entity, AcDbBlockTableRecord* owner = NULL);
  static Acad::ErrorStatus AppendEntityWithId(AcDbEntity* entity, AcDbObjectId& id,
                                              AcDbBlockTableRecord* owner = NULL);
  static Acad::ErrorStatus AddEntity(AcDbEntity* entity, const CString& layer, const AcCmColor& color,
                                     AcDbBlockTableRecord* owner = NULL);
  static Acad::ErrorStatus AddEntityWithId(AcDbEntity* entity, const CString& layer, const AcCmColor& color,
                                           AcDbObjectId& id, AcDbBlockTableRecord* owner = NULL);
  static Acad::ErrorStatus AddEntityRgb(AcDbEntity* entity, const CString& layer, int& rgb,
                                        AcDbBlockTableRecord* owner = NULL);
  static Acad::ErrorStatus AddEntityRgbWithId(AcDbEntity* entity, const CString& layer, int& rgb, AcDbObjectId& id,
                                              AcDbBlockTableRecord* owner = NULL);

  static Acad::ErrorStatus Append3dPolylineVertex(AcDb3dPolyline* polyline, const AcGePoint3d& point);
  static Acad::ErrorStatus AppendPolyFaceVertex(AcDbPolyFaceMesh* mesh, const AcGePoint3d& point);
  static Acad::ErrorStatus AppendFaceRecord(AcDbPolyFaceMesh* mesh, int v0, int v1, int v2, int v3);
  static int PolygonMeshToPolyFaceMesh(AcDbPolygonMesh* source, AcDbPolyFaceMesh* destination);
  static int EraseEntity(AcDbObjectId id);
  static int EraseEntities(const AcArray<AcDbObjectId>& ids);
  static int FindString(const CStringArray& list, CString value);
  // Each string of a list to its first index, kept beside the list by
  // AddString so that FindString costs the same however long the list grows.
  using StringIndex = std::unordered_map<std::wstring, int>;
  static int AddString(CStringArray& list, StringIndex& index, const CString& value);
  // FindString(list, value) for the list the index was kept for.
  static int FindString(const StringIndex& index, const CString& value);
  static int ImportSatFile(const CString& path, const AcGeMatrix3d& xform, int zoomExtents);
  static int ExportSatFile(const AcArray<AcDbObjectId>& ids, const CString& path);
  static int SampleCurve(AcDbCurve* curve, double step, AcArray<AcGePoint3d>& points);

  // --- System variables, message box and host release (AcadUtilsEditor.cpp) ---
  // Getters: 1 with the value read, 0 (value untouched) when the host does
  // not answer RTNORM with a value of the kind asked for.
  static int GetSysVarReal(const CString& name, double& value);
  static int GetSysVarInt(const CString& name, int& value);  // a 16-bit variable
  static int GetSysVarString(const CString& name, CString& value);
  // Setters: 1 when the host took the value; an int goes as its low 16 bits.
  static int SetSysVarReal(const CString& name, double value);
  static int SetSysVarInt(const CString& name, int value);
  static int SetSysVarString(const CString& name, const CString& value);
  // A box over the main window with the text formatted as CString::Format does.
  static void ShowMessage(CString caption, UINT type, const wchar_t* format, ...);
  // 0 to 11 from the first letter of "_VERNUM" (0: not recognised).
  static int GetHostRelease();
  // 1 if the host is that release; else a warning box and 0.
  static int CheckHostRelease(int expected);
  // The release names by host release index ("AutoCAD ????" at 0).
  static const wchar_t* const ReleaseNames[12];

  // --- Colour and entity property queries (AcadUtilsQuery.cpp) ---
  // Red, green and blue of each colour index: row k for index k + 1.
  static const std::array<std::array<int, 3>, 258> AciRgbTable;
  // Packed RGB: red in bits 0-7, green 8-15, blue 16-23. An index outside
  // 1 to 258 (0 is by block) has no row and gives white.
  static int AciToRgb(int aci);
  static AcCmColor RgbToColor(int rgb);
  // Getters with an output argument leave it as it was when the entity
  // cannot be opened; those returning a value give an empty one then.
  static void GetEntityLayer(AcDbObjectId id, CString& layer);
  static CString EntityLayer(AcDbObjectId id);
  static void GetEntityLinetype(AcDbObjectId id, CString& linetype);
  static CString EntityLinetype(AcDbObjectId id);
  static void GetEntityColor(AcDbObjectId id, AcCmColor& color);
  static AcCmColor EntityColor(AcDbObjectId id);
  static void GetEntityLayerAndColor(AcDbObjectId id, CString& layer, AcCmColor& color);
  static void GetEntityLayerId(AcDbObjectId id, AcDbObjectId& layerId);
  static AcDbObjectId EntityLayerId(AcDbObjectId id);
  static void GetEntityLinetypeId(AcDbObjectId id, AcDbObjectId& linetypeId);
  static AcDbObjectId EntityLinetypeId(AcDbObjectId id);
  static void GetEntityBlockId(AcDbObjectId id, AcDbObjectId& blockId);
  static AcDbObjectId EntityBlockId(AcDbObjectId id);
  static CString EntityClassName(AcDbObjectId id);
  static Acad::ErrorStatus GetLayerColorIndex(const CString& layer, int& aci);
  static int LayerColorIndex(const CString& layer);
  static Acad::ErrorStatus GetLayerRgb(const CString& layer, int& rgb);
  static int LayerRgb(const CString& layer);
  static Acad::ErrorStatus GetBlockName(AcDbObjectId blockId, CString& name);
  static CString BlockName(AcDbObjectId blockId);
  static Acad::ErrorStatus GetOwnerBlockName(AcDbObjectId id, CString& name);
  static CString OwnerBlockName(AcDbObjectId id);
  static Acad::ErrorStatus GetEntityRgb(AcDbObjectId id, unsigned& rgb);
  static unsigned EntityRgb(AcDbObjectId id);

  // --- Prompts, picking and selection (AcadUtilsPrompt.cpp) ---
  static void HighlightEntity(AcDbObjectId id);
  static int PromptYesNo(const CString& prompt, int& answer);
  static int PromptKeyword(const CString& prompt, const CString& keywords, CString& reply,
                           const CString& defaultKeyword);
  static int PickEntityWithPoint(const CString& prompt, int highlight, AcDbObjectId& id, AcGePoint3d& point);
  static int PickEntity(const CString& prompt, int highlight, AcDbObjectId& id);
  static int PickEntityOfClassWithPoint(const CString& prompt, int highlight, const CStringArray& classes,
                                        AcDbObjectId& id, AcGePoint3d& point);
  static int PickEntityOfClass(const CString& prompt, int highlight, const CStringArray& classes,
                               AcDbObjectId& id);
  static int PickEntityOfOneClassWithPoint(const CString& prompt, int highlight, const CString& className,
                                           AcDbObjectId& id, AcGePoint3d& point);
  static int PickEntityOfOneClass(const CString& prompt, int highlight, const CString& className,
                                  AcDbObjectId& id);
  static int SelectAll(AcDbObjectIdArray& ids);
  static int SelectPoints(AcGePoint3dArray& points);
  static int SelectEntitiesOfClass(const CString& prompt, int highlight, const CStringArray& classes,
                                   AcDbObjectIdArray& ids);
  static int SelectEntities(const CString& prompt, int highlight, AcDbObjectIdArray& ids);

  // --- DXF import, one file or a batch (AcadUtilsDxfIn.cpp) ---
  static int DxfIn(const CString& path, int zoomExtents);
  static int ImportDxfFiles(const CString& basePath, int& count);

 private:
  static CString m_error;
};
