#pragma once
// What the writer needs to know of the tables of one drawing, gathered from
// the database before anything is written. Entities are not copied: each
// block keeps the ids of its entities and the entity writers read them
// through their getters.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace arxhost::dxf {

// An ACI number (0 ByBlock, 256 ByLayer, 1..255) and, for a true colour, its
// packed 0xRRGGBB value.
struct ColorValue {
  int aci = 256;
  std::optional<std::uint32_t> rgb;
};

struct LinetypeInfo {
  std::wstring name;
  std::wstring description;
  std::vector<double> dashes;  // >0 dash, <0 gap, 0 dot
};

struct LayerInfo {
  std::wstring name;
  ColorValue color{7, {}};
  bool on = true, frozen = false, locked = false, plottable = true;
  std::wstring linetype = L"Continuous";
  int lineweight = -3;  // default
};

struct TextStyleInfo {
  std::wstring name;
  double height = 0.0, widthFactor = 1.0, oblique = 0.0, lastHeight = 2.5;
  std::wstring font = L"txt", bigFont;
};

// One dimension variable: its group code and its value as the DXF record
// holds it (a real, an integer, a string or a handle to a named object).
struct DimVar {
  enum class Kind { Real, Integer, Text, TextStyle, Block } kind;
  int code;
  double real = 0.0;
  long long integer = 0;
  std::wstring text;  // also the name of the style or block referred to
};

struct DimStyleInfo {
  std::wstring name;
  std::vector<DimVar> vars;
};

struct BlockInfo {
  std::wstring name;
  std::uint64_t key = 0;  // identifies the block table record
  double base[3] = {0, 0, 0};
  bool anonymous = false;
  std::wstring description;
  std::vector<std::uint64_t> entities;  // object ids of the entities, in order
};

struct DrawingView {
  std::vector<LinetypeInfo> linetypes;
  std::vector<LayerInfo> layers;
  std::vector<TextStyleInfo> textStyles;
  std::vector<DimStyleInfo> dimStyles;
  std::vector<std::wstring> appIds;
  BlockInfo modelSpace, paperSpace;
  std::vector<BlockInfo> blocks;  // every other block definition
  std::wstring currentLayer = L"0", currentTextStyle = L"Standard", currentDimStyle = L"Standard";
  int insUnits = 0;
  int measurement = 0;  // imperial, as the database's default dimension style
};

// The tables every drawing has, even one the database left empty.
DrawingView DefaultDrawingView();

}  // namespace arxhost::dxf
