#include "MapAnnotations.h"

#include <charconv>
#include <cmath>

#include <IGESDimen_AngularDimension.hxx>
#include <IGESDimen_DiameterDimension.hxx>
#include <IGESDimen_GeneralLabel.hxx>
#include <IGESDimen_GeneralNote.hxx>
#include <IGESDimen_LeaderArrow.hxx>
#include <IGESDimen_LinearDimension.hxx>
#include <IGESDimen_OrdinateDimension.hxx>
#include <IGESDimen_PointDimension.hxx>
#include <IGESDimen_RadiusDimension.hxx>
#include <IGESDimen_WitnessLine.hxx>
#include <IGESDraw_Drawing.hxx>
#include <IGESDraw_DrawingWithRotation.hxx>
#include <IGESGraph_TextFontDef.hxx>
#include <Standard_Failure.hxx>
#include <TCollection_HAsciiString.hxx>

#include "GeomToModel.h"

namespace kelv::iges {

using namespace kelv::model;

// A plane of an annotation: origin and unit axes in world coordinates.
struct Frame {
  gp_XYZ origin{0, 0, 0}, x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
  Vec2 Local(const gp_XYZ& p) const {
    gp_XYZ d = p - origin;
    return Vec2(d.Dot(x), d.Dot(y));
  }
  Plane ToPlane() const {
    return Plane(Vec3(origin.X(), origin.Y(), origin.Z()), Vec3(x.X(), x.Y(), x.Z()), Vec3(y.X(), y.Y(), y.Z()),
                 Vec3(z.X(), z.Y(), z.Z()));
  }
};

namespace {

// openNURBS annotation types.
enum : int { kDimLinear = 1, kDimAligned = 2, kDimAngular = 3, kDimDiameter = 4, kDimRadius = 5, kLeader = 6,
             kTextBlock = 7, kDimOrdinate = 8 };
// openNURBS text display modes.
enum : int { kTextHorizontal = 1, kTextAboveLine = 2 };

gp_XYZ ApplyVector(const gp_GTrsf& t, const gp_XYZ& v) { return t.VectorialPart() * v; }

gp_XYZ Unit(const gp_XYZ& v, const gp_XYZ& fallback) {
  double m = v.Modulus();
  return m > 1e-300 && std::isfinite(m) ? v / m : fallback;
}

// The frame of a drawing plane under a placement, with the x axis turned by
// 'angle' inside the plane.
Frame FrameOf(const gp_GTrsf& t, const gp_XYZ& origin, double angle) {
  Frame f;
  f.origin = Apply(t, origin);
  gp_XYZ x = Unit(ApplyVector(t, gp_XYZ(std::cos(angle), std::sin(angle), 0)), gp_XYZ(1, 0, 0));
  gp_XYZ y0 = ApplyVector(t, gp_XYZ(-std::sin(angle), std::cos(angle), 0));
  gp_XYZ z = Unit(x.Crossed(y0), gp_XYZ(0, 0, 1));
  f.x = x;
  f.z = z;
  f.y = z.Crossed(x);
  return f;
}

double ScaleOf(const gp_GTrsf& t) {
  double s = ApplyVector(t, gp_XYZ(0, 1, 0)).Modulus();
  return s > 0 && std::isfinite(s) ? s : 1.0;
}

std::string TextOf(const Handle(IGESDimen_GeneralNote)& note, int i) {
  Handle(TCollection_HAsciiString) text = note->Text(i);
  return text.IsNull() ? std::string() : std::string(text->ToCString());
}

// All strings of a note as one dimension text: strings on one baseline run
// together ("R" and "5" make "R5"), further lines start with the paragraph
// break "\\P" of dimension texts.
std::string JoinedText(const Handle(IGESDimen_GeneralNote)& note) {
  std::string all;
  if (note.IsNull()) return all;
  gp_XYZ lastStart;
  double lastAngle = 0, lastHeight = 0;
  bool first = true;
  for (int i = 1; i <= note->NbStrings(); ++i) {
    std::string s = TextOf(note, i);
    if (s.empty()) continue;
    gp_XYZ start = note->StartPoint(i).XYZ();
    if (!first) {
      gp_XYZ up(-std::sin(lastAngle), std::cos(lastAngle), 0);
      bool sameLine = std::abs((start - lastStart).Dot(up)) < 0.5 * std::max(lastHeight, note->BoxHeight(i));
      if (!sameLine) all += "\\P";
    }
    all += s;
    first = false;
    lastStart = start;
    lastAngle = note->RotationAngle(i);
    lastHeight = note->BoxHeight(i);
  }
  return all;
}

// The middle of the box that a note's strings fill, in world coordinates:
// where a dimension's text goes when it stays where the file puts it.
bool NoteCentre(const Handle(IGESDimen_GeneralNote)& note, const gp_GTrsf& t, gp_XYZ& out) {
  if (note.IsNull() || note->NbStrings() < 1) return false;
  const double angle = note->RotationAngle(1);
  const gp_XYZ u(std::cos(angle), std::sin(angle), 0), v(-std::sin(angle), std::cos(angle), 0);
  double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
  for (int i = 1; i <= note->NbStrings(); ++i) {
    if (TextOf(note, i).empty()) continue;
    const gp_XYZ start = note->StartPoint(i).XYZ();
    const double a = note->RotationAngle(i), w = note->BoxWidth(i), h = note->BoxHeight(i);
    const gp_XYZ du(std::cos(a), std::sin(a), 0), dv(-std::sin(a), std::cos(a), 0);
    for (gp_XYZ corner : {start, start + du * w, start + dv * h, start + du * w + dv * h}) {
      const double c[2] = {corner.Dot(u), corner.Dot(v)};
      for (int k = 0; k < 2; ++k) lo[k] = std::min(lo[k], c[k]), hi[k] = std::max(hi[k], c[k]);
    }
  }
  if (!(lo[0] <= hi[0]) || !(lo[1] <= hi[1]) || !std::isfinite(hi[0] - lo[0]) || !std::isfinite(hi[1] - lo[1]))
    return false;
  gp_XYZ centre = u * ((lo[0] + hi[0]) / 2) + v * ((lo[1] + hi[1]) / 2);
  centre.SetZ(note->StartPoint(1).Z());
  out = Apply(t, centre);
  return true;
}

AnnotationT NewAnnotation(AnnotationClass cls, int type, const Frame& frame) {
  AnnotationT a;
  a.cls = cls;
  a.type = type;
  a.plane = frame.ToPlane();
  return a;
}

GeometryUnion Wrap(AnnotationT a) {
  GeometryUnion g;
  g.Set(std::move(a));
  return g;
}

// Six significant digits, whatever the locale: styles whose sizes differ
// below that are one style.
std::string Rounded(double v) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  return std::string(buf, ec == std::errc() ? end : buf);
}

}  // namespace

