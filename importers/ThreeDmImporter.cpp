#include "ThreeDmImporter.h"

#include <cstdarg>

#include "AcadUtils.h"
#include "GeometryConverter.h"
#include "Kelvrash90Ux64.h"

CString ThreeDmImporter::m_error;

namespace {

// Block definitions that exist in the drawing already are listed in one
// notice after the pass.
const wchar_t kExistingBlocksHead[] = L"The current drawing already has the following block definitions:\n\n";
const wchar_t kExistingBlocksTail[] =
    L"\nThe new 3DM block definitions will be ignored. If the 3DM file contains instances of these blocks, and "
    L"the DWG and 3DM block definitions are not exactly the same, the imported objects will not represent the "
    L"true geometry in the 3DM file. To avoid conflict in block definitions, please import this 3DM file into "
    L"a new drawing.";

AcDbDatabase* WorkingDatabase() { return acdbHostApplicationServices()->workingDatabase(); }

CString LayerNameAt(int index, ON_Layer& layer) {
  Kelv3dm::ReadGetLayer(index, layer);
  return CString(layer.LayerName());
}

}  // namespace

ThreeDmImporter::ThreeDmImporter()
    : m_polyCurveMode(0),
      m_meshMode(0),
      m_blockMode(0),
      m_report(0),
      m_xform(ON_Xform::IdentityTransformation),
      m_blockRecord(nullptr),
      m_dimStyleIds(0, 8),
      m_blockIds(0, 8),
      m_explodeDepth(0) {}

ThreeDmImporter::~ThreeDmImporter() = default;

CString ThreeDmImporter::GetError() { return m_error; }
void ThreeDmImporter::SetError(const CString& text) { m_error = text; }

void ThreeDmImporter::TraceMessage(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  CString trace;
  trace.FormatV(format, args);
  va_end(args);
}

int ThreeDmImporter::ImportFile(CString path, int report, int polyCurveMode, int meshMode, int blockMode) {
  m_report = report;
  m_polyCurveMode = polyCurveMode;
  m_meshMode = meshMode;
  m_blockMode = blockMode;

  ON_3dmProperties properties;
  if (!Kelv3dm::ReadStart(path, properties)) {
    SetError(Kelv3dm::GetError());
    return 0;
  }
  int ok = ImportDimStyles() && ImportLayers() && (m_blockMode != 0 || ImportBlockDefinitions()) && ImportObjects();
  Kelv3dm::ReadEnd();
  return ok ? 1 : 0;
}

int ThreeDmImporter::ImportDimStyles() {
  AcDbDimStyleTable* table = nullptr;
  if (WorkingDatabase()->getSymbolTable(table, AcDb::kForWrite) != Acad::eOk) return 0;
  ON_DimStyle style;
  CString name;
  AcDbObjectId id;
  for (int i = 0; i < Kelv3dm::ReadGetDimStyleTableSize(); ++i) {
    if (!Kelv3dm::ReadGetDimStyle(i, style)) continue;
    name = style.Name();
    if (table->has(name)) {
      if (table->getAt(name, id, true) != Acad::eOk) {
        TraceMessage(L"Error locating dimension style '%s'", name.GetString());
        table->close();
        return 0;
      }
    } else {
      auto* record = new AcDbDimStyleTableRecord;
      record->setName(name);
      record->setDimadec(style.AngleResolution());
      record->setDimaunit(style.AngularUnits() != 0 ? 3 : 0);
      record->setDimasz(style.ArrowSize());
      record->setDimcen(style.CenterMark());
      record->setDimexe(style.ExtExtension());
      record->setDimexo(style.ExtOffset());
      record->setDimdec(style.LengthResolution());
      record->setDimtad(style.TextAlignment() == 3 ? 0 : 1);
      record->setDimgap(style.TextGap());
      record->setDimtxt(style.TextHeight());
      if (table->add(id, record) == Acad::eOk) {
        record->close();
      } else {
        delete record;  // never reached the database
      }
    }
    m_dimStyleIds.append(id);
  }
  table->close();
  return 1;
}

