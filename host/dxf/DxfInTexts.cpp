// Reading TEXT and MTEXT.
#include "arx/dbMText.h"
#include "arx/dbText.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

void StyleFixup(const DxfRecord& r, std::vector<Fixup>& fixups, void (*set)(AcDbEntity&, AcDbObjectId)) {
  std::wstring style = Wide(r.text(7, "Standard"));
  fixups.push_back([style, set](NameResolver& names, AcDbEntity& e) {
    AcDbObjectId id = names.textStyle(style);
    if (!id.isNull()) set(e, id);
  });
}

EntityPtr ReadText(const DxfRecord& r, BuildContext&, std::vector<Fixup>& fixups) {
  Ocs ocs(ExtrusionOf(r));
  auto* t = new AcDbText;
  EntityPtr e(t);
  Check(r, t->setNormal(Dir(ocs.normal())), "an invalid extrusion");
  t->setPosition(P(ocs.toWorld(V3(PointOf(r, 10)))));
  t->setTextString(Wide(CaretDecode(r.text(1), false)).c_str());
  if (double h = r.real(40); h > 0.0) t->setHeight(h);
  t->setRotation(r.real(50) * kRadians);
  if (double f = r.real(41, 1.0); f > 0.0) t->setWidthFactor(f);
  t->setOblique(r.real(51) * kRadians);
  t->setThickness(r.real(39));
  long long h = r.integer(72), v = r.integer(73);
  if (h >= 0 && h <= 5) t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(h));
  if (v >= 0 && v <= 3) t->setVerticalMode(static_cast<AcDb::TextVertMode>(v));
  if (r.has(11)) t->setAlignmentPoint(P(ocs.toWorld(V3(PointOf(r, 11)))));
  StyleFixup(r, fixups, [](AcDbEntity& e, AcDbObjectId id) { static_cast<AcDbText&>(e).setTextStyle(id); });
  return e;
}

EntityPtr ReadMText(const DxfRecord& r, BuildContext&, std::vector<Fixup>& fixups) {
  auto* t = new AcDbMText;
  EntityPtr e(t);
  Check(r, t->setNormal(Dir(ExtrusionOf(r))), "an invalid extrusion");
  t->setLocation(PointOf(r, 10));
  if (double h = r.real(40); h > 0.0) t->setTextHeight(h);
  if (double w = r.real(41); w >= 0.0) t->setWidth(w);
  if (long long a = r.integer(71, 1); a >= 1 && a <= 9) t->setAttachment(static_cast<AcDbMText::AttachmentPoint>(a));
  if (long long f = r.integer(72, 1); f >= 1 && f <= 5) t->setFlowDirection(static_cast<AcDbMText::FlowDirection>(f));
  // The contents: chunks under 3, the last one under 1.
  std::string contents;
  for (const auto& g : r.groups)
    if (g.code == 3) contents += g.value;
  contents += r.text(1);
  t->setContents(Wide(CaretDecode(contents, true)).c_str());
  if (r.has(11)) {
    Check(r, t->setDirection(VectorOf(r, 11)), "a zero direction");
  } else if (r.has(50)) {
    t->setRotation(r.real(50) * kRadians);
  }
  if (r.has(44)) t->setLineSpacingFactor(r.real(44));
  StyleFixup(r, fixups, [](AcDbEntity& e, AcDbObjectId id) { static_cast<AcDbMText&>(e).setTextStyle(id); });
  return e;
}

const EntityReaderRegistration kText("TEXT", ReadText);
const EntityReaderRegistration kMText("MTEXT", ReadMText);

}  // namespace
}  // namespace arxhost::dxf
