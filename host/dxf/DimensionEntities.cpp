// DIMENSION (rotated, radial, 3-point angular) with its graphics block, and
// LEADER.
#include <cmath>
#include <numbers>

#include "arx/dbBlockTable.h"
#include "arx/dbDimension.h"
#include "arx/dbLeader.h"
#include "arx/dbSymbolTable.h"
#include "dxf/DatabaseView.h"
#include "dxf/DimensionGraphics.h"
#include "dxf/EntityGeometry.h"
#include "dxf/EntityWriter.h"
#include "dxf/TextStyles.h"
#include "dxf/TextValues.h"
#include "win32/strconv.h"

namespace arxhost::dxf {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr int kRotated = 0, kRadial = 4, kAngular3Point = 5;
constexpr int kBlockOwnedByThis = 32, kUserTextPosition = 128;

std::wstring DimStyleName(AcDbObjectId id) {
  auto* record = AcDbSymbolTableRecord::cast(PeekObject(id));
  if (!record || record->isErased() || record->name().IsEmpty()) return L"Standard";
  return record->name().str();
}

// The look of a dimension or leader: its overrides over its style's values.
template <class Dim>
DimLook LookOf(const Dim& d) {
  DimLook look;
  double scale = d.dimscale() > 0 ? d.dimscale() : 1.0;
  look.arrowSize = d.dimasz() * scale;
  look.extOffset = d.dimexo() * scale;
  look.extExtend = d.dimexe() * scale;
  look.gap = std::fabs(d.dimgap()) * scale;
  look.textHeight = d.dimtxt() > 0 ? d.dimtxt() * scale : 0.18 * scale;
  look.linearFactor = d.dimlfac();
  look.decimals = d.dimdec();
  look.angleDecimals = d.dimadec() < 0 ? d.dimdec() : d.dimadec();
  look.textAbove = d.dimtad();
  look.horizontalInside = d.dimtih();
  look.horizontalOutside = d.dimtoh();
  look.zeroSuppression = d.dimzin();
  // Colours and the text style have no resolving getters.
  const auto& o = d.dimOverrides();
  arxhost::DimVars style = arxhost::StyleVars(d.dimensionStyle(), d.database());
  look.lineColor = ToColorValue(o.dimclrd ? *o.dimclrd : style.dimclrd).aci;
  look.extColor = ToColorValue(o.dimclre ? *o.dimclre : style.dimclre).aci;
  look.textColor = ToColorValue(o.dimclrt ? *o.dimclrt : style.dimclrt).aci;
  look.textStyle = TextStyleName(o.dimtxsty ? *o.dimtxsty : style.dimtxsty);
  return look;
}

// Overrides travel as the "DSTYLE" extended data of the application ACAD,
// as pairs of the variable's group code and its value.
template <class Dim>
void WriteOverrides(EntityOut& e, const Dim& d) {
  const auto& o = d.dimOverrides();
  if (o.empty()) return;
  auto& out = e.out;
  out.text(1001, "ACAD");
  out.text(1000, "DSTYLE");
  out.text(1002, "{");
  auto real = [&](int code, const std::optional<double>& v) {
    if (!v) return;
    out.integer(1070, code);
    out.real(1040, *v);
  };
  auto integer = [&](int code, auto v) {
    if (!v) return;
    out.integer(1070, code);
    out.integer(1070, static_cast<long long>(*v));
  };
  auto color = [&](int code, const std::optional<AcCmColor>& c) {
    if (!c) return;
    out.integer(1070, code);
    out.integer(1070, ToColorValue(*c).aci);
  };
  real(40, o.dimscale);
  real(41, o.dimasz);
  real(42, o.dimexo);
  real(44, o.dimexe);
  integer(73, o.dimtih);
  integer(74, o.dimtoh);
  integer(77, o.dimtad);
  integer(78, o.dimzin);
  real(140, o.dimtxt);
  real(141, o.dimcen);
  real(144, o.dimlfac);
  real(147, o.dimgap);
  integer(172, o.dimtofl);
  integer(174, o.dimtix);
  color(176, o.dimclrd);
  color(177, o.dimclre);
  color(178, o.dimclrt);
  integer(179, o.dimadec);
  integer(271, o.dimdec);
  integer(275, o.dimaunit);
  integer(277, o.dimlunit);
  if (o.dimtxsty) {
    out.integer(1070, 340);
    out.handle(1005, e.ctx.record("STYLE", TextStyleName(*o.dimtxsty)));
  }
  out.text(1002, "}");
}

// The block the database made for the dimension, when it has one with
// entities; else the writer draws one.
std::wstring GraphicsBlock(EntityOut& e, const AcDbDimension& d, const DimGeometry& g, const DimLook& look) {
  if (auto* block = AcDbBlockTableRecord::cast(PeekObject(d.dimBlockId()));
      block && !block->isErased() && block->entities().liveCount() > 0 && e.ctx.HasBlock(block->name().str()))
    return block->name().str();
  return MakeDimensionBlock(e.ctx, g, look);
}

void DimensionHead(EntityOut& e, const AcDbDimension& d, const DimGeometry& g, const DimLook& look, int type,
                   const Vec3& defPoint) {
  Ocs ocs(V(d.normal()));
  std::wstring block = GraphicsBlock(e, d, g, look);
  // The geometric value, before DIMLFAC.
  double measured = 0.0;
  if (d.measurement(measured) != Acad::eOk || !std::isfinite(measured)) {
    measured = DimMeasurement(g, look);
    if (type != kAngular3Point && look.linearFactor != 0.0) measured /= look.linearFactor;
  }
  e.head("DIMENSION");
  auto& out = e.out;
  out.text(100, "AcDbDimension");
  out.integer(280, 0);
  out.text(2, block);
  Point(out, 10, defPoint);
  Point(out, 11, ocs.fromWorld(DimTextPosition(g, look)));
  out.integer(70, type | kBlockOwnedByThis | (d.isUsingDefaultTextPosition() ? 0 : kUserTextPosition));
  out.integer(71, 5);
  out.integer(72, 1);
  out.real(41, 1.0);
  out.real(42, measured);
  if (!d.dimensionTextString().IsEmpty()) out.text(1, CaretEncode(ToUtf8(d.dimensionTextString().str()), true));
  if (d.textRotation() != 0.0) out.real(53, d.textRotation() * kDegrees);
  out.text(3, DimStyleName(d.dimensionStyle()));
  Extrusion(out, ocs);
}

DimGeometry Common(const AcDbDimension& d) {
  DimGeometry g;
  g.normal = V(d.normal());
  if (!d.isUsingDefaultTextPosition()) g.textPosition = V(d.textPosition());
  g.textOverride = d.dimensionTextString().str();
  return g;
}

void WriteRotated(EntityOut& e) {
  const auto& d = static_cast<const AcDbRotatedDimension&>(e.entity);
  DimGeometry g = Common(d);
  g.kind = DimGeometry::Kind::Linear;
  g.p1 = V(d.xLine1Point());
  g.p2 = V(d.xLine2Point());
  g.dimLinePoint = V(d.dimLinePoint());
  Ocs ocs(g.normal);
  Vec3 origin = ocs.toWorld({0, 0, 0}), tip = ocs.toWorld({std::cos(d.rotation()), std::sin(d.rotation()), 0});
  g.direction = {tip[0] - origin[0], tip[1] - origin[1], tip[2] - origin[2]};
  DimLook look = LookOf(d);
  DimensionHead(e, d, g, look, kRotated, g.dimLinePoint);
  auto& out = e.out;
  out.text(100, "AcDbAlignedDimension");
  Point(out, 13, g.p1);
  Point(out, 14, g.p2);
  out.real(50, d.rotation() * kDegrees);
  if (d.oblique() != 0.0) out.real(52, d.oblique() * kDegrees);
  out.text(100, "AcDbRotatedDimension");
  WriteOverrides(e, d);
}

void WriteRadial(EntityOut& e) {
  const auto& d = static_cast<const AcDbRadialDimension&>(e.entity);
  DimGeometry g = Common(d);
  g.kind = DimGeometry::Kind::Radial;
  g.p1 = V(d.center());
  g.p2 = V(d.chordPoint());
  g.leaderLength = d.leaderLength();
  DimLook look = LookOf(d);
  DimensionHead(e, d, g, look, kRadial, g.p1);
  auto& out = e.out;
  out.text(100, "AcDbRadialDimension");
  Point(out, 15, g.p2);
  out.real(40, d.leaderLength());
  WriteOverrides(e, d);
}

void WriteAngular(EntityOut& e) {
  const auto& d = static_cast<const AcDb3PointAngularDimension&>(e.entity);
  DimGeometry g = Common(d);
  g.kind = DimGeometry::Kind::Angular3Point;
  g.vertex = V(d.centerPoint());
  g.p1 = V(d.xLine1Point());
  g.p2 = V(d.xLine2Point());
  g.arcPoint = V(d.arcPoint());
  DimLook look = LookOf(d);
  DimensionHead(e, d, g, look, kAngular3Point, g.arcPoint);
  auto& out = e.out;
  out.text(100, "AcDb3PointAngularDimension");
  Point(out, 13, g.p1);
  Point(out, 14, g.p2);
  Point(out, 15, g.vertex);
  WriteOverrides(e, d);
}

void WriteLeader(EntityOut& e) {
  const auto& l = static_cast<const AcDbLeader&>(e.entity);
  // Readers drop a leader of fewer than two vertices.
  if (l.numVertices() < 2) return;
  DimLook look = LookOf(l);
  Ocs ocs(V(l.normal()));
  e.head("LEADER");
  auto& out = e.out;
  out.text(100, "AcDbLeader");
  out.text(3, DimStyleName(l.dimensionStyle()));
  out.integer(71, l.hasArrowHead() ? 1 : 0);
  out.integer(72, 0);
  out.integer(73, 3);  // no annotation
  out.integer(74, 1);
  out.integer(75, 0);
  out.real(40, look.textHeight);
  out.real(41, 0.0);
  out.integer(76, l.numVertices());
  for (int i = 0; i < l.numVertices(); ++i) Point(out, 10, l.vertexAt(i));
  Point(out, 210, ocs.normal());
  Point(out, 211, ocs.toWorld({1, 0, 0}));
  out.point(212, 0.0, 0.0, 0.0);
  out.point(213, 0.0, 0.0, 0.0);
  WriteOverrides(e, l);
}

const EntityWriterRegistration kRotatedDimension(L"AcDbRotatedDimension", WriteRotated);
const EntityWriterRegistration kRadialDimension(L"AcDbRadialDimension", WriteRadial);
const EntityWriterRegistration k3PointAngularDimension(L"AcDb3PointAngularDimension", WriteAngular);
const EntityWriterRegistration kLeader(L"AcDbLeader", WriteLeader);

}  // namespace
}  // namespace arxhost::dxf
