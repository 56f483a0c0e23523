// The object store of a database, the default drawing, the working
// database, and opening objects by id.
#include "arx/dbDatabase.h"

#include <unordered_map>

#include "arx/dbBlockTable.h"
#include "arx/dbDimStyleTable.h"
#include "arx/dbEntity.h"
#include "arx/dbLayerTable.h"
#include "arx/dbLinetypeTable.h"
#include "arx/dbTextStyleTable.h"

ARXHOST_RX_DEFINE(AcDbDatabase, AcRxObject, L"")

namespace {

// Live databases by serial, so that an id finds its database and a stale id
// finds nothing.
// Never destroyed: databases that static objects own outlive any ordinary
// static and still sign off here when they go.
std::unordered_map<Adesk::UInt32, AcDbDatabase*>& LiveDatabases() {
  static auto* dbs = new std::unordered_map<Adesk::UInt32, AcDbDatabase*>();
  return *dbs;
}
Adesk::UInt32 g_nextSerial = 1;

constexpr int kMaxReaders = 256;

}  // namespace

namespace arxhost {

DatabaseStore::DatabaseStore(AcDbDatabase* db) : db_(db), serial_(g_nextSerial++) { LiveDatabases()[serial_] = db; }

DatabaseStore::~DatabaseStore() {
  LiveDatabases().erase(serial_);
  // Children first is not needed: owners hold only ids of resident children.
  slots_.clear();
}

AcDbDatabase* DatabaseStore::databaseOf(AcDbObjectId id) {
  if (id.isNull()) return nullptr;
  auto it = LiveDatabases().find(static_cast<Adesk::UInt32>(id.value() >> 32));
  return it == LiveDatabases().end() ? nullptr : it->second;
}

Acad::ErrorStatus DatabaseStore::adopt(AcDbObject* object, AcDbObjectId ownerId, AcDbObjectId& id) {
  if (!object) return Acad::eNullObjectPointer;
  if (object->db_) return Acad::eAlreadyInDb;
  slots_.emplace_back(object);
  object->db_ = db_;
  object->id_ = AcDbObjectId::fromValue((static_cast<Adesk::UInt64>(serial_) << 32) | slots_.size());
  object->owner_ = ownerId;
  object->pendingOwner_ = nullptr;
  object->handle_ = AcDbHandle(nextHandle_++);
  id = object->id_;
  object->onAddedToDatabase(db_);
  return Acad::eOk;
}

AcDbObject* DatabaseStore::lookup(AcDbObjectId id) const {
  if (id.isNull() || static_cast<Adesk::UInt32>(id.value() >> 32) != serial_) return nullptr;
  Adesk::UInt64 slot = id.value() & 0xFFFFFFFFu;
  if (slot == 0 || slot > slots_.size()) return nullptr;
  return slots_[slot - 1].get();
}

Acad::ErrorStatus DatabaseStore::open(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  AcDbObject* o = lookup(id);
  if (!o) return Acad::eUnknownHandle;
  if (o->erased_ && !openErased) return Acad::eWasErased;
  if (o->writer_) return Acad::eWasOpenForWrite;
  if (mode == AcDb::kForWrite) {
    if (o->readers_ > 0) return Acad::eWasOpenForRead;
    // An entity on a locked layer cannot be changed.
    if (auto* e = AcDbEntity::cast(o)) {
      auto* layer = AcDbLayerTableRecord::cast(lookup(e->layerId()));
      if (layer && layer->isLocked()) return Acad::eOnLockedLayer;
    }
    o->writer_ = true;
  } else {
    if (o->readers_ >= kMaxReaders) return Acad::eAtMaxReaders;
    ++o->readers_;
  }
  object = o;
  return Acad::eOk;
}

std::vector<AcDbObject*> DatabaseStore::objects() const {
  std::vector<AcDbObject*> all;
  all.reserve(slots_.size());
  for (const auto& s : slots_) all.push_back(s.get());
  return all;
}

std::vector<AcDbObject*> DatabaseStore::openObjects() const {
  std::vector<AcDbObject*> open;
  for (const auto& s : slots_)
    if (s->writer_ || s->readers_ > 0) open.push_back(s.get());
  return open;
}

}  // namespace arxhost

