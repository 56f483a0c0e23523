#pragma once
// Walks the sub-objects (vertices, face records) of a polyline or mesh
// entity: each one of class T is opened for read, handed to the visitor
// and closed again. An owner that is in no database holds its sub-objects
// itself, and they are visited as they are. A sub-object that cannot be
// opened as a T is passed over: nothing of it can be read.
#include "arx/dbheaders.h"

// The sub-object at the iterator's place, the same way.
template <class T, class Visitor>
static void VisitOne(AcDbObjectIterator* it, Visitor visit) {
  AcDbObjectId id = it->objectId();
  if (id.isNull()) {
    T* object = T::cast(it->entity());
    if (object != NULL) visit(object);
    return;
  }
  AcDbObject* object = NULL;
  if (acdbOpenObject(object, id, T::desc(), AcDb::kForRead) != Acad::eOk) return;
  T* typed = T::cast(object);
  if (typed != NULL) visit(typed);
  object->close();
}

template <class T, class Visitor>
static void VisitSubObjects(AcDbObjectIterator* it, Visitor visit) {
  for (; !it->done(); it->step(false, true)) VisitOne<T>(it, visit);
  delete it;
}
