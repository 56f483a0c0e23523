#pragma once
// Dimension styles: a new record holds the values of the drawing's
// "Standard" style (imperial defaults).
#include "arx/dbDimVars.h"
#include "arx/dbSymbolTable.h"

class AcDbDimStyleTableRecord : public AcDbSymbolTableRecord {
  ARXHOST_RX_MEMBERS(AcDbDimStyleTableRecord)
 public:
  AcDbDimStyleTableRecord() = default;

#define ARXHOST_DIMVAR_ACCESS(type, Name, name, def, check) \
  type name() const { return vars_.name; }                   \
  Acad::ErrorStatus set##Name(type v) {                      \
    if (Acad::ErrorStatus es = checkWrite()) return es;      \
    if (Acad::ErrorStatus es = (check)) return es;           \
    vars_.name = v;                                          \
    return Acad::eOk;                                        \
  }
  ARXHOST_DIMVARS(ARXHOST_DIMVAR_ACCESS)
#undef ARXHOST_DIMVAR_ACCESS

  AcCmColor dimclrd() const { return vars_.dimclrd; }
  AcCmColor dimclre() const { return vars_.dimclre; }
  AcCmColor dimclrt() const { return vars_.dimclrt; }
  Acad::ErrorStatus setDimclrd(const AcCmColor& c);
  Acad::ErrorStatus setDimclre(const AcCmColor& c);
  Acad::ErrorStatus setDimclrt(const AcCmColor& c);
  AcDbObjectId dimtxsty() const { return vars_.dimtxsty; }
  Acad::ErrorStatus setDimtxsty(AcDbObjectId id);

  // Host side: every value at once.
  const arxhost::DimVars& vars() const { return vars_; }

 private:
  arxhost::DimVars vars_;
};

ARXHOST_SYMBOL_TABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, AcDbDimStyleTableIterator)
