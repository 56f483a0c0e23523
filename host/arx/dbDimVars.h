#pragma once
// The dimension variables that dimension styles hold and dimensions
// override: type, setter suffix, getter name, the value of a new
// "Standard" style, and the check a new value must pass (v is the value;
// the check gives the refusal status or eOk).
#include <optional>

#include "arx/ErrorStatus.h"
#include "arx/cmColor.h"
#include "arx/dbId.h"

#define ARXHOST_DIM_CHECK_NONNEG (v < 0 ? Acad::eNegativeValueNotAllowed : Acad::eOk)
#define ARXHOST_DIM_CHECK_RANGE(lo, hi) ((v < (lo) || v > (hi)) ? Acad::eOutOfRange : Acad::eOk)
#define ARXHOST_DIM_CHECK_ANY Acad::eOk

#define ARXHOST_DIMVARS(X)                                      \
  X(int, Dimadec, dimadec, 0, ARXHOST_DIM_CHECK_RANGE(-1, 8))    \
  X(int, Dimaunit, dimaunit, 0, ARXHOST_DIM_CHECK_RANGE(0, 4))   \
  X(double, Dimasz, dimasz, 0.18, ARXHOST_DIM_CHECK_NONNEG)      \
  X(double, Dimcen, dimcen, 0.09, ARXHOST_DIM_CHECK_ANY)         \
  X(int, Dimdec, dimdec, 4, ARXHOST_DIM_CHECK_RANGE(0, 8))       \
  X(double, Dimexe, dimexe, 0.18, ARXHOST_DIM_CHECK_NONNEG)      \
  X(double, Dimexo, dimexo, 0.0625, ARXHOST_DIM_CHECK_NONNEG)    \
  X(double, Dimgap, dimgap, 0.09, ARXHOST_DIM_CHECK_ANY)         \
  X(double, Dimlfac, dimlfac, 1.0, ARXHOST_DIM_CHECK_ANY)        \
  X(int, Dimlunit, dimlunit, 2, ARXHOST_DIM_CHECK_RANGE(1, 6))   \
  X(double, Dimscale, dimscale, 1.0, ARXHOST_DIM_CHECK_NONNEG)   \
  X(int, Dimtad, dimtad, 0, ARXHOST_DIM_CHECK_RANGE(0, 4))       \
  X(bool, Dimtih, dimtih, true, ARXHOST_DIM_CHECK_ANY)           \
  X(bool, Dimtix, dimtix, false, ARXHOST_DIM_CHECK_ANY)          \
  X(bool, Dimtofl, dimtofl, false, ARXHOST_DIM_CHECK_ANY)        \
  X(bool, Dimtoh, dimtoh, true, ARXHOST_DIM_CHECK_ANY)           \
  X(double, Dimtxt, dimtxt, 0.18, ARXHOST_DIM_CHECK_NONNEG)      \
  X(int, Dimzin, dimzin, 0, ARXHOST_DIM_CHECK_RANGE(0, 15))

namespace arxhost {

// A full set of values (a style's).
struct DimVars {
#define ARXHOST_DIMVAR_FIELD(type, Name, name, def, check) type name = def;
  ARXHOST_DIMVARS(ARXHOST_DIMVAR_FIELD)
#undef ARXHOST_DIMVAR_FIELD
  AcCmColor dimclrd = ByBlock(), dimclre = ByBlock(), dimclrt = ByBlock();
  AcDbObjectId dimtxsty;  // null: the drawing's "Standard" text style

  static AcCmColor ByBlock() {
    AcCmColor c;
    c.setByBlock();
    return c;
  }
};

// The values a dimension sets for itself over its style's.
struct DimOverrides {
#define ARXHOST_DIMVAR_FIELD(type, Name, name, def, check) std::optional<type> name;
  ARXHOST_DIMVARS(ARXHOST_DIMVAR_FIELD)
#undef ARXHOST_DIMVAR_FIELD
  std::optional<AcCmColor> dimclrd, dimclre, dimclrt;
  std::optional<AcDbObjectId> dimtxsty;
  bool empty() const;
};

}  // namespace arxhost

class AcDbDatabase;

namespace arxhost {
// The values of a dimension style; for a null or stale id those of the
// database's current style, else of a new "Standard" style.
DimVars StyleVars(AcDbObjectId style, const AcDbDatabase* db);
}  // namespace arxhost

// Getters that give the override or the style's value, and setters that
// override, for a class with `arxhost::DimOverrides overrides_` and
// `arxhost::DimVars styleVars() const`.
#define ARXHOST_DIMVAR_OVERRIDE(type, Name, name, def, check)              \
  type name() const { return overrides_.name ? *overrides_.name : styleVars().name; } \
  Acad::ErrorStatus set##Name(type v) {                                     \
    if (Acad::ErrorStatus es = checkWrite()) return es;                     \
    if (Acad::ErrorStatus es = (check)) return es;                          \
    overrides_.name = v;                                                    \
    return Acad::eOk;                                                       \
  }
