#pragma once
// Linetypes: the defaults "ByBlock", "ByLayer" and "Continuous" have no dashes.
#include <vector>

#include "arx/dbSymbolTable.h"

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
  ARXHOST_RX_MEMBERS(AcDbLinetypeTableRecord)
 public:
  AcDbLinetypeTableRecord() = default;
  const ACHAR* comments() const { return comments_.GetString(); }
  Acad::ErrorStatus setComments(const ACHAR* text);
  int numDashes() const { return static_cast<int>(dashes_.size()); }
  double dashLengthAt(int index) const;
  Acad::ErrorStatus setNumDashes(int count);
  Acad::ErrorStatus setDashLengthAt(int index, double length);
  double patternLength() const;
  bool isScaledToFit() const { return false; }

 private:
  CString comments_;
  std::vector<double> dashes_;
};

ARXHOST_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator)
