#pragma once
// A drawing database: the object store, its symbol tables and the defaults
// of new entities; and the host services that name the working database.
#include <memory>
#include <vector>

#include "arx/dbObject.h"

class AcDbSymbolTable;
class AcDbBlockTable;
class AcDbLayerTable;
class AcDbDimStyleTable;
class AcDbLinetypeTable;
class AcDbTextStyleTable;
class AcDbEntity;

class AcDbDatabase : public AcRxObject {
  ARXHOST_RX_MEMBERS(AcDbDatabase)
 public:
  // A new drawing with its tables and default records: block table with
  // "*Model_Space" and "*Paper_Space", layer "0", linetypes "ByBlock",
  // "ByLayer" and "Continuous", text style and dimension style "Standard".
  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase() override;
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbDimStyleTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode) { return getSymbolTable(table, mode); }
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode) { return getSymbolTable(table, mode); }
  Acad::ErrorStatus getDimStyleTable(AcDbDimStyleTable*& table, AcDb::OpenMode mode) {
    return getSymbolTable(table, mode);
  }
  Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode) {
    return getSymbolTable(table, mode);
  }
  Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode) {
    return getSymbolTable(table, mode);
  }

  AcDbObjectId blockTableId() const { return blockTable_; }
  AcDbObjectId layerTableId() const { return layerTable_; }
  AcDbObjectId dimStyleTableId() const { return dimStyleTable_; }
  AcDbObjectId linetypeTableId() const { return linetypeTable_; }
  AcDbObjectId textStyleTableId() const { return textStyleTable_; }

  // Current settings that new entities and records take.
  AcDbObjectId clayer() const { return clayer_; }
  Acad::ErrorStatus setClayer(AcDbObjectId layerId);
  AcDbObjectId textstyle() const { return textstyle_; }
  AcDbObjectId dimstyle() const { return dimstyle_; }
  AcDbObjectId byLayerLinetype() const { return byLayerLinetype_; }
  AcDbObjectId byBlockLinetype() const { return byBlockLinetype_; }
  AcDbObjectId continuousLinetype() const { return continuousLinetype_; }
  AcDbObjectId modelSpaceId() const { return modelSpace_; }
  AcDbObjectId paperSpaceId() const { return paperSpace_; }
  AcDbObjectId currentSpaceId() const { return modelSpace_; }
  AcDbObjectId layerZero() const { return layerZero_; }

  // Adds an object that no table or block owns; the database is its owner.
  Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* object);
  Acad::ErrorStatus addAcDbObject(AcDbObject* object) {
    AcDbObjectId id;
    return addAcDbObject(id, object);
  }

  // Host side: the store behind the ids.
  arxhost::DatabaseStore& store() { return *store_; }
  const arxhost::DatabaseStore& store() const { return *store_; }

 private:
  std::unique_ptr<arxhost::DatabaseStore> store_;
  AcDbObjectId blockTable_, layerTable_, dimStyleTable_, linetypeTable_, textStyleTable_;
  AcDbObjectId modelSpace_, paperSpace_, layerZero_, clayer_, textstyle_, dimstyle_;
  AcDbObjectId byLayerLinetype_, byBlockLinetype_, continuousLinetype_;
};

class AcDbHostApplicationServices {
 public:
  AcDbDatabase* workingDatabase() const;
  void setWorkingDatabase(AcDbDatabase* db);
};

AcDbHostApplicationServices* acdbHostApplicationServices();

// Opening objects by id. openErased lets an erased object be opened.
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
// The same, refusing an object that is not of the class (eNotThatKindOfClass).
Acad::ErrorStatus acdbOpenObject(AcDbObject*& object, AcDbObjectId id, AcRxClass* cls, AcDb::OpenMode mode,
                                 bool openErased = false);
// The same, refusing an object that is not an entity (eNotAnEntity).
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

template <class T>
Acad::ErrorStatus acdbOpenObject(T*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
  AcDbObject* o = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(o, id, T::desc(), mode, openErased);
  object = es == Acad::eOk ? static_cast<T*>(o) : nullptr;
  return es;
}

namespace arxhost {

// What the host keeps of one database: objects by slot, open states, handles.
class DatabaseStore {
 public:
  explicit DatabaseStore(AcDbDatabase* db);
  ~DatabaseStore();

  // Takes the object into the database under the owner; it stays open as
  // it was (a new object: open for write).
  Acad::ErrorStatus adopt(AcDbObject* object, AcDbObjectId ownerId, AcDbObjectId& id);
  AcDbObject* lookup(AcDbObjectId id) const;
  Acad::ErrorStatus open(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased);
  Adesk::UInt32 serial() const { return serial_; }

  // Every object in slot order.
  std::vector<AcDbObject*> objects() const;
  // Every object that is open now, and how.
  std::vector<AcDbObject*> openObjects() const;

  static AcDbDatabase* databaseOf(AcDbObjectId id);

 private:
  AcDbDatabase* db_;
  Adesk::UInt32 serial_;
  Adesk::UInt64 nextHandle_ = 0x20;
  std::vector<std::unique_ptr<AcDbObject>> slots_;
};

}  // namespace arxhost
