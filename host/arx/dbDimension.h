#pragma once
// Dimensions: the definition points of each kind, the text and its
// position, the style and the variables the dimension overrides.
#include "arx/dbDimVars.h"
#include "arx/dbEntity.h"
#include "mfc/CString.h"

class AcDbDimension : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbDimension)
 public:
  AcGePoint3d textPosition() const;
  Acad::ErrorStatus setTextPosition(const AcGePoint3d& p);
  bool isUsingDefaultTextPosition() const { return !textPositionSet_; }
  Acad::ErrorStatus useDefaultTextPosition() { ARXHOST_SET(textPositionSet_, false); }
  AcDbObjectId dimensionStyle() const { return style_; }
  Acad::ErrorStatus setDimensionStyle(AcDbObjectId id);
  // A copy made with new[]; the caller releases it with delete[]. "<>"
  // stands for the measurement, the empty text for the measurement alone.
  ACHAR* dimensionText() const;
  const CString& dimensionTextString() const { return text_; }  // host side
  Acad::ErrorStatus setDimensionText(const ACHAR* text) { ARXHOST_SET(text_, text ? text : L""); }
  AcDbObjectId dimBlockId() const { return block_; }
  Acad::ErrorStatus setDimBlockId(AcDbObjectId id) { ARXHOST_SET(block_, id); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double elevation() const { return elevation_; }
  Acad::ErrorStatus setElevation(double e) { ARXHOST_SET(elevation_, e); }
  double textRotation() const { return textRotation_; }
  Acad::ErrorStatus setTextRotation(double a) { ARXHOST_SET(textRotation_, a); }
  virtual Acad::ErrorStatus measurement(double& value) const = 0;

  ARXHOST_DIMVARS(ARXHOST_DIMVAR_OVERRIDE)
  const arxhost::DimOverrides& dimOverrides() const { return overrides_; }

 protected:
  AcDbDimension(const ACHAR* text, AcDbObjectId style);
  virtual AcGePoint3d defaultTextPosition() const = 0;
  void moveCommon(const AcGeMatrix3d& xform);
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  arxhost::DimVars styleVars() const { return arxhost::StyleVars(style_, database()); }
  AcGePoint3d textPosition_;
  bool textPositionSet_ = false;
  AcDbObjectId style_, block_;
  CString text_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double elevation_ = 0.0, textRotation_ = 0.0;
  arxhost::DimOverrides overrides_;
};

// A linear dimension measured along a direction (the rotation in its plane).
class AcDbRotatedDimension : public AcDbDimension {
  ARXHOST_RX_MEMBERS(AcDbRotatedDimension)
 public:
  AcDbRotatedDimension() : AcDbDimension(nullptr, AcDbObjectId()) {}
  AcDbRotatedDimension(double rotation, const AcGePoint3d& xLine1Point, const AcGePoint3d& xLine2Point,
                       const AcGePoint3d& dimLinePoint, const ACHAR* dimText = nullptr,
                       AcDbObjectId dimStyle = AcDbObjectId::kNull);
  AcGePoint3d xLine1Point() const { return x1_; }
  AcGePoint3d xLine2Point() const { return x2_; }
  AcGePoint3d dimLinePoint() const { return dimLine_; }
  double rotation() const { return rotation_; }
  double oblique() const { return oblique_; }
  Acad::ErrorStatus setXLine1Point(const AcGePoint3d& p) { ARXHOST_SET(x1_, p); }
  Acad::ErrorStatus setXLine2Point(const AcGePoint3d& p) { ARXHOST_SET(x2_, p); }
  Acad::ErrorStatus setDimLinePoint(const AcGePoint3d& p) { ARXHOST_SET(dimLine_, p); }
  Acad::ErrorStatus setRotation(double a) { ARXHOST_SET(rotation_, a); }
  Acad::ErrorStatus setOblique(double a) { ARXHOST_SET(oblique_, a); }
  Acad::ErrorStatus measurement(double& value) const override;

 protected:
  AcGePoint3d defaultTextPosition() const override;
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGeVector3d direction() const;
  AcGePoint3d x1_, x2_, dimLine_;
  double rotation_ = 0.0, oblique_ = 0.0;
};

// A radius: centre, the point on the curve, and the leader's length.
class AcDbRadialDimension : public AcDbDimension {
  ARXHOST_RX_MEMBERS(AcDbRadialDimension)
 public:
  AcDbRadialDimension() : AcDbDimension(nullptr, AcDbObjectId()) {}
  AcDbRadialDimension(const AcGePoint3d& center, const AcGePoint3d& chordPoint, double leaderLength,
                      const ACHAR* dimText = nullptr, AcDbObjectId dimStyle = AcDbObjectId::kNull);
  AcGePoint3d center() const { return center_; }
  AcGePoint3d chordPoint() const { return chord_; }
  double leaderLength() const { return leader_; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& p) { ARXHOST_SET(center_, p); }
  Acad::ErrorStatus setChordPoint(const AcGePoint3d& p) { ARXHOST_SET(chord_, p); }
  Acad::ErrorStatus setLeaderLength(double l) { ARXHOST_SET(leader_, l); }
  Acad::ErrorStatus measurement(double& value) const override;

 protected:
  AcGePoint3d defaultTextPosition() const override;
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d center_, chord_;
  double leader_ = 0.0;
};

// An angle by its vertex, a point on each leg and a point on the arc.
class AcDb3PointAngularDimension : public AcDbDimension {
  ARXHOST_RX_MEMBERS(AcDb3PointAngularDimension)
 public:
  AcDb3PointAngularDimension() : AcDbDimension(nullptr, AcDbObjectId()) {}
  AcDb3PointAngularDimension(const AcGePoint3d& centerPoint, const AcGePoint3d& xLine1Point,
                             const AcGePoint3d& xLine2Point, const AcGePoint3d& arcPoint,
                             const ACHAR* dimText = nullptr, AcDbObjectId dimStyle = AcDbObjectId::kNull);
  AcGePoint3d centerPoint() const { return center_; }
  AcGePoint3d xLine1Point() const { return x1_; }
  AcGePoint3d xLine2Point() const { return x2_; }
  AcGePoint3d arcPoint() const { return arc_; }
  Acad::ErrorStatus setCenterPoint(const AcGePoint3d& p) { ARXHOST_SET(center_, p); }
  Acad::ErrorStatus setXLine1Point(const AcGePoint3d& p) { ARXHOST_SET(x1_, p); }
  Acad::ErrorStatus setXLine2Point(const AcGePoint3d& p) { ARXHOST_SET(x2_, p); }
  Acad::ErrorStatus setArcPoint(const AcGePoint3d& p) { ARXHOST_SET(arc_, p); }
  Acad::ErrorStatus measurement(double& value) const override;

 protected:
  AcGePoint3d defaultTextPosition() const override { return arc_; }
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

 private:
  AcGePoint3d center_, x1_, x2_, arc_;
};
