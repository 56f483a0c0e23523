#pragma once
// The lightweight polyline: 2D vertices in its plane (normal and
// elevation), each with a bulge and widths. Segment i runs from vertex i to
// the next (to the first when closed); the parameter counts vertices.
#include <vector>

#include "arx/dbCurve.h"
#include "arx/geCircArc3d.h"
#include "arx/geLineSeg3d.h"

class AcDbPolyline : public AcDbCurve {
  ARXHOST_RX_MEMBERS(AcDbPolyline)
 public:
  enum SegType { kLine = 0, kArc = 1, kCoincident = 2, kPoint = 3, kEmpty = 4 };

  AcDbPolyline() = default;
  explicit AcDbPolyline(unsigned int numVerts) { vertices_.reserve(numVerts); }

  // index at most numVerts(), else eInvalidIndex.
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge = 0.0,
                                double startWidth = -1.0, double endWidth = -1.0);
  Acad::ErrorStatus removeVertexAt(unsigned int index);
  unsigned int numVerts() const { return static_cast<unsigned int>(vertices_.size()); }
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& point) const;  // world
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& point) const;  // in the plane
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& point);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
  SegType segType(unsigned int index) const;
  // eWrongSubentityType when the segment is not of that kind. The arc runs
  // counter-clockwise about its own normal (the plane's, or its opposite
  // for a clockwise bulge).
  Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg3d& seg) const;
  Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const;
  Acad::ErrorStatus setClosed(bool closed) { ARXHOST_SET(closed_, closed); }
  double elevation() const { return elevation_; }
  Acad::ErrorStatus setElevation(double e) { ARXHOST_SET(elevation_, e); }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double t) { ARXHOST_SET(thickness_, t); }
  Acad::ErrorStatus getConstantWidth(double& width) const;
  Acad::ErrorStatus setConstantWidth(double width);

  bool isClosed() const override { return closed_; }
  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

 protected:
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

 private:
  struct Vertex {
    AcGePoint2d point;
    double bulge = 0.0, startWidth = 0.0, endWidth = 0.0;
  };
  AcGePoint3d toWorld(const AcGePoint2d& p) const;
  unsigned int segmentCount() const;
  std::vector<Vertex> vertices_;
  bool closed_ = false;
  double elevation_ = 0.0, thickness_ = 0.0;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};