int AnnotationMapper::FontIndex(const Handle(IGESDimen_GeneralNote)& note, int i) {
  std::string name;
  if (note->IsFontEntity(i)) {
    Handle(IGESGraph_TextFontDef) def = note->FontEntity(i);
    if (!def.IsNull() && !def->FontName().IsNull() && def->FontName()->Length() > 0)
      name = def->FontName()->ToCString();
    else if (!def.IsNull())
      name = "IGES font " + std::to_string(def->FontCode());
  } else {
    int code = note->FontCode(i);
    name = code == 1 || code == 0 ? "Standard" : "IGES font " + std::to_string(code);
  }
  if (name.empty()) name = "Standard";
  auto it = fontOfName_.find(name);
  if (it != fontOfName_.end()) return it->second;
  int index = ctx_.out.AddFont(name);
  fontOfName_[name] = index;
  return index;
}

void AnnotationMapper::FixFontIndices() {
  // Readers of these files find a text's font at (font count - index - 1).
  const int count = static_cast<int>(ctx_.out.Model().fonts.size());
  for (AnnotationT* text : texts_) text->style_index = count - 1 - text->style_index;
}

int AnnotationMapper::DimStyleIndex(double textHeight, double arrowSize, int font, bool arrowhead) {
  std::string key =
      Rounded(textHeight) + "|" + Rounded(arrowSize) + "|" + std::to_string(font) + (arrowhead ? "" : "|-");
  auto it = dimStyleOfKey_.find(key);
  if (it != dimStyleOfKey_.end()) return it->second;
  DimStyleT style;
  style.name = "IGES " + std::to_string(dimStyleOfKey_.size() + 1);
  if (textHeight > 0) style.text_height = textHeight;
  if (arrowSize > 0) style.arrow_size = arrowSize;
  style.font_index = font;
  style.leader_arrowhead = arrowhead;
  int index = ctx_.out.AddDimStyle(style);
  dimStyleOfKey_[key] = index;
  return index;
}

