// The open/close protocol of database objects, ids and owned children.
#include "arx/dbObject.h"

#include <cwchar>
#include <mutex>
#include <new>

#include "arx/dbDatabase.h"
#include "arx/dbEntity.h"
#include "arx/dbObjectIterator.h"
#include "sanitized.h"

ARXHOST_RX_DEFINE(AcDbObject, AcRxObject, L"")

const AcDbObjectId AcDbObjectId::kNull;

namespace arxhost {
namespace {

using build::kSanitized;

// Database objects by size class (16-byte steps), carved from large pages
// that hold nothing else. Among the general allocations they would pin the
// pages of everything freed around them, such as the reader's objects a
// drawing is made from; here they stay together, and a freed object's room
// goes to the next object of its size. Pages are kept for later drawings.
// Under the sanitizers every object is an allocation of its own, so that
// they still see each one.
class ObjectPool {
 public:
  static constexpr std::size_t kLargest = 2048, kStep = 16, kPage = std::size_t{1} << 20;

  static bool Pooled(std::size_t size) { return !kSanitized && size <= kLargest; }

  void* Take(std::size_t size) {
    const std::size_t k = ClassOf(size);
    std::lock_guard hold(lock_);
    if (Free* f = free_[k]) {
      free_[k] = f->next;
      return f;
    }
    const std::size_t bytes = (k + 1) * kStep;
    if (left_ < bytes) {
      // The rest of the page goes to the free lists of the sizes it fits.
      for (std::size_t c = kLargest / kStep; c-- > 0 && left_ >= kStep;)
        while (left_ >= (c + 1) * kStep) Give(c, Carve((c + 1) * kStep));
      at_ = static_cast<char*>(::operator new(kPage));
      left_ = kPage;
    }
    return Carve(bytes);
  }

  void Return(void* p, std::size_t size) {
    std::lock_guard hold(lock_);
    Give(ClassOf(size), p);
  }

 private:
  struct Free {
    Free* next;
  };
  static std::size_t ClassOf(std::size_t size) { return size == 0 ? 0 : (size - 1) / kStep; }
  void* Carve(std::size_t bytes) {
    void* p = at_;
    at_ += bytes;
    left_ -= bytes;
    return p;
  }
  void Give(std::size_t k, void* p) { free_[k] = ::new (p) Free{free_[k]}; }

  std::mutex lock_;
  Free* free_[kLargest / kStep] = {};
  char* at_ = nullptr;
  std::size_t left_ = 0;
};

// Never destroyed: objects may outlive every other static.
ObjectPool& ThePool() {
  static ObjectPool* pool = new ObjectPool;
  return *pool;
}

}  // namespace
}  // namespace arxhost

void* AcDbObject::operator new(std::size_t size) {
  return arxhost::ObjectPool::Pooled(size) ? arxhost::ThePool().Take(size) : ::operator new(size);
}

void AcDbObject::operator delete(void* p, std::size_t size) noexcept {
  if (!p) return;
  if (arxhost::ObjectPool::Pooled(size)) arxhost::ThePool().Return(p, size);
  else ::operator delete(p);
}

AcDbObject::AcDbObject() = default;
AcDbObject::~AcDbObject() = default;

AcDbDatabase* AcDbObject::database() const { return db_; }

Acad::ErrorStatus AcDbObject::close() {
  if (!db_ && !pendingOwner_) return Acad::eNotInDatabase;
  if (writer_) {
    writer_ = false;
    return Acad::eOk;
  }
  if (readers_ > 0) {
    --readers_;
    return Acad::eOk;
  }
  return Acad::eNotOpenForRead;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  if (writer_) return Acad::eWasOpenForWrite;
  if (readers_ == 0) return Acad::eNotOpenForRead;
  if (readers_ > 1) return Acad::eHadMultipleReaders;
  readers_ = 0;
  writer_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  if (!writer_) return Acad::eWasNotOpenForWrite;
  if (!db_ && !pendingOwner_) return Acad::eNotInDatabase;
  writer_ = false;
  readers_ = 1;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
  if (!writer_) return Acad::eNotOpenForWrite;
  if (!db_) return Acad::eNotInDatabase;
  if (erasing && erased_) return Acad::eWasErased;
  erased_ = erasing;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::appendOwned(arxhost::OwnedObjects& list, AcDbObject* child, AcDbObjectId& id) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (!child) return Acad::eNullObjectPointer;
  if (child->db_ || child->pendingOwner_) return Acad::eAlreadyInDb;
  if (!db_) {
    list.hold(this, std::unique_ptr<AcDbObject>(child));
    id = AcDbObjectId();
    return Acad::eOk;
  }
  AcDbObjectId newId;
  Acad::ErrorStatus es = db_->store().adopt(child, id_, newId);
  if (es != Acad::eOk) return es;
  list.addId(newId);
  id = newId;
  return Acad::eOk;
}

