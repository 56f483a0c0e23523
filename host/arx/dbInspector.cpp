#include "arx/dbInspector.h"

#include "arx/dbBlockTable.h"
#include "arx/dbSymbolTable.h"

namespace arxhost {

AcDbDatabase* DatabaseInspector::database() const {
  return fixed_ ? fixed_ : acdbHostApplicationServices()->workingDatabase();
}

std::vector<OpenState> DatabaseInspector::openObjects() const {
  std::vector<OpenState> open;
  for (AcDbObject* o : database()->store().openObjects())
    open.push_back({o->objectId(), o->isA(), o->isWriteEnabled(), o->numReaders()});
  return open;
}

bool DatabaseInspector::isOpen(AcDbObjectId id) const {
  AcDbObject* o = database()->store().lookup(id);
  return o && o->isReadEnabled();
}

bool DatabaseInspector::isOpenForWrite(AcDbObjectId id) const {
  AcDbObject* o = database()->store().lookup(id);
  return o && o->isWriteEnabled();
}

std::vector<AcDbObjectId> DatabaseInspector::recordsOf(AcDbObjectId tableId, bool includeErased) const {
  std::vector<AcDbObjectId> ids;
  auto* table = AcDbSymbolTable::cast(database()->store().lookup(tableId));
  if (!table) return ids;
  for (size_t i = 0; i < table->records().size(); ++i) {
    AcDbObject* o = table->records().objectAt(i);
    if (o && (includeErased || !o->isErased())) ids.push_back(table->records().idAt(i));
  }
  return ids;
}

AcDbObjectId DatabaseInspector::recordOf(AcDbObjectId tableId, const ACHAR* name) const {
  auto* table = AcDbSymbolTable::cast(database()->store().lookup(tableId));
  AcDbObjectId id;
  if (table) table->getAt(name, id);
  return id;
}

std::vector<AcDbObjectId> DatabaseInspector::blocks(bool e) const { return recordsOf(database()->blockTableId(), e); }
std::vector<AcDbObjectId> DatabaseInspector::layers(bool e) const { return recordsOf(database()->layerTableId(), e); }
std::vector<AcDbObjectId> DatabaseInspector::dimStyles(bool e) const { return recordsOf(database()->dimStyleTableId(), e); }
std::vector<AcDbObjectId> DatabaseInspector::linetypes(bool e) const { return recordsOf(database()->linetypeTableId(), e); }
std::vector<AcDbObjectId> DatabaseInspector::textStyles(bool e) const {
  return recordsOf(database()->textStyleTableId(), e);
}
AcDbObjectId DatabaseInspector::block(const ACHAR* name) const { return recordOf(database()->blockTableId(), name); }
AcDbObjectId DatabaseInspector::layer(const ACHAR* name) const { return recordOf(database()->layerTableId(), name); }
AcDbObjectId DatabaseInspector::dimStyle(const ACHAR* name) const { return recordOf(database()->dimStyleTableId(), name); }

std::vector<AcDbObjectId> DatabaseInspector::entities(const ACHAR* blockName, bool includeErased) const {
  return entitiesOf(block(blockName), includeErased);
}

std::vector<AcDbObjectId> DatabaseInspector::entitiesOf(AcDbObjectId blockId, bool includeErased) const {
  std::vector<AcDbObjectId> ids;
  auto* record = AcDbBlockTableRecord::cast(database()->store().lookup(blockId));
  if (!record) return ids;
  for (size_t i = 0; i < record->entities().size(); ++i) {
    AcDbObject* o = record->entities().objectAt(i);
    if (o && (includeErased || !o->isErased())) ids.push_back(record->entities().idAt(i));
  }
  return ids;
}

std::vector<AcDbObject*> DatabaseInspector::allObjects() const { return database()->store().objects(); }

}  // namespace arxhost
