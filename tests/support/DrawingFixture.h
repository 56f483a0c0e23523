#pragma once
// A drawing built through the database API, saved as DXF and read back by
// check_dxf.py: each entity of the table of cases is appended to model space
// (or to a block definition) and the checker compares what ezdxf reads with
// what the case expects.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "DxfChecker.h"
#include "arx/cmColor.h"
#include "arx/dbBlockTable.h"
#include "arx/dbDatabase.h"
#include "arx/dbEntity.h"
#include "arx/dbLayerTable.h"
#include "arx/geArrays.h"
#include "dxf/DxfOut.h"

namespace dxftest {

namespace fs = std::filesystem;

// Colours and arrays for building drawings in a line.
inline AcCmColor Aci(int index) {
  AcCmColor c;
  c.setColorIndex(static_cast<Adesk::UInt16>(index));
  return c;
}

inline AcCmColor Rgb(int r, int g, int b) {
  AcCmColor c;
  c.setRGB(static_cast<Adesk::UInt8>(r), static_cast<Adesk::UInt8>(g), static_cast<Adesk::UInt8>(b));
  return c;
}

inline AcGePoint3dArray Points(std::initializer_list<AcGePoint3d> list) {
  AcGePoint3dArray a;
  for (const auto& p : list) a.append(p);
  return a;
}

inline AcGeDoubleArray Doubles(std::initializer_list<double> list) {
  AcGeDoubleArray a;
  for (double d : list) a.append(d);
  return a;
}

inline fs::path TempDir(const std::string& name) {
  auto dir = ProcessFolder() / name;
  fs::create_directories(dir);
  return dir;
}

class Drawing {
 public:
  Drawing() : db_(true) {}
  AcDbDatabase& db() { return db_; }

  AcDbObjectId AddLayer(const wchar_t* name, const AcCmColor& color, bool off = false, bool frozen = false,
                        bool locked = false) {
    AcDbLayerTable* table = nullptr;
    EXPECT_EQ(db_.getLayerTable(table, AcDb::kForWrite), Acad::eOk);
    auto* layer = new AcDbLayerTableRecord;
    EXPECT_EQ(layer->setName(name), Acad::eOk);
    EXPECT_EQ(layer->setColor(color), Acad::eOk);
    layer->setIsOff(off);
    layer->setIsFrozen(frozen);
    layer->setIsLocked(locked);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, layer), Acad::eOk);
    layer->close();
    table->close();
    return id;
  }

  // Appends to the block (model space by default) and closes the entity.
  AcDbObjectId Append(AcDbEntity* entity, AcDbObjectId block = AcDbObjectId::kNull) {
    if (block.isNull()) block = db_.modelSpaceId();
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, block, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(record->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    record->close();
    return id;
  }

  AcDbObjectId AddBlock(const wchar_t* name, const AcGePoint3d& base) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db_.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbBlockTableRecord;
    record->setName(name);
    record->setOrigin(base);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Acad::eOk);
    record->close();
    table->close();
    return id;
  }

 private:
  AcDbDatabase db_;
};

// A JSON string literal of UTF-8 text.
inline std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

inline std::string WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return path.string();
}

}  // namespace dxftest
