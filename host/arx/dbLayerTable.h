#pragma once
// Layers. A new layer has colour index 7, is thawed, unlocked and on, and
// uses the linetype "Continuous" once it is in a drawing.
#include "arx/cmColor.h"
#include "arx/dbSymbolTable.h"

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
  ARXHOST_RX_MEMBERS(AcDbLayerTableRecord)
 public:
  AcDbLayerTableRecord();

  AcCmColor color() const { return color_; }
  // Layers take index and true colours only (eInvalidInput otherwise).
  Acad::ErrorStatus setColor(const AcCmColor& color);
  bool isFrozen() const { return frozen_; }
  Acad::ErrorStatus setIsFrozen(bool frozen);
  bool isLocked() const { return locked_; }
  Acad::ErrorStatus setIsLocked(bool locked);
  bool isOff() const { return off_; }
  Acad::ErrorStatus setIsOff(bool off);
  bool isHidden() const { return hidden_; }
  Acad::ErrorStatus setIsHidden(bool hidden);
  bool isPlottable() const { return plottable_; }
  Acad::ErrorStatus setIsPlottable(bool plottable);
  AcDbObjectId linetypeObjectId() const { return linetype_; }
  Acad::ErrorStatus setLinetypeObjectId(AcDbObjectId id);
  AcDb::LineWeight lineWeight() const { return lineWeight_; }
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);
  const ACHAR* description() const { return description_.GetString(); }
  Acad::ErrorStatus setDescription(const ACHAR* text);

 protected:
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  AcCmColor color_;
  bool frozen_ = false, locked_ = false, off_ = false, hidden_ = false, plottable_ = true;
  AcDbObjectId linetype_;
  AcDb::LineWeight lineWeight_ = AcDb::kLnWtByLwDefault;
  CString description_;
};

ARXHOST_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator)
