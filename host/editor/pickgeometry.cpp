#include "editor/pickgeometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "arx/dbheaders.h"
#include "arx/dbInspector.h"
#include "arx/names.h"
#include "win32/strconv.h"

namespace arxhost {
namespace {

// What an entity draws, for picking: polylines in space (a single point is a
// polyline of one point).
using Outline = std::vector<AcGePoint3d>;

double PlanDistanceToSegment(const AcGePoint3d& p, const AcGePoint3d& a, const AcGePoint3d& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// An infinite line or a ray through base along dir, in the plan view.
double PlanDistanceToLine(const AcGePoint3d& p, const AcGePoint3d& base, const AcGeVector3d& dir, bool ray) {
  const double length2 = dir.x * dir.x + dir.y * dir.y;
  if (length2 == 0) return std::hypot(p.x - base.x, p.y - base.y);  // seen end-on: a point
  double t = ((p.x - base.x) * dir.x + (p.y - base.y) * dir.y) / length2;
  if (ray) t = std::max(t, 0.0);
  return std::hypot(p.x - (base.x + t * dir.x), p.y - (base.y + t * dir.y));
}

// Points along a bounded curve: at least 64 pieces, and 16 for each unit of
// parameter so that the vertices of polylines (one unit apart) are met.
Outline SampleCurve(const AcDbCurve& curve) {
  Outline points;
  double start = 0, end = 0;
  if (curve.getStartParam(start) != Acad::eOk || curve.getEndParam(end) != Acad::eOk) return points;
  if (!std::isfinite(start) || !std::isfinite(end) || end < start) return points;
  const double span = end - start;
  const int pieces = static_cast<int>(std::clamp(std::ceil(span) * 16.0, 64.0, 4096.0));
  for (int i = 0; i <= pieces; ++i) {
    AcGePoint3d p;
    const double t = i == pieces ? end : start + span * i / pieces;
    if (curve.getPointAtParam(t, p) == Acad::eOk) points.push_back(p);
  }
  return points;
}

std::vector<Outline> Outlines(const AcDbEntity& entity) {
  std::vector<Outline> outlines;
  if (auto* point = AcDbPoint::cast(&entity)) {
    outlines.push_back(Outline{point->position()});
  } else if (auto* face = AcDbFace::cast(&entity)) {
    Outline o(5);
    for (Adesk::UInt16 i = 0; i < 4; ++i) face->getVertexAt(i, o[i]);
    o[4] = o[0];
    outlines.push_back(o);
  } else if (auto* solid = AcDbSolid::cast(&entity)) {
    // Corners 2 and 3 are drawn crossed: the outline runs 0, 1, 3, 2.
    Outline o(5);
    const Adesk::UInt16 order[4] = {0, 1, 3, 2};
    for (int i = 0; i < 4; ++i) solid->getPointAt(order[i], o[i]);
    o[4] = o[0];
    outlines.push_back(o);
  } else if (auto* polyface = AcDbPolyFaceMesh::cast(&entity)) {
    const auto vertices = polyface->vertexPositions();
    for (const auto& record : polyface->faceRecords()) {
      Outline o;
      for (Adesk::Int16 number : record) {
        const int index = std::abs(number) - 1;
        if (index >= 0 && index < static_cast<int>(vertices.size())) o.push_back(vertices[index]);
      }
      if (!o.empty()) o.push_back(o.front());
      outlines.push_back(o);
    }
    for (const auto& v : vertices) outlines.push_back(Outline{v});
  } else if (auto* grid = AcDbPolygonMesh::cast(&entity)) {
    const auto vertices = grid->points();
    const size_t m = std::max<int>(grid->mSize(), 0), n = std::max<int>(grid->nSize(), 0);
    if (m * n == vertices.size() && n > 0) {
      for (size_t i = 0; i < m; ++i) outlines.emplace_back(vertices.begin() + i * n, vertices.begin() + (i + 1) * n);
      for (size_t j = 0; j < n; ++j) {
        Outline column;
        for (size_t i = 0; i < m; ++i) column.push_back(vertices[i * n + j]);
        outlines.push_back(column);
      }
    } else {
      for (const auto& v : vertices) outlines.push_back(Outline{v});
    }
  } else if (auto* text = AcDbText::cast(&entity)) {
    outlines.push_back(Outline{text->position()});
  } else if (auto* mtext = AcDbMText::cast(&entity)) {
    outlines.push_back(Outline{mtext->location()});
  } else if (auto* reference = AcDbBlockReference::cast(&entity)) {
    outlines.push_back(Outline{reference->position()});
  } else if (auto* curve = AcDbCurve::cast(&entity)) {
    if (!AcDbRay::cast(curve) && !AcDbXline::cast(curve)) outlines.push_back(SampleCurve(*curve));
  }
  return outlines;
}

std::optional<double> ParseNumber(std::wstring_view text) {
  const std::string narrow = ToUtf8(std::wstring(TrimBlanks(text)));
  if (narrow.empty()) return std::nullopt;
  const char* first = narrow.data();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  double value = 0;
  auto [end, ec] = std::from_chars(first, narrow.data() + narrow.size(), value);
  if (ec != std::errc() || end != narrow.data() + narrow.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The word after a leading keyword ("pick", "select-set"), or nullopt when
// the line does not start with it.
std::optional<std::wstring_view> After(std::wstring_view line, std::wstring_view keyword) {
  line = TrimBlanks(line);
  if (line.size() < keyword.size() || !SameName(line.substr(0, keyword.size()), keyword)) return std::nullopt;
  std::wstring_view rest = line.substr(keyword.size());
  if (!rest.empty() && rest.front() != L' ' && rest.front() != L'\t') return std::nullopt;
  return TrimBlanks(rest);
}

}  // namespace

std::vector<AcDbObjectId> CurrentSpaceEntities() {
  DatabaseInspector inspector;
  AcDbDatabase* db = inspector.database();
  if (!db) return {};
  return inspector.entitiesOf(db->currentSpaceId());
}

std::optional<double> PickDistance(const AcDbEntity& entity, const AcGePoint3d& point) {
  if (auto* ray = AcDbRay::cast(&entity)) return PlanDistanceToLine(point, ray->basePoint(), ray->unitDir(), true);
  if (auto* xline = AcDbXline::cast(&entity))
    return PlanDistanceToLine(point, xline->basePoint(), xline->unitDir(), false);
  std::optional<double> best;
  for (const Outline& outline : Outlines(entity)) {
    // A single point is a segment of no length.
    for (size_t i = 0; i + 1 < outline.size() || (i == 0 && outline.size() == 1); ++i) {
      const double d = PlanDistanceToSegment(point, outline[i], outline[std::min(i + 1, outline.size() - 1)]);
      if (!best || d < *best) best = d;
    }
  }
  return best;
}

std::optional<AcGePoint3d> FirstDrawnPoint(const AcDbEntity& entity) {
  if (auto* ray = AcDbRay::cast(&entity)) return ray->basePoint();
  if (auto* xline = AcDbXline::cast(&entity)) return xline->basePoint();
  for (const Outline& outline : Outlines(entity))
    if (!outline.empty()) return outline.front();
  return std::nullopt;
}

std::optional<AcGePoint3d> ParsePoint(std::wstring_view text) {
  double xyz[3] = {0, 0, 0};
  int count = 0;
  text = TrimBlanks(text);
  while (true) {
    const auto comma = text.find(L',');
    auto value = ParseNumber(text.substr(0, comma));
    if (!value || count == 3) return std::nullopt;
    xyz[count++] = *value;
    if (comma == std::wstring_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (count < 2) return std::nullopt;
  return AcGePoint3d(xyz[0], xyz[1], xyz[2]);
}

AcDbObjectId EntityByHandle(std::wstring_view hex) {
  const std::string narrow = ToUtf8(std::wstring(TrimBlanks(hex)));
  Adesk::UInt64 value = 0;
  auto [end, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value, 16);
  if (narrow.empty() || ec != std::errc() || end != narrow.data() + narrow.size() || value == 0) return {};
  for (AcDbObjectId id : CurrentSpaceEntities()) {
    if (AcDbObject* object = PeekObject(id); object && object->objectHandle().value() == value) return id;
  }
  return {};
}

AcDbObjectId EntityAtPoint(const AcGePoint3d& point) {
  AcDbObjectId nearest;
  double best = std::numeric_limits<double>::infinity();
  for (AcDbObjectId id : CurrentSpaceEntities()) {
    auto* entity = AcDbEntity::cast(PeekObject(id));
    if (!entity) continue;
    auto distance = PickDistance(*entity, point);
    // Ties go to the entity drawn last, the one on top.
    if (distance && *distance <= kPickAperture && *distance <= best) {
      best = *distance;
      nearest = id;
    }
  }
  return nearest;
}

std::optional<Pick> ParsePick(std::wstring_view line) {
  auto rest = After(line, L"pick");
  if (!rest || rest->empty()) return std::nullopt;
  Pick pick;
  if (rest->find(L',') != std::wstring_view::npos) {
    auto point = ParsePoint(*rest);
    if (!point) return std::nullopt;
    pick.point = *point;
    pick.id = EntityAtPoint(*point);
    return pick;
  }
  if (rest->find_first_of(L" \t") != std::wstring_view::npos) return std::nullopt;
  pick.id = EntityByHandle(*rest);
  if (auto* entity = AcDbEntity::cast(PeekObject(pick.id)))
    pick.point = FirstDrawnPoint(*entity).value_or(AcGePoint3d::kOrigin);
  return pick;
}

std::optional<std::vector<AcDbObjectId>> ParseSelection(std::wstring_view line) {
  if (SameName(TrimBlanks(line), L"all")) return CurrentSpaceEntities();
  if (auto pick = ParsePick(line)) {
    std::vector<AcDbObjectId> ids;
    if (!pick->id.isNull()) ids.push_back(pick->id);
    return ids;
  }
  auto rest = After(line, L"select-set");
  if (!rest) return std::nullopt;
  std::vector<AcDbObjectId> ids;
  while (!rest->empty()) {
    const auto blank = rest->find_first_of(L" \t");
    AcDbObjectId id = EntityByHandle(rest->substr(0, blank));
    if (!id.isNull()) ids.push_back(id);
    *rest = blank == std::wstring_view::npos ? std::wstring_view() : TrimBlanks(rest->substr(blank));
  }
  return ids;
}

}  // namespace arxhost
