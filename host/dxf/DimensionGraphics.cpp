#include "dxf/DimensionGraphics.h"

#include <cmath>
#include <numbers>

#include "dxf/TextValues.h"
#include "win32/strconv.h"
#include "win32/wformat.h"

namespace arxhost::dxf {
namespace {

constexpr double kPi = std::numbers::pi;

struct P2 {
  double x = 0, y = 0;
};
P2 operator+(P2 a, P2 b) { return {a.x + b.x, a.y + b.y}; }
P2 operator-(P2 a, P2 b) { return {a.x - b.x, a.y - b.y}; }
P2 operator*(P2 a, double s) { return {a.x * s, a.y * s}; }
double Dot(P2 a, P2 b) { return a.x * b.x + a.y * b.y; }
double Length(P2 a) { return std::hypot(a.x, a.y); }
P2 Unit(P2 a) {
  double n = Length(a);
  return n > 0 ? P2{a.x / n, a.y / n} : P2{1, 0};
}
P2 Perp(P2 a) { return {-a.y, a.x}; }
P2 Polar(double angle, double r) { return {std::cos(angle) * r, std::sin(angle) * r}; }
double Angle(P2 a) { return std::atan2(a.y, a.x); }
double Normalized(double a) {
  a = std::fmod(a, 2 * kPi);
  return a < 0 ? a + 2 * kPi : a;
}

// The dimension's plane: OCS x, y and the elevation of its points.
struct Plane {
  Ocs ocs;
  double z;
  P2 to2(const Vec3& world) const {
    Vec3 p = ocs.fromWorld(world);
    return {p[0], p[1]};
  }
  Vec3 ocsPoint(P2 p) const { return {p.x, p.y, z}; }
  Vec3 world(P2 p) const { return ocs.toWorld(ocsPoint(p)); }
  Vec3 worldDir(P2 d) const {
    Vec3 o = ocs.toWorld({0, 0, 0}), t = ocs.toWorld({d.x, d.y, 0});
    return {t[0] - o[0], t[1] - o[1], t[2] - o[2]};
  }
};

Plane PlaneOf(const DimGeometry& g) {
  Ocs ocs(g.normal);
  const Vec3& anchor = g.kind == DimGeometry::Kind::Angular3Point ? g.vertex : g.p1;
  return {ocs, ocs.fromWorld(anchor)[2]};
}

std::wstring FormatNumber(double value, int decimals, int zin) {
  if (decimals < 0) decimals = 0;
  if (decimals > 8) decimals = 8;
  if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;  // no "-0.00"
  std::string text = FormatFixed(value, decimals);
  if ((zin & 8) && text.find('.') != std::string::npos) {  // trailing zeros
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  if ((zin & 4) && text.size() > 1 && text[0] == '0' && text[1] == '.') text.erase(0, 1);  // leading zero
  return FromUtf8(text);
}

class Primitives {
 public:
  Primitives(WriteContext& ctx, Handle owner, const Plane& plane) : ctx_(ctx), owner_(owner), plane_(plane) {}
  GroupWriter out;

  void line(P2 a, P2 b, int color) {
    head("LINE", color);
    out.text(100, "AcDbLine");
    point(10, plane_.world(a));
    point(11, plane_.world(b));
    extrusion();
  }
  // A closed filled arrowhead with its tip at tip, pointing along dir.
  void arrow(P2 tip, P2 dir, double size, int color) {
    if (!(size > 0)) return;
    P2 d = Unit(dir), side = Perp(d) * (size / 6);
    P2 base = tip - d * size;
    head("SOLID", color);
    out.text(100, "AcDbTrace");
    point(10, plane_.ocsPoint(tip));
    point(11, plane_.ocsPoint(base + side));
    point(12, plane_.ocsPoint(base - side));
    point(13, plane_.ocsPoint(base - side));
    extrusion();
  }
  void arc(P2 centre, double radius, double start, double end, int color) {
    head("ARC", color);
    out.text(100, "AcDbCircle");
    point(10, plane_.ocsPoint(centre));
    out.real(40, radius);
    extrusion();
    out.text(100, "AcDbArc");
    out.real(50, Normalized(start) * 180 / kPi);
    out.real(51, Normalized(end) * 180 / kPi);
  }
  // attachment 5: middle centre, 8: bottom centre.
  void text(P2 at, double angle, const std::wstring& content, const DimLook& look, int attachment) {
    head("MTEXT", look.textColor);
    out.text(100, "AcDbMText");
    point(10, plane_.world(at));
    out.real(40, look.textHeight);
    out.real(41, 0.0);
    out.integer(71, attachment);
    out.integer(72, 1);
    WriteChunked(out, 3, 1, CaretEncode(ToUtf8(content), true));
    out.text(7, look.textStyle);
    extrusion();
    point(11, plane_.worldDir(Polar(angle, 1.0)));
  }

 private:
  void head(std::string_view type, int color) {
    out.type(type);
    out.handle(5, ctx_.handles.fresh());
    out.handle(330, owner_);
    out.text(100, "AcDbEntity");
    out.text(8, "0");
    out.integer(62, color >= 0 && color <= 256 ? color : 0);
  }
  void point(int code, const Vec3& p) { out.point(code, p[0], p[1], p[2]); }
  void extrusion() {
    if (!plane_.ocs.isWorld()) point(210, plane_.ocs.normal());
  }
  WriteContext& ctx_;
  Handle owner_;
  const Plane& plane_;
};

// Text reads from left to right or from below.
double Readable(double angle) {
  angle = Normalized(angle);
  if (angle > kPi / 2 + 1e-9 && angle <= 3 * kPi / 2 + 1e-9) angle -= kPi;
  return angle;
}

// The rough width of a text, to leave room for it on a dimension line.
double TextWidth(const std::wstring& text, const DimLook& look) {
  return static_cast<double>(text.size()) * look.textHeight * 0.7;
}

struct Linear {
  P2 x1, x2, a1, a2, u;
};

Linear LinearOf(const DimGeometry& g, const Plane& plane) {
  Linear l;
  l.x1 = plane.to2(g.p1);
  l.x2 = plane.to2(g.p2);
  P2 dl = plane.to2(g.dimLinePoint);
  Vec3 dirOrigin = plane.ocs.fromWorld({0, 0, 0}), dirTip = plane.ocs.fromWorld(g.direction);
  l.u = Unit({dirTip[0] - dirOrigin[0], dirTip[1] - dirOrigin[1]});
  l.a1 = dl + l.u * Dot(l.x1 - dl, l.u);
  l.a2 = dl + l.u * Dot(l.x2 - dl, l.u);
  return l;
}

struct Angular {
  P2 c, e1, e2;
  double radius, start, sweep;  // counter-clockwise from start
};

Angular AngularOf(const DimGeometry& g, const Plane& plane) {
  Angular a;
  a.c = plane.to2(g.vertex);
  P2 arc = plane.to2(g.arcPoint);
  a.e1 = plane.to2(g.p1);
  a.e2 = plane.to2(g.p2);
  a.radius = Length(arc - a.c);
  double t1 = Normalized(Angle(a.e1 - a.c)), t2 = Normalized(Angle(a.e2 - a.c)), ta = Normalized(Angle(arc - a.c));
  double sweep = Normalized(t2 - t1);
  // The arc is the one of the two between the lines that holds the arc point.
  if (Normalized(ta - t1) <= sweep) {
    a.start = t1;
    a.sweep = sweep;
  } else {
    a.start = t2;
    a.sweep = 2 * kPi - sweep;
  }
  return a;
}

}  // namespace

double DimMeasurement(const DimGeometry& g, const DimLook& look) {
  Plane plane = PlaneOf(g);
  switch (g.kind) {
    case DimGeometry::Kind::Linear: {
      Linear l = LinearOf(g, plane);
      return Length(l.a2 - l.a1) * look.linearFactor;
    }
    case DimGeometry::Kind::Radial: return Length(plane.to2(g.p2) - plane.to2(g.p1)) * look.linearFactor;
    case DimGeometry::Kind::Angular3Point: return AngularOf(g, plane).sweep;
  }
  return 0.0;
}

std::wstring DimText(const DimGeometry& g, const DimLook& look) {
  double m = DimMeasurement(g, look);
  std::wstring measured;
  switch (g.kind) {
    case DimGeometry::Kind::Linear: measured = FormatNumber(m, look.decimals, look.zeroSuppression); break;
    case DimGeometry::Kind::Radial: measured = L"R" + FormatNumber(m, look.decimals, look.zeroSuppression); break;
    case DimGeometry::Kind::Angular3Point:
      measured = FormatNumber(m * 180 / kPi, look.angleDecimals, look.zeroSuppression) + L"\u00b0";
      break;
  }
  if (g.textOverride.empty()) return measured;
  if (g.textOverride == L" ") return L"";
  std::wstring text = g.textOverride;
  if (auto at = text.find(L"<>"); at != std::wstring::npos) text.replace(at, 2, measured);
  return text;
}

Vec3 DimTextPosition(const DimGeometry& g, const DimLook& look) {
  if (g.textPosition) return *g.textPosition;
  Plane plane = PlaneOf(g);
  switch (g.kind) {
    case DimGeometry::Kind::Linear: {
      Linear l = LinearOf(g, plane);
      P2 mid = (l.a1 + l.a2) * 0.5;
      // Above the line (towards the reader's up) or on it.
      P2 up = Perp(Polar(Readable(Angle(l.u)), 1.0));
      return plane.world(look.textAbove ? mid + up * (look.gap + look.textHeight / 2) : mid);
    }
    case DimGeometry::Kind::Radial: {
      P2 c = plane.to2(g.p1), p = plane.to2(g.p2);
      P2 d = Unit(p - c);
      return plane.world(p + d * (look.arrowSize + look.gap + TextWidth(DimText(g, look), look) / 2));
    }
    case DimGeometry::Kind::Angular3Point: {
      Angular a = AngularOf(g, plane);
      double mid = a.start + a.sweep / 2;
      return plane.world(a.c + Polar(mid, a.radius + look.gap + look.textHeight / 2));
    }
  }
  return g.p1;
}

std::wstring MakeDimensionBlock(WriteContext& ctx, const DimGeometry& g, const DimLook& look) {
  std::wstring name = ctx.NewAnonymousName(L"*D");
  Plane plane = PlaneOf(g);
  Primitives draw(ctx, ctx.record("BLOCK_RECORD", name), plane);
  std::wstring text = DimText(g, look);
  P2 textAt = plane.to2(DimTextPosition(g, look));

  switch (g.kind) {
    case DimGeometry::Kind::Linear: {
      Linear l = LinearOf(g, plane);
      for (auto [x, a] : {std::pair{l.x1, l.a1}, std::pair{l.x2, l.a2}}) {
        P2 d = a - x;
        if (Length(d) <= look.extOffset) continue;  // the point lies on the dimension line
        P2 n = Unit(d);
        draw.line(x + n * look.extOffset, a + n * look.extExtend, look.extColor);
      }
      P2 along = Unit(l.a2 - l.a1);
      double t = Dot(textAt - l.a1, along), length = Length(l.a2 - l.a1);
      const bool inside = t >= 0 && t <= length;
      const bool horizontal = inside ? look.horizontalInside : look.horizontalOutside;
      double textAngle = horizontal ? 0.0 : Readable(Angle(l.u));
      // A text on the line (not above it, not moved away) breaks the line
      // for as much of it as the text covers along the line.
      const double turn = textAngle - Angle(along);
      double half = std::fabs(std::cos(turn)) * TextWidth(text, look) / 2 +
                    std::fabs(std::sin(turn)) * look.textHeight / 2 + look.gap;
      bool onLine = !text.empty() && !look.textAbove && std::fabs(Dot(textAt - l.a1, Perp(along))) < 1e-9 &&
                    t - half > 0 && t + half < length;
      if (onLine) {
        draw.line(l.a1, l.a1 + along * (t - half), look.lineColor);
        draw.line(l.a1 + along * (t + half), l.a2, look.lineColor);
      } else {
        draw.line(l.a1, l.a2, look.lineColor);
      }
      if (length > 0) {
        draw.arrow(l.a1, along * -1.0, look.arrowSize, look.lineColor);
        draw.arrow(l.a2, along, look.arrowSize, look.lineColor);
      }
      if (!text.empty()) draw.text(textAt, textAngle, text, look, 5);
      break;
    }
    case DimGeometry::Kind::Radial: {
      P2 c = plane.to2(g.p1), p = plane.to2(g.p2);
      P2 d = Unit(p - c);
      draw.line(c, p, look.lineColor);
      draw.arrow(p, d, look.arrowSize, look.lineColor);
      const bool outside = Length(textAt - c) > Length(p - c);
      const double textAngle = (outside ? look.horizontalOutside : look.horizontalInside) ? 0.0 : Readable(Angle(d));
      // Text beyond the curve: a leader from the curve to the text's edge.
      if (outside) {
        const double turn = textAngle - Angle(d);
        P2 end = textAt - d * (std::fabs(std::cos(turn)) * TextWidth(text, look) / 2 +
                               std::fabs(std::sin(turn)) * look.textHeight / 2 + look.gap);
        if (Dot(end - p, d) > 0) draw.line(p, end, look.lineColor);
      }
      if (!text.empty()) draw.text(textAt, textAngle, text, look, 5);
      break;
    }
    case DimGeometry::Kind::Angular3Point: {
      Angular a = AngularOf(g, plane);
      if (a.radius > 0) {
        draw.arc(a.c, a.radius, a.start, a.start + a.sweep, look.lineColor);
        for (P2 e : {a.e1, a.e2}) {
          P2 n = Unit(e - a.c);
          P2 onArc = a.c + n * a.radius;
          double from = Length(e - a.c);
          // Extension lines only where the line's point is off the arc.
          if (std::fabs(from - a.radius) > look.extOffset) {
            double sign = from < a.radius ? 1.0 : -1.0;
            draw.line(e + n * (sign * look.extOffset), onArc + n * (sign * look.extExtend), look.extColor);
          }
        }
        P2 startPoint = a.c + Polar(a.start, a.radius), endPoint = a.c + Polar(a.start + a.sweep, a.radius);
        draw.arrow(startPoint, Perp(Polar(a.start, 1.0)) * -1.0, look.arrowSize, look.lineColor);
        draw.arrow(endPoint, Perp(Polar(a.start + a.sweep, 1.0)), look.arrowSize, look.lineColor);
      }
      double mid = a.start + a.sweep / 2;
      if (!text.empty()) draw.text(textAt, look.horizontalInside ? 0.0 : Readable(mid - kPi / 2), text, look, 5);
      break;
    }
  }
  ctx.madeBlocks.push_back({name, draw.out.take()});
  return name;
}

}  // namespace arxhost::dxf
