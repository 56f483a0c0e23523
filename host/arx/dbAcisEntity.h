#pragma once
// Solids, regions and bodies: entities that hold one ACIS model as SAT
// text, with a placement that moves it without rewriting the text.
#include <string>

#include "arx/dbEntity.h"

namespace arxhost {

// The model of one such entity.
class AcisModel {
 public:
  bool isNull() const { return sat_.empty(); }
  const std::string& satText() const { return sat_; }
  const AcGeMatrix3d& placement() const { return placement_; }
  // eInvalidInput, unchanged, for text that is not SAT with a body.
  Acad::ErrorStatus setSatText(std::string sat);
  // The text of one body that the SAT reader has just made and checked:
  // taken as it is, without being read once more.
  void adoptReadBody(std::string sat);
  // Rotations, mirrors, translations and one scale factor only.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
  // The SAT text with the placement folded into the body transforms; empty
  // for a null model.
  std::string placedSat() const;

 private:
  std::string sat_;
  AcGeMatrix3d placement_;
};

}  // namespace arxhost

// The members every SAT-holding entity shares.
#define ARXHOST_ACIS_MEMBERS                                                          \
 public:                                                                              \
  bool isNull() const { return model_.isNull(); }                                    \
  /* Host side: the model (SAT text and placement). */                               \
  const arxhost::AcisModel& acisModel() const { return model_; }                     \
  Acad::ErrorStatus setSatText(std::string sat) {                                    \
    ARXHOST_CHECK_WRITE();                                                           \
    return model_.setSatText(std::move(sat));                                        \
  }                                                                                  \
  void adoptReadBody(std::string sat) { model_.adoptReadBody(std::move(sat)); }      \
                                                                                     \
 protected:                                                                          \
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override {             \
    return model_.transformBy(xform);                                                \
  }                                                                                  \
  Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;           \
                                                                                     \
 private:                                                                            \
  arxhost::AcisModel model_;

class AcDbBody : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbBody)
  ARXHOST_ACIS_MEMBERS
 public:
  AcDbBody() = default;
  // New entities, in no database, for the bodies of a SAT file: a
  // 3D solid for each closed body, a region for each open planar one, a
  // body for the rest. eCantOpenFile for a file that cannot be read,
  // eCannotRestoreFromAcisFile for one that is not SAT.
  static Acad::ErrorStatus acisIn(const ACHAR* fileName, AcDbVoidPtrArray& entities);
  // Writes the solids, regions and bodies of the array to one SAT file:
  // eInvalidInput for an empty array, eNullEntityPointer for a null entry,
  // eWrongObjectType for another entity, eDegenerateGeometry for an empty
  // model, eFileAccessErr when the file cannot be written.
  static Acad::ErrorStatus acisOut(const ACHAR* fileName, const AcDbVoidPtrArray& entities);
};

class AcDb3dSolid : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDb3dSolid)
  ARXHOST_ACIS_MEMBERS
 public:
  AcDb3dSolid() = default;
};

class AcDbRegion : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbRegion)
  ARXHOST_ACIS_MEMBERS
 public:
  AcDbRegion() = default;
};

namespace arxhost {
// The model of a solid, region or body; null for any other entity.
const AcisModel* AcisModelOf(const AcDbEntity* entity);
}  // namespace arxhost
