#pragma once
// Basic constants, integer types and the ON namespace class of enums shared by
// every openNURBS-style class of this library.
#include <cfloat>
#include <cmath>
#include <cstdint>

using ON__INT32 = std::int32_t;
using ON__UINT32 = std::uint32_t;
using ON__INT64 = std::int64_t;
using ON__UINT64 = std::uint64_t;

inline constexpr double ON_PI = 3.141592653589793238462643;
inline constexpr double ON_EPSILON = 2.2204460492503131e-16;
inline constexpr double ON_SQRT_EPSILON = 1.490116119385000000e-8;
inline constexpr double ON_ZERO_TOLERANCE = 2.3283064365386962890625e-10;  // 2^-32
inline constexpr double ON_UNSET_VALUE = -1.23432101234321e+308;
inline constexpr float ON_UNSET_FLOAT = -1.234321e+38f;

inline bool ON_IsValid(double x) { return x != ON_UNSET_VALUE && std::isfinite(x); }

class ON {
 public:
  // 200707180: the library version the model files of this system carry.
  static int Version() { return 200707180; }

  enum object_mode { normal_object = 0, hidden_object = 1, locked_object = 2, idef_object = 3,
                     object_mode_count = 4 };
  static object_mode ObjectMode(int i);

  enum object_color_source { color_from_layer = 0, color_from_object = 1,
                             color_from_material = 2, color_from_parent = 3 };
  static object_color_source ObjectColorSource(int i);

  enum object_type {
    unknown_object_type = 0, point_object = 1, pointset_object = 2, curve_object = 4,
    surface_object = 8, brep_object = 0x10, mesh_object = 0x20, layer_object = 0x40,
    material_object = 0x80, light_object = 0x100, annotation_object = 0x200,
    userdata_object = 0x400, instance_definition = 0x800, instance_reference = 0x1000,
    text_dot = 0x2000, grip_object = 0x4000, detail_object = 0x8000, hatch_object = 0x10000,
    morph_control_object = 0x20000, loop_object = 0x80000, polysrf_filter = 0x200000,
    edge_filter = 0x400000, polyedge_filter = 0x800000, meshvertex_object = 0x01000000,
    meshedge_object = 0x02000000, meshface_object = 0x04000000, cage_object = 0x08000000,
    phantom_object = 0x10000000, clipplane_object = 0x20000000, any_object = 0xFFFFFFFF
  };

  enum eAnnotationType { dtNothing = 0, dtDimLinear = 1, dtDimAligned = 2, dtDimAngular = 3,
                         dtDimDiameter = 4, dtDimRadius = 5, dtLeader = 6, dtTextBlock = 7,
                         dtDimOrdinate = 8 };
  enum eTextDisplayMode { dtNormal = 0, dtHorizontal = 1, dtAboveLine = 2, dtInLine = 3 };
  static eTextDisplayMode TextDisplayMode(int i);

  enum unit_system { no_unit_system = 0, microns = 1, millimeters = 2, centimeters = 3,
                     meters = 4, kilometers = 5, microinches = 6, mils = 7, inches = 8,
                     feet = 9, miles = 10, custom_unit_system = 11 };
  enum active_space { no_space = 0, model_space = 1, page_space = 2 };
  enum curve_style { unknown_curve_style = 0, line = 1, circle = 2, ellipse = 3,
                     parabola = 4, hyperbola = 5, planar_polyline = 6, polyline = 7,
                     planar_freeform_curve = 8, freeform_curve = 9 };
};

// A sink for the diagnostics of IsValid(); collects plain text.
class ON_TextLog;
