#pragma once
// Text styles: "Standard" uses the font file "txt", height 0 (variable).
#include "arx/dbSymbolTable.h"

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
  ARXHOST_RX_MEMBERS(AcDbTextStyleTableRecord)
 public:
  AcDbTextStyleTableRecord() = default;
  double textSize() const { return textSize_; }
  Acad::ErrorStatus setTextSize(double size);
  double xScale() const { return xScale_; }
  Acad::ErrorStatus setXScale(double scale);
  double obliquingAngle() const { return oblique_; }
  Acad::ErrorStatus setObliquingAngle(double angle);
  double priorSize() const { return priorSize_; }
  Acad::ErrorStatus setPriorSize(double size);
  Acad::ErrorStatus fileName(const ACHAR*& name) const {
    name = fileName_.GetString();
    return Acad::eOk;
  }
  Acad::ErrorStatus setFileName(const ACHAR* name);
  Acad::ErrorStatus bigFontFileName(const ACHAR*& name) const {
    name = bigFont_.GetString();
    return Acad::eOk;
  }
  Acad::ErrorStatus setBigFontFileName(const ACHAR* name);
  bool isShapeFile() const { return false; }
  bool isVertical() const { return false; }

 private:
  double textSize_ = 0.0, xScale_ = 1.0, oblique_ = 0.0, priorSize_ = 0.2;
  CString fileName_ = L"txt", bigFont_;
};

ARXHOST_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator)
