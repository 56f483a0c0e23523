#pragma once
// A hatch: boundary loops of straight and bulged segments in its plane
// (normal and elevation) and a pattern name.
#include <vector>

#include "arx/dbEntity.h"
#include "arx/geArrays.h"
#include "mfc/CString.h"

class AcDbHatch : public AcDbEntity {
  ARXHOST_RX_MEMBERS(AcDbHatch)
 public:
  enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
  enum HatchLoopType { kDefault = 0, kExternal = 1, kPolyline = 2, kDerived = 4, kTextbox = 8, kOutermost = 0x10 };

  AcDbHatch() = default;
  Acad::ErrorStatus setPattern(HatchPatternType type, const ACHAR* name);
  HatchPatternType patternType() const { return patternType_; }
  const ACHAR* patternName() const { return pattern_.GetString(); }
  bool isSolidFill() const { return pattern_.CompareNoCase(L"SOLID") == 0; }
  double elevation() const { return elevation_; }
  Acad::ErrorStatus setElevation(double e) { ARXHOST_SET(elevation_, e); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  bool associative() const { return false; }
  // A closed polyline loop: at least two points, bulges empty or one per point.
  Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                               const AcGeDoubleArray& bulges);
  int numLoops() const { return static_cast<int>(loops_.size()); }
  Acad::ErrorStatus getLoopAt(int index, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                              AcGeDoubleArray& bulges) const;
  Acad::ErrorStatus evaluateHatch(bool = false) { return Acad::eOk; }

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  // The boundary: a line or arc per segment of every loop.
  Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

 private:
  struct Loop {
    Adesk::Int32 type = kPolyline;
    std::vector<AcGePoint2d> points;
    std::vector<double> bulges;
  };
  std::vector<Loop> loops_;
  HatchPatternType patternType_ = kPreDefined;
  CString pattern_ = L"SOLID";
  double elevation_ = 0.0;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};
