// TEXT and MTEXT.
#include <cmath>
#include <numbers>

#include "arx/dbMText.h"
#include "arx/dbSymbolTable.h"
#include "arx/dbText.h"
#include "dxf/EntityGeometry.h"
#include "dxf/EntityWriter.h"
#include "dxf/TextStyles.h"
#include "dxf/TextValues.h"
#include "win32/strconv.h"

namespace arxhost::dxf {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

void WriteText(EntityOut& e) {
  const auto& t = static_cast<const AcDbText&>(e.entity);
  Ocs ocs(V(t.normal()));
  std::wstring style = TextStyleName(t.textStyle());
  e.head("TEXT");
  e.out.text(100, "AcDbText");
  Thickness(e.out, t.thickness());
  Point(e.out, 10, ocs.fromWorld(V(t.position())));
  e.out.real(40, TextHeight(e.ctx.view, style, t.height()));
  e.out.text(1, CaretEncode(ToUtf8(t.textStringConst()), false));
  if (t.rotation() != 0.0) e.out.real(50, t.rotation() * kDegrees);
  if (t.widthFactor() != 1.0) e.out.real(41, t.widthFactor());
  if (t.oblique() != 0.0) e.out.real(51, t.oblique() * kDegrees);
  e.out.text(7, style);
  if (t.horizontalMode() != AcDb::kTextLeft) e.out.integer(72, t.horizontalMode());
  // Readers place aligned texts by the alignment point, left-aligned ones
  // by the position.
  if (!t.isDefaultAlignment()) Point(e.out, 11, ocs.fromWorld(V(t.alignmentPoint())));
  Extrusion(e.out, ocs);
  e.out.text(100, "AcDbText");
  if (t.verticalMode() != AcDb::kTextBase) e.out.integer(73, t.verticalMode());
}

void WriteMText(EntityOut& e) {
  const auto& t = static_cast<const AcDbMText&>(e.entity);
  std::wstring style = TextStyleName(t.textStyle());
  e.head("MTEXT");
  e.out.text(100, "AcDbMText");
  Point(e.out, 10, t.location());
  e.out.real(40, TextHeight(e.ctx.view, style, t.textHeight()));
  e.out.real(41, t.width());
  e.out.integer(71, t.attachment());
  e.out.integer(72, t.flowDirection());
  WriteChunked(e.out, 3, 1, CaretEncode(ToUtf8(t.contentsText().str()), true));
  e.out.text(7, style);
  Ocs ocs(V(t.normal()));
  Extrusion(e.out, ocs);
  Point(e.out, 11, V(t.direction()));
  e.out.integer(73, 1);
  e.out.real(44, t.lineSpacingFactor());
}

const EntityWriterRegistration kText(L"AcDbText", WriteText);
const EntityWriterRegistration kMText(L"AcDbMText", WriteMText);

}  // namespace
}  // namespace arxhost::dxf