namespace {

// The placement of a part of an annotation: its own transformation, or its
// owner's where it has none.
gp_GTrsf PartPlacement(const Handle(IGESData_IGESEntity)& part, const Handle(IGESData_IGESEntity)& owner,
                       const gp_GTrsf& parent) {
  if (!part.IsNull() && part->HasTransf()) return parent.Multiplied(part->CompoundLocation());
  if (!owner.IsNull() && owner->HasTransf()) return parent.Multiplied(owner->CompoundLocation());
  return parent;
}

struct LeaderPoints {
  std::vector<gp_XYZ> points;  // arrowhead first
  double arrowSize = 0;
  bool arrowhead = true;  // form 4 draws none
  Frame frame;
};

bool LeaderOf(const Handle(IGESDimen_LeaderArrow)& leader, const Handle(IGESData_IGESEntity)& owner,
              const gp_GTrsf& parent, LeaderPoints& out) {
  if (leader.IsNull()) return false;
  gp_GTrsf t = PartPlacement(leader, owner, parent);
  double z = leader->ZDepth();
  out.points.clear();
  gp_Pnt2d head = leader->ArrowHead();
  out.points.push_back(Apply(t, gp_XYZ(head.X(), head.Y(), z)));
  for (int i = 1; i <= leader->NbSegments(); ++i) {
    gp_Pnt2d p = leader->SegmentTail(i);
    out.points.push_back(Apply(t, gp_XYZ(p.X(), p.Y(), z)));
  }
  out.arrowSize = leader->ArrowHeadWidth() * ScaleOf(t);
  out.arrowhead = leader->FormNumber() != 4;
  out.frame = FrameOf(t, gp_XYZ(0, 0, z), 0.0);
  return true;
}

// Both leaders of a linear or angular dimension; the dimension is skipped
// unless both can be read (a leader the parser could not read counts as
// none).
template <class Dimension>
bool BothLeaders(MapContext& ctx, const Handle(Dimension)& d, const gp_GTrsf& parent, LeaderPoints& l1,
                 LeaderPoints& l2) {
  auto usable = [&](const Handle(IGESDimen_LeaderArrow)& l) {
    return ctx.Broken(l) ? Handle(IGESDimen_LeaderArrow)() : l;
  };
  if (LeaderOf(usable(d->FirstLeader()), d, parent, l1) && LeaderOf(usable(d->SecondLeader()), d, parent, l2))
    return true;
  ctx.Skip(d);
  return false;
}

bool WitnessStart(const Handle(IGESDimen_WitnessLine)& witness, const Handle(IGESData_IGESEntity)& owner,
                  const gp_GTrsf& parent, gp_XYZ& out) {
  if (witness.IsNull() || witness->NbPoints() < 1) return false;
  out = Apply(PartPlacement(witness, owner, parent), witness->Point(1).XYZ());
  return true;
}

}  // namespace

bool AnnotationMapper::MapNote(const Handle(IGESDimen_GeneralNote)& note, const gp_GTrsf& parent, const Entity& owner,
                               ObjectMode mode, Made& made) {
  if (note.IsNull() || ctx_.Broken(note)) return false;
  gp_GTrsf t = PartPlacement(note, owner, parent);
  const double scale = ScaleOf(t);
  bool any = false;
  for (int i = 1; i <= note->NbStrings(); ++i) {
    std::string text = TextOf(note, i);
    if (text.empty()) continue;
    Frame frame = FrameOf(t, note->StartPoint(i).XYZ(), note->RotationAngle(i));
    AnnotationT a = NewAnnotation(AnnotationClass::TextEntity2, kTextBlock, frame);
    a.points.push_back(Vec2(0, 0));
    a.user_text = text;
    a.height = note->BoxHeight(i) * scale;
    a.style_index = FontIndex(note, i);
    Uuid id = ctx_.Emit(owner.IsNull() ? Entity(note) : owner, Wrap(std::move(a)), mode);
    texts_.push_back(ctx_.out.Model().objects.back()->geometry.AsAnnotation());
    made.push_back(id);
    any = true;
  }
  return any;
}

