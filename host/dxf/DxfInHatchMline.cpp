// Reading HATCH (polyline boundary loops) and MLINE.
#include "arx/dbHatch.h"
#include "arx/dbMline.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

constexpr int kPolylineLoop = 2;

EntityPtr ReadHatch(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  auto* h = new AcDbHatch;
  EntityPtr e(h);
  Check(r, h->setNormal(Dir(ExtrusionOf(r))), "an invalid extrusion");
  h->setElevation(PointOf(r, 10).z);
  long long patternType = r.integer(76, 1);
  std::wstring pattern = Wide(r.text(2, "SOLID"));
  if (pattern.empty()) pattern = L"SOLID";
  if (patternType < 0 || patternType > 2) patternType = 1;
  h->setPattern(static_cast<AcDbHatch::HatchPatternType>(patternType), pattern.c_str());

  // The boundary runs in order from group 91 on.
  const auto& g = r.groups;
  std::size_t i = 0;
  while (i < g.size() && g[i].code != 91) ++i;
  if (i == g.size()) r.fail("has no boundary");
  long long loops = g[i++].integer;
  auto expect = [&](int code) -> const DxfGroup& {
    if (i >= g.size() || g[i].code != code) r.fail("has a boundary loop it does not finish");
    return g[i++];
  };
  for (long long k = 0; k < loops; ++k) {
    long long type = expect(92).integer;
    if (!(type & kPolylineLoop)) return nullptr;  // edge loops: not kept by the host's hatch
    bool bulged = expect(72).integer != 0;
    expect(73);
    long long count = expect(93).integer;
    AcGePoint2dArray points;
    AcGeDoubleArray bulges;
    for (long long v = 0; v < count; ++v) {
      double x = expect(10).real;
      double y = expect(20).real;
      points.append(AcGePoint2d(x, y));
      double bulge = 0.0;
      if (bulged && i < g.size() && g[i].code == 42) bulge = g[i++].real;
      bulges.append(bulge);
    }
    if (i < g.size() && g[i].code == 97) {
      long long sources = g[i++].integer;
      for (long long s = 0; s < sources; ++s) expect(330);
    }
    Check(r, h->appendLoop(static_cast<Adesk::Int32>(type), points, bulged ? bulges : AcGeDoubleArray()),
          "a boundary loop of fewer than two points");
  }
  return e;
}

EntityPtr ReadMline(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) {
  auto* m = new AcDbMline;
  EntityPtr e(m);
  Check(r, m->setNormal(Dir(ExtrusionOf(r))), "an invalid extrusion");
  if (double s = r.real(40, 1.0); s != 0.0) m->setScale(s);
  long long justification = r.integer(70);
  if (justification >= 0 && justification <= 2)
    m->setJustification(static_cast<AcDbMline::MlineJustification>(justification));
  m->setClosedMline((r.integer(71) & 2) != 0);
  auto vertices = PointsOf(r, 11);
  if (r.has(72) && r.integer(72) != static_cast<long long>(vertices.size()))
    r.fail("has another number of vertices than it says");
  for (const auto& p : vertices) Check(r, m->appendSeg(p), "an invalid vertex");
  return e;
}

const EntityReaderRegistration kHatch("HATCH", ReadHatch);
const EntityReaderRegistration kMline("MLINE", ReadMline);

}  // namespace
}  // namespace arxhost::dxf
