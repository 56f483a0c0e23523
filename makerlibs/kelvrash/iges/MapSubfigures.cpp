// Subfigure definitions as instance definitions, singular and network
// subfigure instances and pattern arrays as instance references. Read from
// the IGES model itself: the shape transfer drops scaled instances and
// definitions that are used.
#include <cmath>
#include <set>

#include <IGESBasic_SingularSubfigure.hxx>
#include <IGESBasic_SubfigureDef.hxx>
#include <IGESDraw_CircArraySubfigure.hxx>
#include <IGESDraw_NetworkSubfigure.hxx>
#include <IGESDraw_NetworkSubfigureDef.hxx>
#include <IGESDraw_RectArraySubfigure.hxx>
#include <TCollection_HAsciiString.hxx>

#include "Mapper.h"

namespace kelv::iges {

using namespace kelv::model;

namespace {

constexpr int64_t kMaxArrayCopies = 100000;

// Row-major 4x4 matrix of an affine map.
Matrix ToMatrix(const gp_GTrsf& t) {
  double m[16] = {};
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) m[(r - 1) * 4 + (c - 1)] = t.Value(r, c);
    m[(r - 1) * 4 + 3] = t.Value(r, 4);
  }
  m[15] = 1.0;
  return Matrix(flatbuffers::span<const double, 16>(m, 16));
}

gp_GTrsf Affine(const gp_XYZ& translation, const gp_XYZ& scale) {
  gp_GTrsf t;
  gp_Mat m(scale.X(), 0, 0, 0, scale.Y(), 0, 0, 0, scale.Z());
  t.SetVectorialPart(m);
  t.SetTranslationPart(translation);
  return t;
}

std::string Text(const Handle(TCollection_HAsciiString)& s) { return s.IsNull() ? std::string() : s->ToCString(); }

}  // namespace

bool Mapper::DefinitionOf(const Entity& def, Uuid& id, int depth) {
  auto found = definitions_.find(def.get());
  if (found != definitions_.end()) {
    id = found->second;
    return true;
  }
  std::vector<Entity> members;
  std::string name;
  if (auto sub = Handle(IGESBasic_SubfigureDef)::DownCast(def)) {
    name = Text(sub->Name());
    for (int i = 1; i <= sub->NbEntities(); ++i) members.push_back(sub->AssociatedEntity(i));
  } else if (auto net = Handle(IGESDraw_NetworkSubfigureDef)::DownCast(def)) {
    name = Text(net->Name());
    for (int i = 1; i <= net->NbEntities(); ++i) members.push_back(net->Entity(i));
  } else {
    members.push_back(def);  // the base of a pattern array
    name = "ARRAY";
  }
  if (name.empty()) name = "SUBFIGURE";

  std::vector<Uuid> made;
  for (const Entity& m : members) {
    if (m.IsNull()) continue;
    const int mode = 3;
    // A member keeps its own transformation inside the definition.
    try {
      MapEntity(m, gp_GTrsf(), mode, made, depth + 1);
    } catch (const Standard_Failure&) {
      Skip(m);
    }
    if (!fatal_.empty()) return false;
  }
  // Block names must be unique; a repeated name gets the DE number. Named
  // after the members, so that a nested definition of the same name (made
  // above) keeps it.
  const std::string suffix = "_" + std::to_string(2 * iges_->Number(def) - 1);
  if (definitionNames_.count(name) || name == "ARRAY" || name == "SUBFIGURE") name += suffix;
  while (definitionNames_.count(name)) name += suffix;
  definitionNames_.insert(name);
  id = NewUuid();
  out_.AddInstanceDefinition(name, made, id);
  definitions_[def.get()] = id;
  return true;
}