bool AnnotationMapper::MapLeader(const Handle(IGESDimen_LeaderArrow)& leader, const gp_GTrsf& parent,
                                 const Entity& owner, ObjectMode mode, Made& made) {
  LeaderPoints lp;
  if (ctx_.Broken(leader) || !LeaderOf(leader, owner, parent, lp)) return false;
  AnnotationT a = NewAnnotation(AnnotationClass::Leader2, kLeader, lp.frame);
  for (const gp_XYZ& p : lp.points) a.points.push_back(lp.frame.Local(p));
  a.style_index = DimStyleIndex(0.0, lp.arrowSize, 0, lp.arrowhead);
  made.push_back(ctx_.Emit(owner.IsNull() ? Entity(leader) : owner, Wrap(std::move(a)), mode));
  return true;
}

bool AnnotationMapper::MapGeneralNote(const Handle(IGESDimen_GeneralNote)& e, const Placing& at, Made& made) {
  if (!MapNote(e, at.parent, Entity(), at.mode, made)) {
    ctx_.Skip(e);
    return false;
  }
  return true;
}

bool AnnotationMapper::MapLeaderArrow(const Handle(IGESDimen_LeaderArrow)& e, const Placing& at, Made& made) {
  if (!MapLeader(e, at.parent, Entity(), at.mode, made)) {
    ctx_.Skip(e);
    return false;
  }
  return true;
}

bool AnnotationMapper::MapGeneralLabel(const Handle(IGESDimen_GeneralLabel)& label, const Placing& at, Made& made) {
  // The note and each leader keep the label's level and colour.
  bool any = MapNote(label->Note(), at.parent, label, at.mode, made);
  for (int i = 1; i <= label->NbLeaders(); ++i)
    any = MapLeader(label->Leader(i), at.parent, label, at.mode, made) || any;
  if (!any) ctx_.Skip(label);
  return any;
}

bool AnnotationMapper::MapPointDimension(const Handle(IGESDimen_PointDimension)& point, const Placing& at,
                                         Made& made) {
  // Open CASCADE reads this entity without its note and leader: take them
  // from its parameters.
  Handle(IGESDimen_GeneralNote) note = point->Note();
  Handle(IGESDimen_LeaderArrow) arrow = point->LeaderArrow();
  if (note.IsNull()) note = Handle(IGESDimen_GeneralNote)::DownCast(ctx_.RawPointer(point, 1));
  if (arrow.IsNull()) arrow = Handle(IGESDimen_LeaderArrow)::DownCast(ctx_.RawPointer(point, 2));
  bool any = MapNote(note, at.parent, point, at.mode, made);
  any = MapLeader(arrow, at.parent, point, at.mode, made) || any;
  if (!any) ctx_.Skip(point);
  return any;
}

// Dimensions: the text, its height and font come from the note.
int AnnotationMapper::StyleFor(const Handle(IGESDimen_GeneralNote)& note, const Entity& e, const gp_GTrsf& parent,
                               double arrowSize, double& height) {
  int font = 0;
  height = 0;
  if (!note.IsNull() && note->NbStrings() >= 1) {
    height = note->BoxHeight(1) * ScaleOf(PartPlacement(note, e, parent));
    font = FontIndex(note, 1);
  }
  return DimStyleIndex(height, arrowSize, font);
}

// A note's angle is the drawing's, not the dimension line's: a text that
// runs along the plane's x axis stays horizontal, one turned with the
// dimension line ('along', where the text sits) is aligned above it.
int AnnotationMapper::DisplayMode(const Handle(IGESDimen_GeneralNote)& note, const Entity& e, const gp_GTrsf& parent,
                                  const gp_XYZ& along) const {
  if (note.IsNull() || note->NbStrings() < 1) return kTextHorizontal;
  const gp_GTrsf t = PartPlacement(note, e, parent);
  Frame text = FrameOf(t, note->StartPoint(1).XYZ(), note->RotationAngle(1));
  Frame plane = FrameOf(t, note->StartPoint(1).XYZ(), 0.0);
  if (text.x.Dot(plane.x) > 0.9999) return kTextHorizontal;
  double cross = text.x.Crossed(Unit(along, text.x)).Modulus();
  return cross < 0.01 ? kTextAboveLine : kTextHorizontal;
}

// The text where the file puts it, in the plane of 'f'.
bool AnnotationMapper::TextPosition(const Handle(IGESDimen_GeneralNote)& note, const Entity& e,
                                    const gp_GTrsf& parent, const Frame& f, AnnotationT& a, Vec2& at) const {
  gp_XYZ centre;
  if (!NoteCentre(note, PartPlacement(note, e, parent), centre)) return false;
  at = f.Local(centre);
  a.user_positioned_text = true;
  return true;
}

