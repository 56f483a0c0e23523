#pragma once
// A multiline of the standard style: two parallel lines half a scale unit
// either side of its vertices, in the plane of its normal.
#include <vector>

#include "arx/dbEntity.h"

class AcDbMline : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbMline)
 public:
  enum MlineJustification { kTop = 0, kZero = 1, kBottom = 2 };

  AcDbMline() = default;
  Acad::ErrorStatus appendSeg(const AcGePoint3d& point);
  Acad::ErrorStatus removeLastSeg(AcGePoint3d& lastPoint);
  int numVertices() const { return static_cast<int>(vertices_.size()); }
  AcGePoint3d vertexAt(int index) const;
  double scale() const { return scale_; }
  Acad::ErrorStatus setScale(double s);
  MlineJustification justification() const { return justification_; }
  Acad::ErrorStatus setJustification(MlineJustification j) { ARXHOST_SET(justification_, j); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  bool closedMline() const { return closed_; }
  Acad::ErrorStatus setClosedMline(bool closed) { ARXHOST_SET(closed_, closed); }
  // The offsets of the two lines from the vertices, in scale units.
  std::vector<double> elementOffsets() const;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  // One line per element and segment, the lines mitred at the vertices.
  Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

 private:
  std::vector<AcGePoint3d> vertices_;
  double scale_ = 1.0;
  MlineJustification justification_ = kTop;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  bool closed_ = false;
};
