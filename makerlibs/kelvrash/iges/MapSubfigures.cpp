#include "MapSubfigures.h"

#include <cmath>
#include <set>

#include <IGESBasic_SingularSubfigure.hxx>
#include <IGESBasic_SubfigureDef.hxx>
#include <IGESDraw_CircArraySubfigure.hxx>
#include <IGESDraw_NetworkSubfigure.hxx>
#include <IGESDraw_NetworkSubfigureDef.hxx>
#include <IGESDraw_RectArraySubfigure.hxx>
#include <Standard_Failure.hxx>
#include <TCollection_HAsciiString.hxx>

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

bool SubfigureMapper::DefinitionOf(const Entity& def, Uuid& id, int depth) {
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

  Made made;
  for (const Entity& m : members) {
    if (m.IsNull()) continue;
    // A member keeps its own transformation inside the definition.
    try {
      ctx_.dispatch->MapEntity(m, Placing{gp_GTrsf(), ObjectMode::InstanceDefinitionMember, depth + 1}, made);
    } catch (const Standard_Failure&) {
      ctx_.Skip(m);
    }
    if (ctx_.Failed()) return false;
  }
  // Block names must be unique; a repeated name gets the DE number. Named
  // after the members, so that a nested definition of the same name (made
  // above) keeps it.
  const std::string suffix = "_" + std::to_string(2 * ctx_.iges->Number(def) - 1);
  if (definitionNames_.count(name) || name == "ARRAY" || name == "SUBFIGURE") name += suffix;
  while (definitionNames_.count(name)) name += suffix;
  definitionNames_.insert(name);
  id = NewUuid();
  ctx_.out.AddInstanceDefinition(name, made, id);
  definitions_[def.get()] = id;
  return true;
}

bool SubfigureMapper::InstanceDefinition(const Entity& e, const Entity& def, int depth, Uuid& id) {
  if (!def.IsNull() && DefinitionOf(def, id, depth)) return true;
  if (!ctx_.Failed()) ctx_.Skip(e);
  return false;
}

void SubfigureMapper::Reference(const Entity& e, const Uuid& def, const gp_GTrsf& placement, ObjectMode mode,
                                Made& made) {
  InstanceRefT ref;
  ref.definition = def;
  ref.xform = ToMatrix(placement);
  GeometryUnion g;
  g.Set(std::move(ref));
  made.push_back(ctx_.Emit(e, std::move(g), mode));
}

bool SubfigureMapper::MapSingular(const Handle(IGESBasic_SingularSubfigure)& single, const Placing& at, Made& made) {
  const Entity& e = single;
  Uuid def;
  if (!InstanceDefinition(e, single->Subfigure(), at.depth, def)) return false;
  double s = single->HasScaleFactor() ? single->ScaleFactor() : 1.0;
  Reference(e, def, ctx_.Placement(e, at.parent).Multiplied(Affine(single->Translation(), gp_XYZ(s, s, s))), at.mode,
            made);
  return true;
}

bool SubfigureMapper::MapNetwork(const Handle(IGESDraw_NetworkSubfigure)& net, const Placing& at, Made& made) {
  const Entity& e = net;
  Uuid def;
  if (!InstanceDefinition(e, net->SubfigureDefinition(), at.depth, def)) return false;
  gp_XYZ s = net->ScaleFactors();
  if (s.X() == 0 && s.Y() == 0 && s.Z() == 0) s = gp_XYZ(1, 1, 1);
  Reference(e, def, ctx_.Placement(e, at.parent).Multiplied(Affine(net->Translation(), s)), at.mode, made);
  return true;
}

// Pattern arrays: one reference to a definition of the base entity for
// each displayed position; the first position is the base itself.
namespace {

template <class Array>
bool Displayed(const Array& array, int position) {
  if (array->ListCount() == 0) return true;
  bool listed = false;
  for (int i = 1; i <= array->ListCount(); ++i) listed = listed || array->ListPosition(i) == position;
  return array->DoDontFlag() ? !listed : listed;
}

}  // namespace

bool SubfigureMapper::MapRectangularArray(const Handle(IGESDraw_RectArraySubfigure)& rect, const Placing& at,
                                          Made& made) {
  const Entity& e = rect;
  int64_t cols = rect->NbColumns(), rows = rect->NbRows();
  if (cols < 1 || rows < 1 || cols * rows > kMaxArrayCopies)
    return ctx_.Fail("has an array of absurd size: " + ctx_.Describe(e));
  Uuid def;
  if (!InstanceDefinition(e, rect->BaseEntity(), at.depth, def)) return false;
  const gp_GTrsf own = ctx_.Placement(e, at.parent);
  const double a = rect->RotationAngle(), s = rect->ScaleFactor() > 0 ? rect->ScaleFactor() : 1.0;
  const gp_XYZ corner = rect->LowerLeftCorner().XYZ();
  int position = 0;
  for (int64_t r = 0; r < rows; ++r)
    for (int64_t c = 0; c < cols; ++c) {
      ++position;
      if (!Displayed(rect, position)) continue;
      double dx = c * rect->ColumnSeparation(), dy = r * rect->RowSeparation();
      gp_XYZ offset(dx * std::cos(a) - dy * std::sin(a), dx * std::sin(a) + dy * std::cos(a), 0);
      // Scale about the corner, then move to the position.
      gp_GTrsf place = Affine(corner + offset - corner * s, gp_XYZ(s, s, s));
      Reference(e, def, own.Multiplied(place), at.mode, made);
    }
  return true;
}

bool SubfigureMapper::MapCircularArray(const Handle(IGESDraw_CircArraySubfigure)& circ, const Placing& at, Made& made) {
  const Entity& e = circ;
  int64_t n = circ->NbLocations();
  if (n < 1 || n > kMaxArrayCopies) return ctx_.Fail("has an array of absurd size: " + ctx_.Describe(e));
  Uuid def;
  if (!InstanceDefinition(e, circ->BaseEntity(), at.depth, def)) return false;
  const gp_GTrsf own = ctx_.Placement(e, at.parent);
  const gp_XYZ c = circ->CenterPoint().XYZ();
  const double r = circ->CircleRadius(), a0 = circ->StartAngle(), da = circ->DeltaAngle();
  auto position = [&](int64_t k) { return c + gp_XYZ(r * std::cos(a0 + k * da), r * std::sin(a0 + k * da), 0); };
  for (int64_t k = 0; k < n; ++k) {
    if (!Displayed(circ, static_cast<int>(k + 1))) continue;
    Reference(e, def, own.Multiplied(Affine(position(k) - position(0), gp_XYZ(1, 1, 1))), at.mode, made);
  }
  return true;
}

}  // namespace kelv::iges
