// The CLASSES section: the object classes of this file that have no fixed
// DXF type of their own.
#include "dxf/WriteContext.h"

namespace arxhost::dxf {

void WriteClassesSection(WriteContext& ctx) {
  struct ClassInfo {
    const char* dxfName;
    const char* cppName;
    int proxyFlags;
    bool entity;
  };
  static const ClassInfo kClasses[] = {
      {"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", 0, false},
      {"ACDBPLACEHOLDER", "AcDbPlaceHolder", 0, false},
      {"LAYOUT", "AcDbLayout", 0, false},
      {"MESH", "AcDbSubDMesh", 4095, true},
  };
  auto& out = ctx.out;
  out.type("SECTION");
  out.text(2, "CLASSES");
  for (const auto& c : kClasses) {
    out.type("CLASS");
    out.text(1, c.dxfName);
    out.text(2, c.cppName);
    out.text(3, "ObjectDBX Classes");
    out.integer(90, c.proxyFlags);
    out.integer(91, 0);
    out.integer(280, 0);
    out.integer(281, c.entity ? 1 : 0);
  }
  out.type("ENDSEC");
}

}  // namespace arxhost::dxf
