#pragma once
// Paragraph text: location, contents, height, attachment point, width,
// direction and style.
#include "arx/dbEntity.h"
#include "mfc/CString.h"

class AcDbMText : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbMText)
 public:
  enum AttachmentPoint {
    kTopLeft = 1, kTopCenter = 2, kTopRight = 3, kMiddleLeft = 4, kMiddleCenter = 5, kMiddleRight = 6,
    kBottomLeft = 7, kBottomCenter = 8, kBottomRight = 9
  };
  enum FlowDirection { kLtoR = 1, kRtoL = 2, kTtoB = 3, kBtoT = 4, kByStyle = 5 };

  AcDbMText() = default;

  AcGePoint3d location() const { return location_; }
  Acad::ErrorStatus setLocation(const AcGePoint3d& p) { ARXHOST_SET(location_, p); }
  // A copy made with new[]; the caller releases it with delete[].
  ACHAR* contents() const;
  const CString& contentsText() const { return contents_; }  // host side
  Acad::ErrorStatus setContents(const ACHAR* text);
  double textHeight() const { return height_; }
  // A height must be positive (eInvalidInput).
  Acad::ErrorStatus setTextHeight(double height);
  AttachmentPoint attachment() const { return attachment_; }
  Acad::ErrorStatus setAttachment(AttachmentPoint a);
  double width() const { return width_; }
  Acad::ErrorStatus setWidth(double w);
  double rotation() const;
  Acad::ErrorStatus setRotation(double angle);
  AcGeVector3d direction() const { return direction_; }
  Acad::ErrorStatus setDirection(const AcGeVector3d& d);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  AcDbObjectId textStyle() const { return style_; }
  Acad::ErrorStatus setTextStyle(AcDbObjectId id) { ARXHOST_SET(style_, id); }
  FlowDirection flowDirection() const { return flow_; }
  Acad::ErrorStatus setFlowDirection(FlowDirection f) { ARXHOST_SET(flow_, f); }
  double lineSpacingFactor() const { return spacing_; }
  Acad::ErrorStatus setLineSpacingFactor(double f);

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  AcGePoint3d location_;
  CString contents_;
  double height_ = 0.2, width_ = 0.0, spacing_ = 1.0;
  AttachmentPoint attachment_ = kTopLeft;
  AcGeVector3d direction_ = AcGeVector3d::kXAxis, normal_ = AcGeVector3d::kZAxis;
  AcDbObjectId style_;
  FlowDirection flow_ = kLtoR;
};
