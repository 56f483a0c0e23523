// AcadUtils: the last-error text, layers, entity layer and colour, and the
// appending of new entities to model space or a block definition.
#include "AcadUtils.h"

CString AcadUtils::m_error;

CString AcadUtils::GetError() { return m_error; }

void AcadUtils::SetError(const CString& text) { m_error = text; }

static AcDbDatabase* WorkingDatabase() { return acdbHostApplicationServices()->workingDatabase(); }

// Looks the layer up (erased records not wanted); the table is closed again.
static Acad::ErrorStatus FindLayer(const CString& name, AcDbObjectId& id, Acad::ErrorStatus& found) {
  AcDbLayerTable* table = NULL;
  Acad::ErrorStatus es = WorkingDatabase()->getSymbolTable(table, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  found = table->getAt(name, id, false);
  table->close();
  return Acad::eOk;
}

Acad::ErrorStatus AcadUtils::GetOrCreateLayer(const CString& name, int create, AcDbObjectId& id) {
  Acad::ErrorStatus found = Acad::eOk;
  Acad::ErrorStatus es = FindLayer(name, id, found);
  if (es != Acad::eOk) return es;
  if (found == Acad::eOk) return Acad::eOk;
  if (create == 0) return Acad::eNullObjectId;

  AcDbLayerTable* table = NULL;
  es = WorkingDatabase()->getSymbolTable(table, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  AcDbLayerTableRecord* record = new AcDbLayerTableRecord();
  record->setName(name);
  es = table->add(id, record);
  if (es == Acad::eOk) {
    record->close();
  } else {
    // A record the table refused is ours to dispose of.
    delete record;
  }
  table->close();
  return es;
}

AcDbObjectId AcadUtils::LayerId(const CString& name, int create) {
  AcDbObjectId id;
  GetOrCreateLayer(name, create, id);
  return id;
}

Acad::ErrorStatus AcadUtils::CreateLayerWithId(const CString& name, AcDbObjectId& id, int rgb, int frozen,
                                               int locked, int off) {
  Acad::ErrorStatus found = Acad::eOk;
  Acad::ErrorStatus es = FindLayer(name, id, found);
  if (es != Acad::eOk) return es;
  if (found == Acad::eOk) return Acad::eOk;

  AcCmColor color;
  color.setRGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  AcDbLayerTable* table = NULL;
  es = WorkingDatabase()->getSymbolTable(table, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  AcDbLayerTableRecord* record = new AcDbLayerTableRecord();
  record->setName(name);
  record->setColor(color);
  record->setIsFrozen(frozen != 0);
  record->setIsLocked(locked != 0);
  record->setIsOff(off != 0);
  es = table->add(id, record);
  if (es == Acad::eOk) {
    record->close();
  } else {
    delete record;
  }
  table->close();
  return es;
}

Acad::ErrorStatus AcadUtils::CreateLayer(const CString& name, int rgb, int frozen, int locked, int off) {
  AcDbObjectId id;
  return CreateLayerWithId(name, id, rgb, frozen, locked, off);
}

Acad::ErrorStatus AcadUtils::SetEntityLayer(AcDbEntity* entity, const CString& layer) {
  if (layer == L"") return Acad::eOk;
  AcDbObjectId id;
  Acad::ErrorStatus es = GetOrCreateLayer(layer, 1, id);
  if (es != Acad::eOk) return es;
  return entity->setLayer(id, true, false);
}

Acad::ErrorStatus AcadUtils::SetEntityRgb(AcDbEntity* entity, int& rgb) {
  if (rgb == 0) return entity->setColorIndex(7, true);
  AcCmColor color;
  color.setRGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  return entity->setColor(color, true);
}

Acad::ErrorStatus AcadUtils::SetEntityLayerAndRgb(AcDbEntity* entity, const CString& layer, int& rgb) {
  Acad::ErrorStatus es = SetEntityLayer(entity, layer);
  if (es != Acad::eOk) return es;
  return SetEntityRgb(entity, rgb);
}

Acad::ErrorStatus AcadUtils::SetEntityLayerAndColor(AcDbEntity* entity, const CString& layer,
                                                    const AcCmColor& color) {
  Acad::ErrorStatus es = SetEntityLayer(entity, layer);
  if (es != Acad::eOk) return es;
  return entity->setColor(color, true);
}

Acad::ErrorStatus AcadUtils::AppendEntity(AcDbEntity* entity, AcDbBlockTableRecord* owner) {
  AcDbObjectId id;
  return AppendEntityWithId(entity, id, owner);
}

Acad::ErrorStatus AcadUtils::AppendEntityWithId(AcDbEntity* entity, AcDbObjectId& id, AcDbBlockTableRecord* owner) {
  if (owner != NULL) return owner->appendAcDbEntity(id, entity);

  AcDbBlockTable* blocks = NULL;
  Acad::ErrorStatus es = WorkingDatabase()->getSymbolTable(blocks, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbBlockTableRecord* modelSpace = NULL;
  es = blocks->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite, false);
  blocks->close();
  if (es != Acad::eOk) return es;
  es = modelSpace->appendAcDbEntity(id, entity);
  modelSpace->close();
  return es;
}

Acad::ErrorStatus AcadUtils::AddEntity(AcDbEntity* entity, const CString& layer, const AcCmColor& color,
                                       AcDbBlockTableRecord* owner) {
  AcDbObjectId id;
  return AddEntityWithId(entity, layer, color, id, owner);
}

Acad::ErrorStatus AcadUtils::AddEntityWithId(AcDbEntity* entity, const CString& layer, const AcCmColor& color,
                                             AcDbObjectId& id, AcDbBlockTableRecord* owner) {
  Acad::ErrorStatus es = SetEntityLayerAndColor(entity, layer, color);
  if (es != Acad::eOk) return es;
  return AppendEntityWithId(entity, id, owner);
}

Acad::ErrorStatus AcadUtils::AddEntityRgb(AcDbEntity* entity, const CString& layer, int& rgb,
                                          AcDbBlockTableRecord* owner) {
  AcDbObjectId id;
  return AddEntityRgbWithId(entity, layer, rgb, id, owner);
}

Acad::ErrorStatus AcadUtils::AddEntityRgbWithId(AcDbEntity* entity, const CString& layer, int& rgb,
                                                AcDbObjectId& id, AcDbBlockTableRecord* owner) {
  Acad::ErrorStatus es = SetEntityLayerAndRgb(entity, layer, rgb);
  if (es != Acad::eOk) return es;
  return AppendEntityWithId(entity, id, owner);
}
