// The TABLES section: symbol tables in the order AutoCAD writes them.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "dxf/WriteContext.h"

namespace arxhost::dxf {
namespace {

void BeginTable(WriteContext& ctx, std::string_view name, size_t count) {
  auto& out = ctx.out;
  out.type("TABLE");
  out.text(2, name);
  out.handle(5, ctx.table(name));
  out.handle(330, 0);
  out.text(100, "AcDbSymbolTable");
  out.integer(70, static_cast<long long>(count));
}

void EndTable(WriteContext& ctx) { ctx.out.type("ENDTAB"); }

// Group 0 to the record's own subclass marker.
void RecordHead(WriteContext& ctx, std::string_view table, std::wstring_view name, std::string_view subclass,
                int handleCode = 5) {
  auto& out = ctx.out;
  out.type(table);
  out.handle(handleCode, ctx.record(table, name));
  out.handle(330, ctx.table(table));
  out.text(100, "AcDbSymbolTableRecord");
  out.text(100, subclass);
  out.text(2, name);
}

void WriteColor(GroupWriter& out, const ColorValue& color, bool negative = false) {
  int aci = color.aci;
  out.integer(62, negative ? -aci : aci);
  if (color.rgb) out.integer(420, static_cast<long long>(*color.rgb & 0xFFFFFF));
}

void WriteViewports(WriteContext& ctx) {
  auto& out = ctx.out;
  BeginTable(ctx, "VPORT", 1);
  RecordHead(ctx, "VPORT", L"*Active", "AcDbViewportTableRecord");
  out.integer(70, 0);
  out.point2(10, 0.0, 0.0);
  out.point2(11, 1.0, 1.0);
  // Centre and height of the view: the extents when there are any.
  const Extents& e = ctx.extents;
  double cx = 0, cy = 0, height = 10;
  if (!e.empty()) {
    cx = (e.min[0] + e.max[0]) / 2;
    cy = (e.min[1] + e.max[1]) / 2;
    height = std::max(e.max[1] - e.min[1], (e.max[0] - e.min[0]) / 1.5) * 1.1;
    if (!(height > 0) || !std::isfinite(height)) height = 10;
  }
  out.point2(12, cx, cy);
  out.point2(13, 0.0, 0.0);
  out.point2(14, 0.5, 0.5);
  out.point2(15, 0.5, 0.5);
  out.point(16, 0.0, 0.0, 1.0);
  out.point(17, 0.0, 0.0, 0.0);
  out.real(40, height);
  out.real(41, 1.5);
  out.real(42, 50.0);
  out.real(43, 0.0);
  out.real(44, 0.0);
  out.real(50, 0.0);
  out.real(51, 0.0);
  out.integer(71, 0);
  out.integer(72, 100);
  out.integer(73, 1);
  out.integer(74, 3);
  out.integer(75, 0);
  out.integer(76, 0);
  out.integer(77, 0);
  out.integer(78, 0);
  out.integer(281, 0);
  out.integer(65, 1);
  out.point(110, 0.0, 0.0, 0.0);
  out.point(111, 1.0, 0.0, 0.0);
  out.point(112, 0.0, 1.0, 0.0);
  out.integer(79, 0);
  out.real(146, 0.0);
  EndTable(ctx);
}

void WriteLinetypes(WriteContext& ctx) {
  auto& out = ctx.out;
  BeginTable(ctx, "LTYPE", ctx.view.linetypes.size());
  for (const auto& lt : ctx.view.linetypes) {
    RecordHead(ctx, "LTYPE", lt.name, "AcDbLinetypeTableRecord");
    out.integer(70, 0);
    out.text(3, lt.description);
    out.integer(72, 65);
    out.integer(73, static_cast<long long>(lt.dashes.size()));
    double total = 0;
    for (double d : lt.dashes) total += std::fabs(d);
    out.real(40, total);
    for (double d : lt.dashes) {
      out.real(49, d);
      out.integer(74, 0);
    }
  }
  EndTable(ctx);
}

void WriteLayers(WriteContext& ctx) {
  auto& out = ctx.out;
  BeginTable(ctx, "LAYER", ctx.view.layers.size());
  for (const auto& layer : ctx.view.layers) {
    RecordHead(ctx, "LAYER", layer.name, "AcDbLayerTableRecord");
    out.integer(70, (layer.frozen ? 1 : 0) | (layer.locked ? 4 : 0));
    // A layer that is off keeps its colour with the sign turned.
    WriteColor(out, layer.color, !layer.on);
    out.text(6, layer.linetype);
    out.integer(290, layer.plottable ? 1 : 0);
    out.integer(370, layer.lineweight);
    out.handle(390, ctx.object("PlotStyleNormal"));
  }
  EndTable(ctx);
}

void WriteTextStyles(WriteContext& ctx) {
  auto& out = ctx.out;
  BeginTable(ctx, "STYLE", ctx.view.textStyles.size());
  for (const auto& style : ctx.view.textStyles) {
    RecordHead(ctx, "STYLE", style.name, "AcDbTextStyleTableRecord");
    out.integer(70, 0);
    out.real(40, style.height);
    out.real(41, style.widthFactor);
    out.real(50, style.oblique * (180.0 / std::numbers::pi));  // degrees in DXF
    out.integer(71, 0);
    out.real(42, style.lastHeight);
    out.text(3, style.font);
    out.text(4, style.bigFont);
  }
  EndTable(ctx);
}

void WriteEmptyTable(WriteContext& ctx, std::string_view name) {
  BeginTable(ctx, name, 0);
  EndTable(ctx);
}

void WriteAppIds(WriteContext& ctx) {
  BeginTable(ctx, "APPID", ctx.view.appIds.size());
  for (const auto& name : ctx.view.appIds) {
    RecordHead(ctx, "APPID", name, "AcDbRegAppTableRecord");
    ctx.out.integer(70, 0);
  }
  EndTable(ctx);
}

void WriteDimStyles(WriteContext& ctx) {
  auto& out = ctx.out;
  const auto& styles = ctx.view.dimStyles;
  BeginTable(ctx, "DIMSTYLE", styles.size());
  out.text(100, "AcDbDimStyleTable");
  out.integer(71, static_cast<long long>(styles.size()));
  for (const auto& style : styles) out.handle(340, ctx.record("DIMSTYLE", style.name));
  for (const auto& style : styles) {
    RecordHead(ctx, "DIMSTYLE", style.name, "AcDbDimStyleTableRecord", 105);
    out.integer(70, 0);
    for (const auto& var : style.vars) {
      switch (var.kind) {
        case DimVar::Kind::Real: out.real(var.code, var.real); break;
        case DimVar::Kind::Integer: out.integer(var.code, var.integer); break;
        case DimVar::Kind::Text: out.text(var.code, var.text); break;
        case DimVar::Kind::TextStyle: out.handle(var.code, ctx.record("STYLE", var.text)); break;
        case DimVar::Kind::Block:
          // Arrow blocks the drawing does not define are left to the
          // reader's default rather than pointing nowhere.
          if (!var.text.empty() && ctx.HasBlock(var.text)) out.handle(var.code, ctx.record("BLOCK_RECORD", var.text));
          break;
      }
    }
  }
  EndTable(ctx);
}

void WriteBlockRecords(WriteContext& ctx) {
  auto& out = ctx.out;
  const auto& v = ctx.view;
  BeginTable(ctx, "BLOCK_RECORD", 2 + v.blocks.size() + ctx.madeBlocks.size());
  auto record = [&](std::wstring_view name, Handle layout) {
    RecordHead(ctx, "BLOCK_RECORD", name, "AcDbBlockTableRecord");
    out.handle(340, layout);
    out.integer(70, v.insUnits);
    out.integer(280, 1);
    out.integer(281, 0);
  };
  record(v.modelSpace.name, ctx.object("LayoutModel"));
  record(v.paperSpace.name, ctx.object("LayoutPaper"));
  for (const auto& block : v.blocks) record(block.name, 0);
  for (const auto& block : ctx.madeBlocks) record(block.name, 0);
  EndTable(ctx);
}

}  // namespace

void WriteTablesSection(WriteContext& ctx) {
  auto& out = ctx.out;
  out.type("SECTION");
  out.text(2, "TABLES");
  WriteViewports(ctx);
  WriteLinetypes(ctx);
  WriteLayers(ctx);
  WriteTextStyles(ctx);
  WriteEmptyTable(ctx, "VIEW");
  WriteEmptyTable(ctx, "UCS");
  WriteAppIds(ctx);
  WriteDimStyles(ctx);
  WriteBlockRecords(ctx);
  out.type("ENDSEC");
}

}  // namespace arxhost::dxf