// --- ids ---
bool AcDbObjectId::isValid() const { return arxhost::PeekObject(*this) != nullptr; }
bool AcDbObjectId::isErased() const {
  AcDbObject* o = arxhost::PeekObject(*this);
  return o && o->isErased();
}
AcDbDatabase* AcDbObjectId::database() const { return arxhost::DatabaseStore::databaseOf(*this); }
AcDbHandle AcDbObjectId::handle() const {
  AcDbObject* o = arxhost::PeekObject(*this);
  return o ? o->objectHandle() : AcDbHandle();
}
AcRxClass* AcDbObjectId::objectClass() const {
  AcDbObject* o = arxhost::PeekObject(*this);
  return o ? o->isA() : nullptr;
}

void AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer, size_t size) const {
  if (!buffer || size == 0) return;
  std::swprintf(buffer, size, L"%llX", static_cast<unsigned long long>(value_));
}

AcDbObject* arxhost::PeekObject(AcDbObjectId id) {
  AcDbDatabase* db = DatabaseStore::databaseOf(id);
  return db ? db->store().lookup(id) : nullptr;
}

// --- owned children ---
void arxhost::OwnedObjects::hold(const AcDbObject* owner, std::unique_ptr<AcDbObject> object) {
  object->pendingOwner_ = owner;
  items_.push_back({AcDbObjectId(), std::move(object)});
}

void arxhost::OwnedObjects::joinDatabase(AcDbDatabase* db, AcDbObjectId ownerId) {
  for (Item& item : items_) {
    if (!item.held) continue;
    AcDbObject* o = item.held.release();
    AcDbObjectId id;
    if (db->store().adopt(o, ownerId, id) == Acad::eOk) {
      item.id = id;
    } else {
      item.held.reset(o);  // keep it rather than lose it
    }
  }
}

AcDbObject* arxhost::OwnedObjects::objectAt(size_t i) const {
  const Item& item = items_.at(i);
  return item.held ? item.held.get() : PeekObject(item.id);
}

size_t arxhost::OwnedObjects::liveCount() const {
  size_t n = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    AcDbObject* o = objectAt(i);
    if (o && !o->isErased()) ++n;
  }
  return n;
}

// --- iterator over children ---
AcDbObjectIterator::AcDbObjectIterator(const arxhost::OwnedObjects& children) : children_(children) {
  skipErasedForward();
}

bool AcDbObjectIterator::done() const { return pos_ < 0 || pos_ >= static_cast<long>(children_.size()); }

void AcDbObjectIterator::start(bool atEnd) {
  if (atEnd) {
    pos_ = static_cast<long>(children_.size()) - 1;
    while (pos_ >= 0) {
      AcDbObject* o = children_.objectAt(static_cast<size_t>(pos_));
      if (o && !o->isErased()) break;
      --pos_;
    }
  } else {
    pos_ = 0;
    skipErasedForward();
  }
}

void AcDbObjectIterator::skipErasedForward() {
  while (!done()) {
    AcDbObject* o = children_.objectAt(static_cast<size_t>(pos_));
    if (o && !o->isErased()) break;
    ++pos_;
  }
}

bool AcDbObjectIterator::step(bool backwards, bool skipErased) {
  if (done()) return false;
  for (;;) {
    pos_ += backwards ? -1 : 1;
    if (done()) return false;
    AcDbObject* o = children_.objectAt(static_cast<size_t>(pos_));
    if (!skipErased || (o && !o->isErased())) return true;
  }
}

AcDbObjectId AcDbObjectIterator::objectId() const {
  return done() ? AcDbObjectId() : children_.idAt(static_cast<size_t>(pos_));
}

AcDbEntity* AcDbObjectIterator::entity() {
  return done() ? nullptr : AcDbEntity::cast(children_.objectAt(static_cast<size_t>(pos_)));
}

void AcDbObjectIterator::setPosition(AcDbObjectId id) {
  for (size_t i = 0; i < children_.size(); ++i)
    if (children_.idAt(i) == id) {
      pos_ = static_cast<long>(i);
      return;
    }
}
