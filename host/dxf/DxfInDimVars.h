#pragma once
// Dimension variables by their DXF group code, for dimension style records
// and for the overrides dimensions and leaders carry.
#include "arx/ErrorStatus.h"

namespace arxhost::dxf {

// Sets the variable with the group code on a style record or an entity;
// false for a code that names none of them or a value the target refuses.
template <class Target>
bool ApplyDimVar(Target& t, int code, double v) {
  auto i = static_cast<int>(v);
  Acad::ErrorStatus es = Acad::eInvalidInput;
  switch (code) {
    case 40: es = t.setDimscale(v); break;
    case 41: es = t.setDimasz(v); break;
    case 42: es = t.setDimexo(v); break;
    case 44: es = t.setDimexe(v); break;
    case 73: es = t.setDimtih(i != 0); break;
    case 74: es = t.setDimtoh(i != 0); break;
    case 77: es = t.setDimtad(i); break;
    case 78: es = t.setDimzin(i); break;
    case 140: es = t.setDimtxt(v); break;
    case 141: es = t.setDimcen(v); break;
    case 144: es = t.setDimlfac(v); break;
    case 147: es = t.setDimgap(v); break;
    case 172: es = t.setDimtofl(i != 0); break;
    case 174: es = t.setDimtix(i != 0); break;
    case 179: es = t.setDimadec(i); break;
    case 271: es = t.setDimdec(i); break;
    case 275: es = t.setDimaunit(i); break;
    case 277: es = t.setDimlunit(i); break;
    default: return false;
  }
  return es == Acad::eOk;
}

}  // namespace arxhost::dxf
