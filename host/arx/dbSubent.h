#pragma once
// Paths to a sub-entity (a face, edge or vertex of an entity); the null path
// names the whole entity.
#include "arx/dbId.h"

class AcDbSubentId {
 public:
  AcDbSubentId() = default;
  AcDbSubentId(AcDb::SubentType type, Adesk::GsMarker index) : type_(type), index_(index) {}
  AcDb::SubentType type() const { return type_; }
  Adesk::GsMarker index() const { return index_; }
  void setType(AcDb::SubentType t) { type_ = t; }
  void setIndex(Adesk::GsMarker i) { index_ = i; }
  bool operator==(const AcDbSubentId& o) const { return type_ == o.type_ && index_ == o.index_; }

 private:
  AcDb::SubentType type_ = AcDb::kNullSubentType;
  Adesk::GsMarker index_ = 0;
};

class AcDbFullSubentPath {
 public:
  AcDbFullSubentPath() = default;
  AcDbFullSubentPath(AcDb::SubentType type, Adesk::GsMarker index) : subent_(type, index) {}
  AcDbFullSubentPath(AcDbObjectId entity, AcDb::SubentType type, Adesk::GsMarker index) : subent_(type, index) {
    ids_.append(entity);
  }
  AcDbFullSubentPath(AcDbObjectId entity, AcDbSubentId subent) : subent_(subent) { ids_.append(entity); }
  AcDbFullSubentPath(const AcDbObjectIdArray& ids, AcDbSubentId subent) : ids_(ids), subent_(subent) {}

  AcDbObjectIdArray& objectIds() { return ids_; }
  const AcDbObjectIdArray& objectIds() const { return ids_; }
  AcDbSubentId& subentId() { return subent_; }
  AcDbSubentId subentId() const { return subent_; }
  bool isNull() const { return subent_.type() == AcDb::kNullSubentType; }

 private:
  AcDbObjectIdArray ids_;
  AcDbSubentId subent_;
};
