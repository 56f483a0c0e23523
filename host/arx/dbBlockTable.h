#pragma once
// Blocks: "*Model_Space", "*Paper_Space" and block definitions, each a list
// of entities.
#include "arx/dbSymbolTable.h"
#include "arx/gePoint3d.h"

class AcDbEntity;
class AcDbBlockTableRecordIterator;

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
  ARXHOST_RX_MEMBERS(AcDbBlockTableRecord)
 public:
  AcDbBlockTableRecord() = default;

  // Appends a new entity; the record must be open for write and the entity
  // in no database (eAlreadyInDb). A record that is not yet in a database
  // keeps the entity until the record is added to a block table; the entity
  // gets its id then. The entity stays open.
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  AcGePoint3d origin() const { return origin_; }
  Acad::ErrorStatus setOrigin(const AcGePoint3d& p);
  const ACHAR* comments() const { return comments_.GetString(); }
  Acad::ErrorStatus setComments(const ACHAR* text);
  bool isLayout() const;        // model or paper space
  bool isAnonymous() const;     // a name starting with "*U"
  bool hasAttributeDefinitions() const { return false; }
  bool isFromExternalReference() const { return false; }

  // Host side: the entities in order of appending.
  const arxhost::OwnedObjects& entities() const { return entities_; }

 protected:
  bool allowsLeadingStar() const override { return true; }
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  arxhost::OwnedObjects entities_;
  AcGePoint3d origin_;
  CString comments_;
};

class AcDbBlockTableRecordIterator {
 public:
  AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* record, bool atBeginning, bool skipDeleted);
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErasedEntity = false) const;
  const AcDbBlockTableRecord* blockTableRecord() const { return record_; }
  Acad::ErrorStatus seek(AcDbObjectId id);

 private:
  void skip(bool forward, bool skipDeleted);
  const AcDbBlockTableRecord* record_;
  long pos_ = 0;
};

ARXHOST_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator)

// The names of the two layout blocks.
#define ACDB_MODEL_SPACE L"*Model_Space"
#define ACDB_PAPER_SPACE L"*Paper_Space"