bool AnnotationMapper::MapLinearDimension(const Handle(IGESDimen_LinearDimension)& linear, const Placing& at,
                                          Made& made) {
  const Entity& e = linear;
  const gp_GTrsf& parent = at.parent;
  LeaderPoints l1, l2;
  if (!BothLeaders(ctx_, linear, parent, l1, l2)) return false;
  gp_XYZ a1 = l1.points.front(), a2 = l2.points.front();
  gp_XYZ w1 = a1, w2 = a2;
  if (linear->HasFirstWitness()) WitnessStart(Usable(linear->FirstWitness()), e, parent, w1);
  if (linear->HasSecondWitness()) WitnessStart(Usable(linear->SecondWitness()), e, parent, w2);
  const Handle(IGESDimen_GeneralNote) note = Usable(linear->Note());
  // The dimension's plane has its x axis along the dimension line, so the
  // measurement runs along x.
  Frame f = l1.frame;
  f.origin = a1;
  f.x = Unit(a2 - a1, l1.frame.x);
  f.y = f.z.Crossed(f.x);
  AnnotationT a = NewAnnotation(AnnotationClass::LinearDimension2, kDimLinear, f);
  // The fifth point is the text's middle when the file places it, else a
  // point on the dimension line.
  a.points = {f.Local(w1), f.Local(a1), f.Local(w2), f.Local(a2), f.Local((a1 + a2) * 0.5)};
  TextPosition(note, e, parent, f, a, a.points[4]);
  a.user_text = JoinedText(note);
  a.style_index = StyleFor(note, e, parent, l1.arrowSize, a.height);
  a.text_display_mode = DisplayMode(note, e, parent, f.x);
  made.push_back(ctx_.Emit(e, Wrap(std::move(a)), at.mode));
  return true;
}

bool AnnotationMapper::MapRadiusDimension(const Handle(IGESDimen_RadiusDimension)& radius, const Placing& at,
                                          Made& made) {
  return MapRadial(radius, at, radius->Note(), radius->Leader(), radius->Center(), kDimRadius, made);
}

bool AnnotationMapper::MapDiameterDimension(const Handle(IGESDimen_DiameterDimension)& diameter, const Placing& at,
                                            Made& made) {
  return MapRadial(diameter, at, diameter->Note(), diameter->FirstLeader(), diameter->Center(), kDimDiameter, made);
}

bool AnnotationMapper::MapRadial(const Entity& e, const Placing& at, Handle(IGESDimen_GeneralNote) note,
                                 Handle(IGESDimen_LeaderArrow) leader, const gp_Pnt2d& centre, int type, Made& made) {
  const gp_GTrsf& parent = at.parent;
  note = Usable(note);
  leader = Usable(leader);
  LeaderPoints l;
  if (!LeaderOf(leader, e, parent, l)) {
    ctx_.Skip(e);
    return false;
  }
  gp_GTrsf t = PartPlacement(leader, e, parent);
  gp_XYZ c = Apply(t, gp_XYZ(centre.X(), centre.Y(), leader->ZDepth()));
  gp_XYZ textAt = l.points.back();
  if (!note.IsNull() && note->NbStrings() >= 1)
    textAt = Apply(PartPlacement(note, e, parent), note->StartPoint(1).XYZ());
  Frame f = l.frame;
  AnnotationT a = NewAnnotation(AnnotationClass::RadialDimension2, type, f);
  a.points = {f.Local(c), f.Local(l.points.front()), f.Local(textAt), f.Local(l.points.back())};
  TextPosition(note, e, parent, f, a, a.points[2]);
  a.user_text = JoinedText(note);
  a.style_index = StyleFor(note, e, parent, l.arrowSize, a.height);
  // The leader is the dimension line of a radius or diameter.
  gp_XYZ along = l.points.size() > 1 ? l.points[1] - l.points[0] : l.points[0] - c;
  a.text_display_mode = DisplayMode(note, e, parent, along);
  made.push_back(ctx_.Emit(e, Wrap(std::move(a)), at.mode));
  return true;
}

