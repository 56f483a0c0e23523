#include "dxf/DxfInEntity.h"

#include <cmath>
#include <map>

#include "arx/cmColor.h"
#include "arx/dbEntity.h"
#include "win32/strconv.h"

namespace arxhost::dxf {
namespace {

std::map<std::string, EntityReadFn, std::less<>>& Registry() {
  static std::map<std::string, EntityReadFn, std::less<>> readers;
  return readers;
}

void CommonProperties(const DxfRecord& r, AcDbEntity& e, std::vector<Fixup>& fixups) {
  std::wstring layer = Wide(r.text(8, "0"));
  if (layer.empty()) layer = L"0";
  fixups.push_back([layer](NameResolver& names, AcDbEntity& entity) { entity.setLayer(names.layer(layer)); });
  if (const DxfGroup* lt = r.find(6); lt && !lt->value.empty()) {
    std::wstring linetype = Wide(lt->value);
    fixups.push_back([linetype](NameResolver& names, AcDbEntity& entity) {
      AcDbObjectId id = names.linetype(linetype);
      if (!id.isNull()) entity.setLinetype(id);
    });
  }
  AcCmColor color;
  long long aci = r.integer(62, 256);
  if (aci == 0) {
    color.setByBlock();
  } else if (aci >= 1 && aci <= 255) {
    color.setColorIndex(static_cast<Adesk::UInt16>(aci));
  } else {
    color.setByLayer();  // 256, and what no colour means
  }
  if (const DxfGroup* rgb = r.find(420)) {
    auto v = static_cast<std::uint32_t>(rgb->integer);
    color.setRGB(static_cast<Adesk::UInt8>((v >> 16) & 0xFF), static_cast<Adesk::UInt8>((v >> 8) & 0xFF),
                 static_cast<Adesk::UInt8>(v & 0xFF));
  }
  e.setColor(color);
  if (const DxfGroup* w = r.find(370)) {
    long long weight = w->integer;
    bool known = weight >= -3 && weight <= 211;
    if (known) e.setLineWeight(static_cast<AcDb::LineWeight>(weight));
  }
  if (const DxfGroup* s = r.find(48); s && s->real > 0.0) e.setLinetypeScale(s->real);
  if (r.integer(60) == 1) e.setVisibility(AcDb::kInvisible);
}

}  // namespace

void EntityDeleter::operator()(AcDbEntity* entity) const {
  // Only entities that never reached a database are ours to delete.
  if (entity && entity->objectId().isNull()) delete entity;
}

EntityReaderRegistration::EntityReaderRegistration(const char* dxfType, EntityReadFn fn) { Registry()[dxfType] = fn; }

BuiltEntity BuildEntity(const DxfRecord& record, BuildContext& ctx) {
  BuiltEntity built;
  auto it = Registry().find(record.type);
  if (it == Registry().end()) return built;
  std::vector<Fixup> own;
  built.entity = it->second(record, ctx, own);
  if (!built.entity) return built;
  CommonProperties(record, *built.entity, built.fixups);
  for (auto& f : own) built.fixups.push_back(std::move(f));
  built.paperSpace = record.integer(67) == 1;
  return built;
}

std::wstring Wide(std::string_view utf8) { return FromUtf8(utf8); }

AcGePoint3d PointOf(const DxfRecord& r, int code, const AcGePoint3d& fallback) {
  const DxfGroup* x = r.find(code);
  if (!x) return fallback;
  return {x->real, r.real(code + 10), r.real(code + 20)};
}

AcGeVector3d VectorOf(const DxfRecord& r, int code, const AcGeVector3d& fallback) {
  const DxfGroup* x = r.find(code);
  if (!x) return fallback;
  return {x->real, r.real(code + 10), r.real(code + 20)};
}

std::vector<AcGePoint3d> PointsOf(const DxfRecord& r, int code) {
  std::vector<AcGePoint3d> points;
  for (const auto& g : r.groups) {
    if (g.code == code) {
      points.emplace_back(g.real, 0.0, 0.0);
    } else if (g.code == code + 10 && !points.empty()) {
      points.back().y = g.real;
    } else if (g.code == code + 20 && !points.empty()) {
      points.back().z = g.real;
    }
  }
  return points;
}

Vec3 ExtrusionOf(const DxfRecord& r) {
  AcGeVector3d n = VectorOf(r, 210, AcGeVector3d(0, 0, 1));
  double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (!(length > 1e-12) || !std::isfinite(length)) r.fail("has a zero extrusion direction");
  return {n.x / length, n.y / length, n.z / length};
}

std::string CaretDecode(std::string_view value, bool mtext) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c == '^' && i + 1 < value.size()) {
      char next = value[i + 1];
      if (next == ' ') {
        out += '^';
        ++i;
        continue;
      }
      if (next >= '@' && next <= '_') {
        out += static_cast<char>(next - 64);
        ++i;
        continue;
      }
    }
    if (mtext && c == '\\' && i + 1 < value.size() && value[i + 1] == 'P') {
      out += '\n';
      ++i;
      continue;
    }
    out += c;
  }
  return out;
}

void Check(const DxfRecord& r, Acad::ErrorStatus status, const char* what) {
  if (status != Acad::eOk) r.fail(std::string("has ") + what);
}

}  // namespace arxhost::dxf
