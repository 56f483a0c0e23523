#pragma once
// A leader: a chain of vertices from the arrow head on, drawn with the
// dimension variables of its style and its own overrides.
#include <vector>

#include "arx/dbCurve.h"
#include "arx/dbDimVars.h"

class AcDbLeader : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbLeader)
 public:
  AcDbLeader() = default;

  // Appends a vertex; false for a point that is not finite.
  Adesk::Boolean appendVertex(const AcGePoint3d& point);
  Adesk::Boolean setVertexAt(int index, const AcGePoint3d& point);
  void removeLastVertex();
  int numVertices() const { return static_cast<int>(vertices_.size()); }
  AcGePoint3d vertexAt(int index) const;
  AcGePoint3d firstVertex() const { return vertexAt(0); }
  AcGePoint3d lastVertex() const { return vertexAt(numVertices() - 1); }
  AcGeVector3d normal() const { return normal_; }
  bool hasArrowHead() const { return arrow_; }
  Acad::ErrorStatus enableArrowHead() { ARXHOST_SET(arrow_, true); }
  Acad::ErrorStatus disableArrowHead() { ARXHOST_SET(arrow_, false); }
  AcDbObjectId dimensionStyle() const { return style_; }
  Acad::ErrorStatus setDimensionStyle(AcDbObjectId id);

  ARXHOST_DIMVARS(ARXHOST_DIMVAR_OVERRIDE)
  const arxhost::DimOverrides& dimOverrides() const { return overrides_; }

  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double t, AcGePoint3d& point) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  arxhost::DimVars styleVars() const { return arxhost::StyleVars(style_, database()); }
  std::vector<AcGePoint3d> vertices_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  bool arrow_ = true;
  AcDbObjectId style_;
  arxhost::DimOverrides overrides_;
};
