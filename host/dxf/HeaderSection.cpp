// The HEADER section: the version and the drawing-wide settings readers use.
#include "dxf/WriteContext.h"

namespace arxhost::dxf {

void WriteHeaderSection(WriteContext& ctx, Handle handseed) {
  auto& out = ctx.out;
  const auto& v = ctx.view;
  auto var = [&](std::string_view name) { out.text(9, name); };
  out.type("SECTION");
  out.text(2, "HEADER");
  var("$ACADVER");
  out.text(1, "AC1024");
  var("$ACADMAINTVER");
  out.integer(70, 6);
  var("$DWGCODEPAGE");
  out.text(3, "ANSI_1252");
  var("$INSBASE");
  out.point(10, 0.0, 0.0, 0.0);
  var("$EXTMIN");
  const Extents& e = ctx.extents;
  out.point(10, e.min[0], e.min[1], e.min[2]);
  var("$EXTMAX");
  out.point(10, e.max[0], e.max[1], e.max[2]);
  var("$LIMMIN");
  out.point2(10, 0.0, 0.0);
  var("$LIMMAX");
  out.point2(10, 420.0, 297.0);
  var("$LTSCALE");
  out.real(40, 1.0);
  var("$TEXTSIZE");
  out.real(40, 2.5);
  var("$TEXTSTYLE");
  out.text(7, v.currentTextStyle);
  var("$CLAYER");
  out.text(8, v.currentLayer);
  var("$CELTYPE");
  out.text(6, "ByLayer");
  var("$CECOLOR");
  out.integer(62, 256);
  var("$DIMSTYLE");
  out.text(2, v.currentDimStyle);
  var("$LUNITS");
  out.integer(70, 2);
  var("$LUPREC");
  out.integer(70, 4);
  var("$AUNITS");
  out.integer(70, 0);
  var("$AUPREC");
  out.integer(70, 0);
  var("$PDMODE");
  out.integer(70, 0);
  var("$PDSIZE");
  out.real(40, 0.0);
  var("$HANDSEED");
  out.handle(5, handseed);
  var("$INSUNITS");
  out.integer(70, v.insUnits);
  var("$MEASUREMENT");
  out.integer(70, v.measurement);
  out.type("ENDSEC");
}

}  // namespace arxhost::dxf
