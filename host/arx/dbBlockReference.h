#pragma once
// An insert of a block definition, placed by its block transform.
#include "arx/dbEntity.h"

class AcGeScale3d {
 public:
  AcGeScale3d() = default;
  explicit AcGeScale3d(double s) : sx(s), sy(s), sz(s) {}
  AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
  double operator[](int i) const { return i == 0 ? sx : (i == 1 ? sy : sz); }
  double sx = 1.0, sy = 1.0, sz = 1.0;
};

class AcDbBlockReference : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbBlockReference)
 public:
  AcDbBlockReference() = default;
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);

  AcDbObjectId blockTableRecord() const { return block_; }
  // eNullObjectId, or eWrongObjectType for an id that is not a block.
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
  AcGeMatrix3d blockTransform() const { return xform_; }
  // The transform must keep right angles (rotation, mirror, translation,
  // scale per axis): eInvalidInput for shear or perspective.
  Acad::ErrorStatus setBlockTransform(const AcGeMatrix3d& xform);
  AcGePoint3d position() const;
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  AcGeScale3d scaleFactors() const;
  // Rotation about the normal, measured in its plane (arbitrary-axis rule).
  double rotation() const;
  AcGeVector3d normal() const;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcDbObjectId block_;
  AcGeMatrix3d xform_;
};