int ThreeDmImporter::ImportLayers() {
  ON_Layer layer;
  CString name;
  for (int i = 0; i < Kelv3dm::ReadGetLayerTableSize(); ++i) {
    if (!Kelv3dm::ReadGetLayer(i, layer)) continue;
    name = layer.LayerName();
    auto rgb = static_cast<unsigned int>(layer.Color());
    if (rgb == 0) rgb = 0xFFFFFF;  // black without alpha is the unset colour: white
    AcadUtils::CreateLayer(name, static_cast<int>(rgb), 0, layer.IsLocked() ? 1 : 0, layer.IsVisible() ? 0 : 1);
  }
  return 1;
}

int ThreeDmImporter::ImportBlockDefinitions() {
  CString notice = kExistingBlocksHead;
  AcDbBlockTable* table = nullptr;
  if (WorkingDatabase()->getSymbolTable(table, AcDb::kForWrite) != Acad::eOk) return 0;
  m_blockNames.RemoveAll();
  m_blockIndex.clear();
  m_blockIds.removeAll();

  ON_InstanceDefinition definition;
  ON_3dmObjectAttributes attributes;
  CString layerName;
  AcCmColor color;
  AcDbObjectId id;
  bool someExist = false;
  for (int i = 0; i < Kelv3dm::ReadGetInstanceDefinitionTableSize(); ++i) {
    if (!Kelv3dm::ReadGetInstanceDefinition(i, definition)) continue;
    CString name = definition.Name();
    if (table->has(name)) {
      someExist = true;
      notice += name;
      notice += L"\n";
      if (table->getAt(name, id, true) != Acad::eOk) {
        TraceMessage(L"Error locating block '%s'", name.GetString());
        table->close();
        return 0;
      }
    } else {
      auto* record = new AcDbBlockTableRecord;
      record->setName(name);
      m_blockRecord = record;
      for (int m = 0; m < definition.m_object_uuid.Count(); ++m) {
        int index = Kelv3dm::ReadGetObjectIndex(definition.m_object_uuid[m]);
        Kelv3dm::ReadGetObjectAttributes(index, attributes);
        const ON_Object* object = Kelv3dm::ReadGetObject(index);
        if (!object) {
          TraceMessage(L"Error reading object from block '%s'", name.GetString());
          m_blockRecord = nullptr;
          // The unfinished definition never joins the table; what was
          // appended to it goes with it.
          delete record;
          table->close();
          return 0;
        }
        ON_Layer memberLayer;
        layerName = Kelv3dm::ReadGetLayer(attributes.m_layer_index, memberLayer) ? CString(memberLayer.LayerName())
                                                                                : CString();
        color = GeometryConverter::AttributesToColor(attributes);
        ImportObject(object, layerName, color);
      }
      m_blockRecord = nullptr;
      if (table->add(id, record) == Acad::eOk) {
        record->close();
      } else {
        delete record;
      }
    }
    AcadUtils::AddString(m_blockNames, m_blockIndex, name);
    m_blockIds.append(id);
  }
  table->close();

  if (someExist && m_report == 1) {
    notice += kExistingBlocksTail;
    MessageBoxW(adsw_acadMainWnd(), notice, L"Warning", MB_OK | MB_ICONWARNING);
  }
  return 1;
}

int ThreeDmImporter::ImportObjects() {
  ON_3dmObjectAttributes attributes;
  ON_Layer layer;
  CString layerName;
  AcCmColor color;
  int imported = 0;
  int ignored = 0;
  for (int j = 0; j < Kelv3dm::ReadGetObjectTableSize(); ++j) {
    if (!Kelv3dm::ReadGetObjectAttributes(j, attributes)) continue;
    if (attributes.Mode() == ON::idef_object) continue;  // brought in with its block definition
    layerName = LayerNameAt(attributes.m_layer_index, layer);
    color = GeometryConverter::AttributesToColor(attributes);
    if (ImportObject(Kelv3dm::ReadGetObject(j), layerName, color) == 1)
      ++imported;
    else
      ++ignored;
  }
  if (m_report == 1) {
    acutPrintf(L"Successfully imported %d object(s)", imported);
    if (ignored > 0) acutPrintf(L". %d object(s) were ignored", ignored);
    acutPrintf(L"\n");
  }
  return 1;
}

