#pragma once
// A fresh drawing for each test, and the questions the geometry tests ask
// of it: what model space holds, on which layer and in which colour, and
// whether anything was left open.
#include <gtest/gtest.h>

#include <vector>

#include "GeometryConverter.h"
#include "arx/dbInspector.h"

class GeometryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    arxhost::ResetWorkingDatabase();
    GeometryConverter::SetError(L"");
  }
  void TearDown() override {
    ExpectNothingOpen();
    arxhost::ResetWorkingDatabase();
  }

  void ExpectNothingOpen() const {
    for (const arxhost::OpenState& s : db.openObjects())
      ADD_FAILURE() << "an object was left open (id " << s.id.asOldId() << (s.forWrite ? ", for write)" : ")");
  }

  std::vector<AcDbEntity*> Entities() const {
    std::vector<AcDbEntity*> out;
    for (AcDbObjectId id : db.entities()) out.push_back(db.get<AcDbEntity>(id));
    return out;
  }

  // Model space's entities, each of class T (a failure for any other).
  template <class T>
  std::vector<T*> All() const {
    std::vector<T*> out;
    for (AcDbEntity* e : Entities()) {
      T* t = T::cast(e);
      EXPECT_NE(t, nullptr) << "an entity of another class";
      if (t) out.push_back(t);
    }
    return out;
  }

  // Every entity of model space on the layer, in the colour.
  void ExpectPlaced(const wchar_t* layer, const AcCmColor& color) const {
    AcDbObjectId layerId = db.layer(layer);
    ASSERT_FALSE(layerId.isNull());
    for (AcDbEntity* e : Entities()) {
      EXPECT_EQ(e->layerId(), layerId);
      EXPECT_EQ(e->color(), color);
    }
  }

  static AcCmColor Rgb(int r, int g, int b) {
    AcCmColor c;
    c.setRGB(static_cast<Adesk::UInt8>(r), static_cast<Adesk::UInt8>(g), static_cast<Adesk::UInt8>(b));
    return c;
  }

  arxhost::DatabaseInspector db;
};

inline bool Near(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-9) {
  return a.distanceTo(b) <= tol;
}
inline bool Near(const AcGeVector3d& a, const AcGeVector3d& b, double tol = 1e-9) {
  return (a - b).length() <= tol;
}
