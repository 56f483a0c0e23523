#pragma once
// A single line of text: position (and alignment point), string, height,
// rotation, style and justification.
#include "arx/dbEntity.h"
#include "mfc/CString.h"

class AcDbText : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbText)
 public:
  AcDbText() = default;
  // A height of 0 takes the style's fixed height, or the drawing's default
  // text size (0.2), when the text joins a drawing.
  AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId::kNull,
           double height = 0.0, double rotation = 0.0);

  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p) { ARXHOST_SET(position_, p); }
  AcGePoint3d alignmentPoint() const { return alignment_; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p) { ARXHOST_SET(alignment_, p); }
  bool isDefaultAlignment() const { return horz_ == AcDb::kTextLeft && vert_ == AcDb::kTextBase; }
  // A copy made with new[]; the caller releases it with delete[].
  ACHAR* textString() const;
  const ACHAR* textStringConst() const { return text_.GetString(); }
  Acad::ErrorStatus setTextString(const ACHAR* text) { ARXHOST_SET(text_, text ? text : L""); }
  double height() const { return height_; }
  Acad::ErrorStatus setHeight(double h);
  double rotation() const { return rotation_; }
  Acad::ErrorStatus setRotation(double a) { ARXHOST_SET(rotation_, a); }
  double widthFactor() const { return widthFactor_; }
  Acad::ErrorStatus setWidthFactor(double f);
  double oblique() const { return oblique_; }
  Acad::ErrorStatus setOblique(double a) { ARXHOST_SET(oblique_, a); }
  AcDbObjectId textStyle() const { return style_; }
  Acad::ErrorStatus setTextStyle(AcDbObjectId id) { ARXHOST_SET(style_, id); }
  AcDb::TextHorzMode horizontalMode() const { return horz_; }
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode m) { ARXHOST_SET(horz_, m); }
  AcDb::TextVertMode verticalMode() const { return vert_; }
  Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode m) { ARXHOST_SET(vert_, m); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double t) { ARXHOST_SET(thickness_, t); }

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  AcGePoint3d position_, alignment_;
  CString text_;
  double height_ = 0.0, rotation_ = 0.0, widthFactor_ = 1.0, oblique_ = 0.0, thickness_ = 0.0;
  AcDbObjectId style_;
  AcDb::TextHorzMode horz_ = AcDb::kTextLeft;
  AcDb::TextVertMode vert_ = AcDb::kTextBase;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};
