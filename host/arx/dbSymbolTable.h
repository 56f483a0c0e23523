#pragma once
#include <string>
#include <unordered_map>
#include <vector>
// Symbol tables and their records: names compared without regard to case,
// erased records skipped unless asked for.
#include "arx/dbObject.h"
#include "mfc/CString.h"

class AcDbSymbolTableRecord;
class AcDbSymbolTableIterator;

class AcDbSymbolTableRecord : public AcDbObject {
  ARXHOST_RX_MEMBERS(AcDbSymbolTableRecord)
 public:
  // A copy made with new[]; the caller releases it with delete[].
  Acad::ErrorStatus getName(ACHAR*& name) const;
  // The record's own text, valid while the record is open and unchanged.
  Acad::ErrorStatus getName(const ACHAR*& name) const;
  Acad::ErrorStatus getName(CString& name) const;
  const CString& name() const { return name_; }
  // Refuses an empty name and names with < > / \ " : ; ? * | , = ` or
  // leading or trailing blanks (eInvalidSymbolTableName); block names may
  // start with '*'.
  Acad::ErrorStatus setName(const ACHAR* name);
  bool isDependent() const { return false; }
  bool isResolved() const { return true; }

 protected:
  virtual bool allowsLeadingStar() const { return false; }

 private:
  CString name_;
};

class AcDbSymbolTable : public AcDbObject {
  ARXHOST_RX_MEMBERS(AcDbSymbolTable)
 public:
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord = false) const;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                          bool openErasedRecord = false) const;
  bool has(const ACHAR* name) const;
  bool has(AcDbObjectId id) const;
  Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  // Host side: the records in the order they were added.
  const arxhost::OwnedObjects& records() const { return records_; }

 protected:
  // The record class this table takes.
  virtual AcRxClass* recordClass() const = 0;
  AcDbObjectId find(const ACHAR* name, bool includeErased) const;

 private:
  friend class AcDbDatabase;
  friend class AcDbSymbolTableRecord;
  // The records by their name in capitals, in table order, so that a name
  // is found without walking every record (a drawing read from a file may
  // hold tens of thousands). Made again when records were added behind
  // its back or renamed.
  void dropNameIndex() const { indexed_ = 0; }
  const std::vector<AcDbObjectId>* recordsNamed(const ACHAR* name) const;
  arxhost::OwnedObjects records_;
  mutable std::unordered_map<std::wstring, std::vector<AcDbObjectId>> byName_;
  mutable size_t indexed_ = 0;
};

class AcDbSymbolTableIterator {
 public:
  AcDbSymbolTableIterator(const AcDbSymbolTable* table, bool atBeginning, bool skipDeleted);
  virtual ~AcDbSymbolTableIterator() = default;
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                              bool openErasedRecord = false) const;
  Acad::ErrorStatus seek(AcDbObjectId id);

 private:
  void skip(bool forward, bool skipDeleted);
  const AcDbSymbolTable* table_;
  long pos_ = 0;
};

// The typed tables share the base's work and add the record types; the
// record class must be complete where this is used.
#define ARXHOST_SYMBOL_TABLE(TABLE, RECORD, ITERATOR)                                                     \
  class ITERATOR : public AcDbSymbolTableIterator {                                                      \
   public:                                                                                               \
    using AcDbSymbolTableIterator::AcDbSymbolTableIterator;                                              \
    using AcDbSymbolTableIterator::getRecord;                                                            \
    Acad::ErrorStatus getRecord(RECORD*& record, AcDb::OpenMode mode, bool openErasedRecord = false) const { \
      AcDbSymbolTableRecord* r = nullptr;                                                                \
      Acad::ErrorStatus es = AcDbSymbolTableIterator::getRecord(r, mode, openErasedRecord);             \
      record = static_cast<RECORD*>(r);                                                             \
      return es;                                                                                         \
    }                                                                                                    \
  };                                                                                                     \
  class TABLE : public AcDbSymbolTable {                                                                 \
    ARXHOST_RX_MEMBERS(TABLE)                                                                            \
   public:                                                                                               \
    using AcDbSymbolTable::add;                                                                          \
    using AcDbSymbolTable::getAt;                                                                        \
    using AcDbSymbolTable::newIterator;                                                                  \
    Acad::ErrorStatus getAt(const ACHAR* name, RECORD*& record, AcDb::OpenMode mode,                    \
                            bool openErasedRecord = false) const {                                       \
      AcDbSymbolTableRecord* r = nullptr;                                                                \
      Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, r, mode, openErasedRecord);                    \
      record = static_cast<RECORD*>(r);                                                             \
      return es;                                                                                         \
    }                                                                                                    \
    Acad::ErrorStatus add(RECORD* record) { return AcDbSymbolTable::add(static_cast<AcDbSymbolTableRecord*>(record)); } \
    Acad::ErrorStatus add(AcDbObjectId& id, RECORD* record) {                                            \
      return AcDbSymbolTable::add(id, static_cast<AcDbSymbolTableRecord*>(record));                 \
    }                                                                                                    \
    Acad::ErrorStatus newIterator(ITERATOR*& iterator, bool atBeginning = true, bool skipDeleted = true) const { \
      iterator = new ITERATOR(this, atBeginning, skipDeleted);                                           \
      return Acad::eOk;                                                                                  \
    }                                                                                                    \
                                                                                                         \
   protected:                                                                                            \
    AcRxClass* recordClass() const override;                                                             \
  };
