// Block table records: appending entities, also before the record is in a
// database, and walking them.
#include "arx/dbBlockTable.h"

#include <cwchar>

#include "arx/dbDatabase.h"
#include "arx/dbEntity.h"

ARXHOST_RX_DEFINE(AcDbBlockTableRecord, AcDbSymbolTableRecord, L"BLOCK_RECORD")
ARXHOST_RX_DEFINE(AcDbBlockTable, AcDbSymbolTable, L"TABLE")

AcRxClass* AcDbBlockTable::recordClass() const { return AcDbBlockTableRecord::desc(); }

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (!entity) return Acad::eNullEntityPointer;
  if (entity->database() || entity->isHeldByOwner()) return Acad::eAlreadyInDb;
  if (entity->isKindOf(AcDbBlockTableRecord::desc())) return Acad::eIllegalEntityType;
  if (!database()) {
    entities_.hold(this, std::unique_ptr<AcDbObject>(entity));
    id = AcDbObjectId();
    return Acad::eOk;
  }
  AcDbObjectId newId;
  Acad::ErrorStatus es = database()->store().adopt(entity, objectId(), newId);
  if (es != Acad::eOk) return es;
  entities_.addId(newId);
  id = newId;
  return Acad::eOk;
}

void AcDbBlockTableRecord::onAddedToDatabase(AcDbDatabase* db) { entities_.joinDatabase(db, objectId()); }

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const {
  iterator = new AcDbBlockTableRecordIterator(this, atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& p) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  origin_ = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockTableRecord::setComments(const ACHAR* text) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  comments_ = text ? text : L"";
  return Acad::eOk;
}
bool AcDbBlockTableRecord::isLayout() const {
  return name().CompareNoCase(ACDB_MODEL_SPACE) == 0 || name().CompareNoCase(ACDB_PAPER_SPACE) == 0;
}
bool AcDbBlockTableRecord::isAnonymous() const {
  return name().GetLength() >= 2 && name()[0] == L'*' && (name()[1] == L'U' || name()[1] == L'u');
}

// --- iterator ---
AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* record, bool atBeginning,
                                                           bool skipDeleted)
    : record_(record) {
  start(atBeginning, skipDeleted);
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
  pos_ = atBeginning ? 0 : static_cast<long>(record_->entities().size()) - 1;
  skip(atBeginning, skipDeleted);
}
bool AcDbBlockTableRecordIterator::done() const {
  return pos_ < 0 || pos_ >= static_cast<long>(record_->entities().size());
}
void AcDbBlockTableRecordIterator::skip(bool forward, bool skipDeleted) {
  if (!skipDeleted) return;
  while (!done()) {
    AcDbObject* o = record_->entities().objectAt(static_cast<size_t>(pos_));
    if (o && !o->isErased()) return;
    pos_ += forward ? 1 : -1;
  }
}
void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  pos_ += forward ? 1 : -1;
  skip(forward, skipDeleted);
}
Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
  if (done()) return Acad::eIteratorDone;
  id = record_->entities().idAt(static_cast<size_t>(pos_));
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErased) const {
  AcDbObjectId id;
  if (Acad::ErrorStatus es = getEntityId(id)) return es;
  return acdbOpenAcDbEntity(entity, id, mode, openErased);
}
Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(AcDbObjectId id) {
  for (size_t i = 0; i < record_->entities().size(); ++i)
    if (record_->entities().idAt(i) == id) {
      pos_ = static_cast<long>(i);
      return Acad::eOk;
    }
  return Acad::eInvalidInput;
}