namespace {

template <class Table, class Record>
AcDbObjectId AddDefaultRecord(Table* table, const ACHAR* name, Record* record = nullptr) {
  if (!record) record = new Record();
  record->setName(name);
  AcDbObjectId id;
  table->add(id, record);
  record->close();
  return id;
}

template <class Table>
AcDbObjectId AddTable(arxhost::DatabaseStore& store, AcDbObjectId dbOwner) {
  auto* table = new Table();
  AcDbObjectId id;
  store.adopt(table, dbOwner, id);
  return id;
}

}  // namespace

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool noDocument)
    : store_(std::make_unique<arxhost::DatabaseStore>(this)) {
  // The tables exist in every database; the default records only in a
  // default drawing.
  blockTable_ = AddTable<AcDbBlockTable>(*store_, AcDbObjectId());
  layerTable_ = AddTable<AcDbLayerTable>(*store_, AcDbObjectId());
  linetypeTable_ = AddTable<AcDbLinetypeTable>(*store_, AcDbObjectId());
  textStyleTable_ = AddTable<AcDbTextStyleTable>(*store_, AcDbObjectId());
  dimStyleTable_ = AddTable<AcDbDimStyleTable>(*store_, AcDbObjectId());
  // Tables are closed until someone opens them.
  for (AcDbObjectId id : {blockTable_, layerTable_, linetypeTable_, textStyleTable_, dimStyleTable_})
    store_->lookup(id)->close();
  if (!buildDefaultDrawing) return;

  AcDbLinetypeTable* lt = static_cast<AcDbLinetypeTable*>(store_->lookup(linetypeTable_));
  lt->writer_ = true;
  byBlockLinetype_ = AddDefaultRecord<AcDbLinetypeTable, AcDbLinetypeTableRecord>(lt, L"ByBlock");
  byLayerLinetype_ = AddDefaultRecord<AcDbLinetypeTable, AcDbLinetypeTableRecord>(lt, L"ByLayer");
  auto* continuous = new AcDbLinetypeTableRecord();
  continuous->setComments(L"Solid line");
  continuousLinetype_ = AddDefaultRecord(lt, L"Continuous", continuous);
  lt->close();

  AcDbLayerTable* layers = static_cast<AcDbLayerTable*>(store_->lookup(layerTable_));
  layers->writer_ = true;
  layerZero_ = clayer_ = AddDefaultRecord<AcDbLayerTable, AcDbLayerTableRecord>(layers, L"0");
  layers->close();

  AcDbTextStyleTable* styles = static_cast<AcDbTextStyleTable*>(store_->lookup(textStyleTable_));
  styles->writer_ = true;
  textstyle_ = AddDefaultRecord<AcDbTextStyleTable, AcDbTextStyleTableRecord>(styles, L"Standard");
  styles->close();

  AcDbDimStyleTable* dims = static_cast<AcDbDimStyleTable*>(store_->lookup(dimStyleTable_));
  dims->writer_ = true;
  dimstyle_ = AddDefaultRecord<AcDbDimStyleTable, AcDbDimStyleTableRecord>(dims, L"Standard");
  dims->close();

  AcDbBlockTable* blocks = static_cast<AcDbBlockTable*>(store_->lookup(blockTable_));
  blocks->writer_ = true;
  modelSpace_ = AddDefaultRecord<AcDbBlockTable, AcDbBlockTableRecord>(blocks, ACDB_MODEL_SPACE);
  paperSpace_ = AddDefaultRecord<AcDbBlockTable, AcDbBlockTableRecord>(blocks, ACDB_PAPER_SPACE);
  blocks->close();
}

AcDbDatabase::~AcDbDatabase() = default;

namespace {
template <class Table>
Acad::ErrorStatus OpenTable(AcDbObjectId id, Table*& table, AcDb::OpenMode mode) {
  table = nullptr;
  return acdbOpenObject(table, id, mode);
}
}  // namespace

Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return OpenTable(blockTable_, t, m); }
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbLayerTable*& t, AcDb::OpenMode m) { return OpenTable(layerTable_, t, m); }
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbDimStyleTable*& t, AcDb::OpenMode m) {
  return OpenTable(dimStyleTable_, t, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) {
  return OpenTable(linetypeTable_, t, m);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) {
  return OpenTable(textStyleTable_, t, m);
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId layerId) {
  if (!AcDbLayerTableRecord::cast(store_->lookup(layerId))) return Acad::eWrongObjectType;
  clayer_ = layerId;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* object) {
  if (!object) return Acad::eNullObjectPointer;
  if (object->database() || object->isHeldByOwner()) return Acad::eAlreadyInDb;
  return store_->adopt(object, AcDbObjectId(), id);
}

// --- the working database ---
namespace {
struct WorkingDatabase {
  std::unique_ptr<AcDbDatabase> owned;
  AcDbDatabase* current = nullptr;
};
WorkingDatabase& Working() {
  static WorkingDatabase w;
  return w;
}
}  // namespace

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const {
  WorkingDatabase& w = Working();
  if (!w.current) {
    if (!w.owned) w.owned = std::make_unique<AcDbDatabase>();
    w.current = w.owned.get();
  }
  return w.current;
}

void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* db) { Working().current = db; }

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}

namespace arxhost {
void ResetWorkingDatabase() {
  WorkingDatabase& w = Working();
  w.current = nullptr;
  w.owned = std::make_unique<AcDbDatabase>();
  w.current = w.owned.get();
}
}  // namespace arxhost

// --- opening by id ---
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbDatabase* db = arxhost::DatabaseStore::databaseOf(id);
  if (!db) return Acad::eUnknownHandle;
  return db->store().open(object, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenObject(AcDbObject*& object, AcDbObjectId id, AcRxClass* cls, AcDb::OpenMode mode,
                                 bool openErased) {
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbObject* o = arxhost::PeekObject(id);
  if (!o) return Acad::eUnknownHandle;
  if (cls && !o->isKindOf(cls)) return Acad::eNotThatKindOfClass;
  return acdbOpenAcDbObject(object, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbObject* o = arxhost::PeekObject(id);
  if (!o) return Acad::eUnknownHandle;
  if (!AcDbEntity::cast(o)) return Acad::eNotAnEntity;
  AcDbObject* opened = nullptr;
  Acad::ErrorStatus es = acdbOpenAcDbObject(opened, id, mode, openErased);
  if (es == Acad::eOk) entity = static_cast<AcDbEntity*>(opened);
  return es;
}
