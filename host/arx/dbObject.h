#pragma once
// The base of every object of a drawing database, with the open/close
// protocol: a new object counts as open for write until it is closed; a
// database-resident object is opened through its id by any number of readers
// or by one writer, and closed again; it is never deleted by its user.
#include <memory>
#include <vector>

#include "arx/ErrorStatus.h"
#include "arx/dbId.h"
#include "arx/rxobject.h"

namespace arxhost {
class DatabaseStore;
class OwnedObjects;
}

// Returns from a setter when the object is not open for write, else stores.
#define ARXHOST_SET(field, value)                                  \
  do {                                                              \
    if (Acad::ErrorStatus es_ = checkWrite()) return es_;           \
    field = (value);                                                \
    return Acad::eOk;                                               \
  } while (0)
#define ARXHOST_CHECK_WRITE()                                       \
  do {                                                              \
    if (Acad::ErrorStatus es_ = checkWrite()) return es_;           \
  } while (0)

class AcDbObject : public AcRxObject {
  ARXHOST_RX_MEMBERS(AcDbObject)
 public:
  AcDbObject();
  ~AcDbObject() override;
  // Objects come from pages of their own (arxhost::ObjectPool), apart from
  // the many short-lived allocations made while a drawing is built.
  static void* operator new(std::size_t size);
  static void operator delete(void* p, std::size_t size) noexcept;
  AcDbObject(const AcDbObject&) = delete;
  AcDbObject& operator=(const AcDbObject&) = delete;

  AcDbObjectId objectId() const { return id_; }
  AcDbObjectId ownerId() const { return owner_; }
  AcDbDatabase* database() const;
  AcDbHandle objectHandle() const { return handle_; }
  void getAcDbHandle(AcDbHandle& handle) const { handle = handle_; }

  // Ends one open: the writer's, else one reader's. An object that is in no
  // database and has no owner cannot be closed (eNotInDatabase; it stays
  // its creator's to delete); closing an object that is not open gives
  // eNotOpenForRead.
  Acad::ErrorStatus close();
  Acad::ErrorStatus upgradeOpen();
  Acad::ErrorStatus downgradeOpen();
  // Erasing needs the object open for write; an object outside a database
  // cannot be erased (eNotInDatabase).
  Acad::ErrorStatus erase(bool erasing = true);

  bool isErased() const { return erased_; }
  bool isReadEnabled() const { return writer_ || readers_ > 0; }
  bool isWriteEnabled() const { return writer_; }
  bool isNotifyEnabled() const { return false; }
  bool isNewObject() const { return id_.isNull(); }
  bool isDatabaseResident() const { return !id_.isNull(); }
  int numReaders() const { return readers_; }
  // Host side: held by an owner that is not yet in a database.
  bool isHeldByOwner() const { return pendingOwner_ != nullptr; }

 protected:
  // eOk when the object may be changed now, else eNotOpenForWrite.
  Acad::ErrorStatus checkWrite() const { return writer_ ? Acad::eOk : Acad::eNotOpenForWrite; }
  // Appends a new child to this owner's list: into the database when the
  // owner is in one, else held until it joins. The child stays open.
  Acad::ErrorStatus appendOwned(arxhost::OwnedObjects& list, AcDbObject* child, AcDbObjectId& id);
  // Called once the object has joined a database (its id is set): owners
  // move the children they hold into the database here.
  virtual void onAddedToDatabase(AcDbDatabase* db) {}

 private:
  friend class arxhost::DatabaseStore;
  friend class arxhost::OwnedObjects;
  friend class AcDbDatabase;
  AcDbDatabase* db_ = nullptr;
  AcDbObjectId id_;
  AcDbObjectId owner_;
  const AcDbObject* pendingOwner_ = nullptr;  // owner that holds this object before it joins a database
  AcDbHandle handle_;
  int readers_ = 0;
  bool writer_ = true;
  bool erased_ = false;
};

namespace arxhost {

// The ordered children of an owner (the entities of a block, the vertices of
// a polyline, the records of a table): ids once in a database, the objects
// themselves while the owner is not yet.
class OwnedObjects {
 public:
  // Takes the object; the owner is not yet in a database.
  void hold(const AcDbObject* owner, std::unique_ptr<AcDbObject> object);
  void addId(AcDbObjectId id) { items_.push_back({id, nullptr}); }
  // Moves every held object into db with ownerId as its owner.
  void joinDatabase(AcDbDatabase* db, AcDbObjectId ownerId);

  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  // The object at i (resident or held), without opening it; null when gone.
  AcDbObject* objectAt(size_t i) const;
  AcDbObjectId idAt(size_t i) const { return items_[i].id; }
  // The number of children that are not erased.
  size_t liveCount() const;

 private:
  struct Item {
    AcDbObjectId id;
    std::unique_ptr<AcDbObject> held;
  };
  std::vector<Item> items_;
};

// The object of an id without opening it (null for a stale or null id).
AcDbObject* PeekObject(AcDbObjectId id);

}  // namespace arxhost
