#pragma once
// Read access to a database for tests and the drawing writer: which objects
// are open, every table and record, every entity, without opening anything.
#include <vector>

#include "arx/dbDatabase.h"

class AcDbSymbolTable;

namespace arxhost {

// Replaces the working database with a new default drawing. Pointers to
// objects of the old one dangle afterwards; its ids open nothing.
void ResetWorkingDatabase();

struct OpenState {
  AcDbObjectId id;
  AcRxClass* cls = nullptr;
  bool forWrite = false;
  int readers = 0;
};

class DatabaseInspector {
 public:
  // The working database (whichever it is at each call) unless another is
  // named.
  explicit DatabaseInspector(AcDbDatabase* db = nullptr) : fixed_(db) {}

  AcDbDatabase* database() const;
  // Every object open now (read or write), in order of creation.
  std::vector<OpenState> openObjects() const;
  bool isOpen(AcDbObjectId id) const;
  bool isOpenForWrite(AcDbObjectId id) const;

  // The object behind an id, not opened; null for another class or a
  // stale id.
  template <class T>
  T* get(AcDbObjectId id) const {
    return T::cast(PeekObject(id));
  }

  // Record ids of a table in order (erased records left out unless asked).
  std::vector<AcDbObjectId> blocks(bool includeErased = false) const;
  std::vector<AcDbObjectId> layers(bool includeErased = false) const;
  std::vector<AcDbObjectId> dimStyles(bool includeErased = false) const;
  std::vector<AcDbObjectId> linetypes(bool includeErased = false) const;
  std::vector<AcDbObjectId> textStyles(bool includeErased = false) const;
  // A record by name (case-insensitive), or the null id.
  AcDbObjectId block(const ACHAR* name) const;
  AcDbObjectId layer(const ACHAR* name) const;
  AcDbObjectId dimStyle(const ACHAR* name) const;
  // The entities of a block in order (model space by default).
  std::vector<AcDbObjectId> entities(const ACHAR* blockName = L"*Model_Space", bool includeErased = false) const;
  std::vector<AcDbObjectId> entitiesOf(AcDbObjectId blockId, bool includeErased = false) const;
  // Every object of the database in order of creation.
  std::vector<AcDbObject*> allObjects() const;

 private:
  std::vector<AcDbObjectId> recordsOf(AcDbObjectId tableId, bool includeErased) const;
  AcDbObjectId recordOf(AcDbObjectId tableId, const ACHAR* name) const;
  AcDbDatabase* fixed_;
};

}  // namespace arxhost
