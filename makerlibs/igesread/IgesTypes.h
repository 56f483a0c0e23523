#pragma once
// The IGES entity types that the check and the converters name, by their
// type numbers.
namespace igesread {

enum class IgesType : int {
  Null = 0,
  // Curves and points
  CircularArc = 100,
  CompositeCurve = 102,
  ConicArc = 104,
  CopiousData = 106,
  Plane = 108,
  Line = 110,
  ParametricSplineCurve = 112,
  ParametricSplineSurface = 114,
  Point = 116,
  // Surfaces
  RuledSurface = 118,
  SurfaceOfRevolution = 120,
  TabulatedCylinder = 122,
  TransformationMatrix = 124,
  RationalBSplineCurve = 126,
  RationalBSplineSurface = 128,
  OffsetCurve = 130,
  OffsetSurface = 140,
  Boundary = 141,
  CurveOnSurface = 142,
  BoundedSurface = 143,
  TrimmedSurface = 144,
  // Solids
  BooleanTree = 180,
  SolidAssembly = 184,
  ManifoldSolid = 186,
  PlaneSurface = 190,
  CylindricalSurface = 192,
  ConicalSurface = 194,
  SphericalSurface = 196,
  ToroidalSurface = 198,
  // Annotations
  AngularDimension = 202,
  DiameterDimension = 206,
  GeneralLabel = 210,
  GeneralNote = 212,
  NewGeneralNote = 213,
  LeaderArrow = 214,
  LinearDimension = 216,
  OrdinateDimension = 218,
  PointDimension = 220,
  RadiusDimension = 222,
  // Structure
  AssociativityDefinition = 302,
  LineFontDefinition = 304,
  MacroDefinition = 306,
  SubfigureDefinition = 308,
  TextFontDefinition = 310,
  TextDisplayTemplate = 312,
  Color = 314,
  UnitsData = 316,
  NetworkSubfigureDefinition = 320,
  AttributeTableDefinition = 322,
  AssociativityInstance = 402,
  Drawing = 404,
  Property = 406,
  SingularSubfigureInstance = 408,
  View = 410,
  RectangularArrayInstance = 412,
  CircularArrayInstance = 414,
  NetworkSubfigureInstance = 420,
  // B-rep topology
  Vertex = 502,
  Edge = 504,
  Loop = 508,
  Face = 510,
  Shell = 514,
};

constexpr IgesType ToIgesType(int number) { return static_cast<IgesType>(number); }
constexpr int TypeNumber(IgesType type) { return static_cast<int>(type); }

}  // namespace igesread