bool AnnotationMapper::MapAngularDimension(const Handle(IGESDimen_AngularDimension)& angular, const Placing& at,
                                           Made& made) {
  const Entity& e = angular;
  const gp_GTrsf& parent = at.parent;
  LeaderPoints l1, l2;
  if (!BothLeaders(ctx_, angular, parent, l1, l2)) return false;
  gp_GTrsf t = PartPlacement(angular, e, parent);
  gp_Pnt2d v2 = angular->Vertex();
  gp_XYZ v = Apply(t, gp_XYZ(v2.X(), v2.Y(), l1.points.empty() ? 0.0 : angular->FirstLeader()->ZDepth()));
  gp_XYZ a1 = l1.points.front(), a2 = l2.points.front();
  gp_XYZ bisector = Unit(Unit(a1 - v, l1.frame.x) + Unit(a2 - v, l1.frame.y), l1.frame.x);
  double r = angular->Radius() * ScaleOf(t);
  Frame f = l1.frame;
  AnnotationT a = NewAnnotation(AnnotationClass::AngularDimension2, kDimAngular, f);
  a.points = {f.Local(v), f.Local(a1), f.Local(a2), f.Local(v + bisector * r)};
  // A fifth point holds the text's place when the file gives one.
  Vec2 textAt;
  const Handle(IGESDimen_GeneralNote) note = Usable(angular->Note());
  if (TextPosition(note, e, parent, f, a, textAt)) a.points.push_back(textAt);
  a.user_text = JoinedText(note);
  a.style_index = StyleFor(note, e, parent, l1.arrowSize, a.height);
  // Aligned text of an angle runs along the arc, across the bisector.
  a.text_display_mode = DisplayMode(note, e, parent, f.z.Crossed(bisector));
  made.push_back(ctx_.Emit(e, Wrap(std::move(a)), at.mode));
  return true;
}

bool AnnotationMapper::MapOrdinateDimension(const Handle(IGESDimen_OrdinateDimension)& ordinate, const Placing& at,
                                            Made& made) {
  const Entity& e = ordinate;
  const gp_GTrsf& parent = at.parent;
  LeaderPoints l;
  bool hasLeader = LeaderOf(Usable(ordinate->Leader()), e, parent, l);
  gp_XYZ base;
  bool hasBase = WitnessStart(Usable(ordinate->WitnessLine()), e, parent, base);
  const Handle(IGESDimen_GeneralNote) note = Usable(ordinate->Note());
  if (!hasLeader && !hasBase) {
    ctx_.Skip(e);
    return false;
  }
  Frame f = hasLeader ? l.frame : FrameOf(PartPlacement(ordinate->WitnessLine(), e, parent), gp_XYZ(0, 0, 0), 0);
  if (!hasBase) base = l.points.back();
  gp_XYZ end = hasLeader ? l.points.front() : base;
  AnnotationT a = NewAnnotation(AnnotationClass::OrdinateDimension2, kDimOrdinate, f);
  a.points = {f.Local(base), f.Local(end)};
  a.user_text = JoinedText(note);
  a.style_index = StyleFor(note, e, parent, hasLeader ? l.arrowSize : 0.0, a.height);
  made.push_back(ctx_.Emit(e, Wrap(std::move(a)), at.mode));
  return true;
}

// The annotations a drawing lists are in the drawing's own coordinates; its
// views place nothing (the model's entities stay where the model has them).
// Each listed entity that the main pass does not draw is drawn once, by the
// first drawing that lists it.
bool AnnotationMapper::MapDrawing(const Entity& e, const Placing& at, Made& made) {
  if (drawnByDrawing_.empty()) drawnByDrawing_.assign(static_cast<size_t>(ctx_.iges->NbEntities()) + 1, 0);
  auto draw = [&](const Entity& a) {
    if (a.IsNull()) return;
    const size_t n = static_cast<size_t>(ctx_.iges->Number(a));
    if (n == 0 || ctx_.alone[n] || drawnByDrawing_[n]) return;
    drawnByDrawing_[n] = 1;
    try {
      ctx_.dispatch->MapEntity(a, Placing{gp_GTrsf(), MapContext::ModeOf(a), at.depth + 1}, made);
    } catch (const Standard_Failure&) {
      ctx_.Skip(a);
    }
  };
  if (auto drawing = Handle(IGESDraw_Drawing)::DownCast(e)) {
    for (int i = 1; i <= drawing->NbAnnotations() && !ctx_.Failed(); ++i) draw(drawing->Annotation(i));
  } else if (auto rotated = Handle(IGESDraw_DrawingWithRotation)::DownCast(e)) {
    for (int i = 1; i <= rotated->NbAnnotations() && !ctx_.Failed(); ++i) draw(rotated->Annotation(i));
  }
  return !ctx_.Failed();
}

}  // namespace kelv::iges