bool Mapper::MapInstance(const Entity& e, const gp_GTrsf& parent, int mode, std::vector<Uuid>& made, int depth) {
  auto reference = [&](const Uuid& def, const gp_GTrsf& placement) {
    InstanceRefT ref;
    ref.definition = def;
    ref.xform = ToMatrix(placement);
    GeometryUnion g;
    g.Set(std::move(ref));
    made.push_back(Emit(e, std::move(g), mode));
  };
  const gp_GTrsf own = Placement(e, parent);

  if (auto single = Handle(IGESBasic_SingularSubfigure)::DownCast(e)) {
    Uuid def;
    if (single->Subfigure().IsNull() || !DefinitionOf(single->Subfigure(), def, depth)) {
      if (fatal_.empty()) Skip(e);
      return false;
    }
    double s = single->HasScaleFactor() ? single->ScaleFactor() : 1.0;
    reference(def, own.Multiplied(Affine(single->Translation(), gp_XYZ(s, s, s))));
    return true;
  }
  if (auto net = Handle(IGESDraw_NetworkSubfigure)::DownCast(e)) {
    Uuid def;
    if (net->SubfigureDefinition().IsNull() || !DefinitionOf(net->SubfigureDefinition(), def, depth)) {
      if (fatal_.empty()) Skip(e);
      return false;
    }
    gp_XYZ s = net->ScaleFactors();
    if (s.X() == 0 && s.Y() == 0 && s.Z() == 0) s = gp_XYZ(1, 1, 1);
    reference(def, own.Multiplied(Affine(net->Translation(), s)));
    return true;
  }

  // Pattern arrays: one reference to a definition of the base entity for
  // each displayed position; the first position is the base itself.
  auto displayed = [](auto& array, int position) {
    if (array->ListCount() == 0) return true;
    bool listed = false;
    for (int i = 1; i <= array->ListCount(); ++i) listed = listed || array->ListPosition(i) == position;
    return array->DoDontFlag() ? !listed : listed;
  };
  if (auto rect = Handle(IGESDraw_RectArraySubfigure)::DownCast(e)) {
    int64_t cols = rect->NbColumns(), rows = rect->NbRows();
    if (cols < 1 || rows < 1 || cols * rows > kMaxArrayCopies) return Fail("has an array of absurd size: " + Describe(e));
    Uuid def;
    if (rect->BaseEntity().IsNull() || !DefinitionOf(rect->BaseEntity(), def, depth)) {
      if (fatal_.empty()) Skip(e);
      return false;
    }
    const double a = rect->RotationAngle(), s = rect->ScaleFactor() > 0 ? rect->ScaleFactor() : 1.0;
    const gp_XYZ corner = rect->LowerLeftCorner().XYZ();
    int position = 0;
    for (int64_t r = 0; r < rows; ++r)
      for (int64_t c = 0; c < cols; ++c) {
        ++position;
        if (!displayed(rect, position)) continue;
        double dx = c * rect->ColumnSeparation(), dy = r * rect->RowSeparation();
        gp_XYZ offset(dx * std::cos(a) - dy * std::sin(a), dx * std::sin(a) + dy * std::cos(a), 0);
        // Scale about the corner, then move to the position.
        gp_GTrsf place = Affine(corner + offset - corner * s, gp_XYZ(s, s, s));
        reference(def, own.Multiplied(place));
      }
    return true;
  }
  if (auto circ = Handle(IGESDraw_CircArraySubfigure)::DownCast(e)) {
    int64_t n = circ->NbLocations();
    if (n < 1 || n > kMaxArrayCopies) return Fail("has an array of absurd size: " + Describe(e));
    Uuid def;
    if (circ->BaseEntity().IsNull() || !DefinitionOf(circ->BaseEntity(), def, depth)) {
      if (fatal_.empty()) Skip(e);
      return false;
    }
    const gp_XYZ c = circ->CenterPoint().XYZ();
    const double r = circ->CircleRadius(), a0 = circ->StartAngle(), da = circ->DeltaAngle();
    auto at = [&](int64_t k) { return c + gp_XYZ(r * std::cos(a0 + k * da), r * std::sin(a0 + k * da), 0); };
    for (int64_t k = 0; k < n; ++k) {
      if (!displayed(circ, static_cast<int>(k + 1))) continue;
      reference(def, own.Multiplied(Affine(at(k) - at(0), gp_XYZ(1, 1, 1))));
    }
    return true;
  }
  Skip(e);
  return false;
}

}  // namespace kelv::iges