int ThreeDmImporter::ImportObject(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  if (!object) return 0;
  const CString name = Kelv3dm::GetObjectClassName(object);
  if (name.IsEmpty()) return 0;

  // Exact, case-sensitive names; the reader's class name guarantees the type.
  if (name == L"ON_Point") return ImportPoint(*static_cast<const ON_Point*>(object), layer, color);
  if (name == L"ON_PointCloud") return ImportPointCloud(*static_cast<const ON_PointCloud*>(object), layer, color);
  if (name == L"ON_LineCurve") return ImportLineCurve(*static_cast<const ON_LineCurve*>(object), layer, color);
  if (name == L"ON_PolylineCurve")
    return ImportPolylineCurve(*static_cast<const ON_PolylineCurve*>(object), layer, color);
  if (name == L"ON_ArcCurve") return ImportArcCurve(*static_cast<const ON_ArcCurve*>(object), layer, color);
  if (name == L"ON_NurbsCurve") return ImportNurbsCurve(*static_cast<const ON_NurbsCurve*>(object), layer, color);
  if (name == L"ON_PolyCurve") return ImportPolyCurve(*static_cast<const ON_PolyCurve*>(object), layer, color);
  if (name == L"ON_Brep") return ImportBrep(*static_cast<const ON_Brep*>(object), layer, color);
  if (name == L"ON_Mesh") return ImportMesh(*static_cast<const ON_Mesh*>(object), layer, color);
  if (name == L"ON_TextEntity") return ImportTextEntity(object, layer, color);
  if (name == L"ON_Leader") return ImportLeader(object, layer, color);
  if (name == L"ON_RadialDimension") return ImportRadialDimension(object, layer, color);
  if (name == L"ON_LinearDimension") return ImportLinearDimension(object, layer, color);
  if (name == L"ON_AngularDimension") return ImportAngularDimension(object, layer, color);
  if (name == L"ON_TextEntity2") return ImportTextEntity2(object, layer, color);
  if (name == L"ON_Leader2") return ImportLeader2(object, layer, color);
  if (name == L"ON_RadialDimension2") return ImportRadialDimension2(object, layer, color);
  if (name == L"ON_LinearDimension2") return ImportLinearDimension2(object, layer, color);
  if (name == L"ON_AngularDimension2") return ImportAngularDimension2(object, layer, color);
  if (name == L"ON_TextDot") return ImportTextDot(object, layer, color);
  if (name == L"ON_AnnotationTextDot") return ImportAnnotationTextDot(object, layer, color);
  if (name == L"ON_AnnotationArrow") return ImportAnnotationArrow(object, layer, color);
  if (name == L"ON_InstanceRef") return ImportInstanceRef(*static_cast<const ON_InstanceRef*>(object), layer, color);
  return 0;
}

void ThreeDmImporter::ApplyImportTransform(AcDbEntity* entity) {
  if (!m_xform.IsIdentity(0.0)) entity->transformBy(GeometryConverter::XformToMatrix(m_xform));
}

void ThreeDmImporter::PlaceEntity(AcDbEntity* entity, const CString& layer, const AcCmColor& color) {
  ApplyImportTransform(entity);
  AcadUtils::AddEntity(entity, layer, color, m_blockRecord);
  entity->close();
}

void ThreeDmImporter::PlaceAnnotation(AcDbEntity* entity, const ON_Xform& ecsToWorld, const CString& layer,
                                      const AcCmColor& color) {
  entity->transformBy(GeometryConverter::XformToMatrix(ecsToWorld));
  PlaceEntity(entity, layer, color);
}

AcDbObjectId ThreeDmImporter::DimStyleAt(int index) const {
  if (index < 0 || index >= m_dimStyleIds.length()) return AcDbObjectId::kNull;
  return m_dimStyleIds[index];
}
