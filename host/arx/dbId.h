#pragma once
// Object ids and handles, and the enumerations of the database interface.
#include <cstdint>
#include <functional>

#include "arx/AcArray.h"
#include "arx/adesk.h"

class AcDbDatabase;
class AcRxClass;

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
enum Visibility { kVisible = 0, kInvisible = 1 };
enum Poly2dType { k2dSimplePoly = 0, k2dFitCurvePoly = 1, k2dQuadSplinePoly = 2, k2dCubicSplinePoly = 3 };
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
enum PolyMeshType { kSimpleMesh = 0, kQuadSurfaceMesh = 5, kCubicSurfaceMesh = 6, kBezierSurfaceMesh = 8 };
enum Vertex2dType { k2dVertex = 0, k2dSplineCtlVertex = 1, k2dSplineFitVertex = 2, k2dCurveFitVertex = 3 };
enum Vertex3dType { k3dSimpleVertex = 0, k3dControlVertex = 1, k3dFitVertex = 2 };
enum PolyMeshVertexType { kSimpleMeshVertex = 0, kControlMeshVertex = 1, kFitMeshVertex = 2 };
enum TextHorzMode { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
enum LineWeight : int {
  kLnWt000 = 0, kLnWt005 = 5, kLnWt009 = 9, kLnWt013 = 13, kLnWt015 = 15, kLnWt018 = 18, kLnWt020 = 20,
  kLnWt025 = 25, kLnWt030 = 30, kLnWt035 = 35, kLnWt040 = 40, kLnWt050 = 50, kLnWt053 = 53, kLnWt060 = 60,
  kLnWt070 = 70, kLnWt080 = 80, kLnWt090 = 90, kLnWt100 = 100, kLnWt106 = 106, kLnWt120 = 120,
  kLnWt140 = 140, kLnWt158 = 158, kLnWt200 = 200, kLnWt211 = 211,
  kLnWtByLayer = -1, kLnWtByBlock = -2, kLnWtByLwDefault = -3
};
enum SubentType { kNullSubentType = 0, kFaceSubentType = 1, kEdgeSubentType = 2, kVertexSubentType = 3 };
}  // namespace AcDb

// A persistent handle: a 64-bit number unique within one database.
class AcDbHandle {
 public:
  AcDbHandle() = default;
  explicit AcDbHandle(Adesk::UInt64 value) : value_(value) {}
  bool isNull() const { return value_ == 0; }
  Adesk::UInt64 value() const { return value_; }
  bool operator==(const AcDbHandle& o) const { return value_ == o.value_; }
  bool operator!=(const AcDbHandle& o) const { return value_ != o.value_; }
  // Upper-case hexadecimal without leading zeros, as the drawing formats
  // write handles; buffer of at least 17 characters.
  void getIntoAsciiBuffer(ACHAR* buffer, size_t size = 17) const;

 private:
  Adesk::UInt64 value_ = 0;
};

// The id of an object of a database: the database's serial number in the
// upper 32 bits, the object's slot in the lower. An id outlives its object
// harmlessly: opening it then fails.
class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  static const AcDbObjectId kNull;

  bool isNull() const { return value_ == 0; }
  // True when the id names a live object.
  bool isValid() const;
  bool isErased() const;
  bool isEffectivelyErased() const { return isErased(); }
  AcDbDatabase* database() const;
  AcDbHandle handle() const;
  AcRxClass* objectClass() const;
  Adesk::IntPtr asOldId() const { return static_cast<Adesk::IntPtr>(value_); }
  AcDbObjectId& setFromOldId(Adesk::IntPtr oldId) {
    value_ = static_cast<Adesk::UInt64>(oldId);
    return *this;
  }
  void setNull() { value_ = 0; }

  bool operator==(const AcDbObjectId& o) const { return value_ == o.value_; }
  bool operator!=(const AcDbObjectId& o) const { return value_ != o.value_; }
  bool operator<(const AcDbObjectId& o) const { return value_ < o.value_; }
  bool operator>(const AcDbObjectId& o) const { return value_ > o.value_; }

  // Host side.
  Adesk::UInt64 value() const { return value_; }
  static AcDbObjectId fromValue(Adesk::UInt64 v) {
    AcDbObjectId id;
    id.value_ = v;
    return id;
  }

 private:
  Adesk::UInt64 value_ = 0;
};

template <>
struct std::hash<AcDbObjectId> {
  size_t operator()(const AcDbObjectId& id) const noexcept { return std::hash<Adesk::UInt64>()(id.value()); }
};

using AcDbObjectIdArray = AcArray<AcDbObjectId>;
