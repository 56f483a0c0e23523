#pragma once
// Walks the children of an owner (the vertices of a polyline or mesh).
#include "arx/dbObject.h"

class AcDbEntity;

class AcDbObjectIterator {
 public:
  // Host side: the iterator walks the owner's children.
  explicit AcDbObjectIterator(const arxhost::OwnedObjects& children);
  virtual ~AcDbObjectIterator() = default;

  bool done() const;
  void start(bool atEnd = false);
  // Moves on by one; skips erased children unless told not to.
  bool step(bool backwards = false, bool skipErased = true);
  AcDbObjectId objectId() const;
  // The child itself without opening it (also for an owner that is not yet
  // in a database, whose children have no ids).
  AcDbEntity* entity();
  void setPosition(AcDbObjectId id);

 private:
  void skipErasedForward();
  const arxhost::OwnedObjects& children_;
  long pos_ = 0;
};
