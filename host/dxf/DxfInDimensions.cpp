// Reading DIMENSION (rotated, aligned, radial, 3-point angular) with the
// name of its graphics block, and LEADER; both with the overrides of their
// style that the "DSTYLE" extended data of the application ACAD carries.
#include <cmath>

#include "arx/dbDimension.h"
#include "arx/dbLeader.h"
#include "dxf/DxfInDimVars.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

constexpr int kRotated = 0, kAligned = 1, kRadial = 4, kAngular3Point = 5;
constexpr int kUserTextPosition = 128;

template <class Dim>
void ReadOverrides(const DxfRecord& r, Dim& d) {
  const auto& g = r.groups;
  std::size_t i = 0;
  while (i < g.size() && !(g[i].code == 1001 && g[i].value == "ACAD")) ++i;
  bool inList = false;
  for (++i; i < g.size() && g[i].code != 1001; ++i) {
    if (g[i].code == 1002) {
      inList = g[i].value == "{";
      continue;
    }
    if (!inList || g[i].code != 1070 || i + 1 >= g.size()) continue;
    int code = static_cast<int>(g[i].integer);
    const DxfGroup& value = g[++i];
    // The text style (340, a handle) has no override setter here.
    if (value.code == 1040) ApplyDimVar(d, code, value.real);
    else if (value.code == 1070) ApplyDimVar(d, code, static_cast<double>(value.integer));
  }
}

void DimStyleFixup(const DxfRecord& r, std::vector<Fixup>& fixups, void (*set)(AcDbEntity&, AcDbObjectId)) {
  std::wstring style = Wide(r.text(3, "Standard"));
  fixups.push_back([style, set](NameResolver& names, AcDbEntity& e) {
    AcDbObjectId id = names.dimStyle(style);
    if (!id.isNull()) set(e, id);
  });
}

EntityPtr ReadDimension(const DxfRecord& r, BuildContext& ctx, std::vector<Fixup>& fixups) {
  long long flags = r.integer(70);
  int type = static_cast<int>(flags & 15);
  std::wstring text = Wide(CaretDecode(r.text(1), true));
  const wchar_t* textOrNull = r.has(1) ? text.c_str() : nullptr;
  EntityPtr e;
  AcDbDimension* d = nullptr;
  switch (type) {
    case kRotated:
    case kAligned: {
      AcGePoint3d p1 = PointOf(r, 13), p2 = PointOf(r, 14);
      // An aligned dimension is a rotated one along its points.
      double rotation = type == kAligned ? std::atan2(p2.y - p1.y, p2.x - p1.x) : r.real(50) * kRadians;
      auto* dim = new AcDbRotatedDimension(rotation, p1, p2, PointOf(r, 10), textOrNull);
      dim->setOblique(r.real(52) * kRadians);
      d = dim;
      break;
    }
    case kRadial:
      d = new AcDbRadialDimension(PointOf(r, 10), PointOf(r, 15), r.real(40), textOrNull);
      break;
    case kAngular3Point:
      d = new AcDb3PointAngularDimension(PointOf(r, 15), PointOf(r, 13), PointOf(r, 14), PointOf(r, 10), textOrNull);
      break;
    default:
      return nullptr;  // diameter, 2-line angular and ordinate: not kept
  }
  e.reset(d);
  Ocs ocs(ExtrusionOf(r));
  Check(r, d->setNormal(Dir(ocs.normal())), "an invalid extrusion");
  if ((flags & kUserTextPosition) && r.has(11)) d->setTextPosition(P(ocs.toWorld(V3(PointOf(r, 11)))));
  d->setTextRotation(r.real(53) * kRadians);
  ReadOverrides(r, *d);
  DimStyleFixup(r, fixups, [](AcDbEntity& e, AcDbObjectId id) { static_cast<AcDbDimension&>(e).setDimensionStyle(id); });
  std::wstring block = Wide(r.text(2));
  if (!block.empty() && ctx.hasBlock(block)) {
    fixups.push_back([block](NameResolver& names, AcDbEntity& e) {
      static_cast<AcDbDimension&>(e).setDimBlockId(names.block(block));
    });
  }
  return e;
}

EntityPtr ReadLeader(const DxfRecord& r, BuildContext&, std::vector<Fixup>& fixups) {
  auto* l = new AcDbLeader;
  EntityPtr e(l);
  for (const auto& p : PointsOf(r, 10)) l->appendVertex(p);
  if (r.has(76) && r.integer(76) != l->numVertices()) r.fail("has another number of vertices than it says");
  if (l->numVertices() < 2) r.fail("has fewer than two vertices");
  if (r.integer(71, 1) == 0) l->disableArrowHead();
  else l->enableArrowHead();
  ReadOverrides(r, *l);
  DimStyleFixup(r, fixups, [](AcDbEntity& e, AcDbObjectId id) { static_cast<AcDbLeader&>(e).setDimensionStyle(id); });
  return e;
}

const EntityReaderRegistration kDimension("DIMENSION", ReadDimension);
const EntityReaderRegistration kLeader("LEADER", ReadLeader);

}  // namespace
}  // namespace arxhost::dxf
