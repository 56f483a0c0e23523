// The OBJECTS section: the named-object dictionary and what hangs from it
// (groups, layouts, plot style names).
#include <algorithm>
#include <vector>

#include "dxf/WriteContext.h"

namespace arxhost::dxf {
namespace {

void Reactor(GroupWriter& out, Handle owner) {
  out.text(102, "{ACAD_REACTORS");
  out.handle(330, owner);
  out.text(102, "}");
}

void DictionaryHead(WriteContext& ctx, std::string_view type, Handle self, Handle owner) {
  auto& out = ctx.out;
  out.type(type);
  out.handle(5, self);
  if (owner) Reactor(out, owner);
  out.handle(330, owner);
  out.text(100, "AcDbDictionary");
  out.integer(281, 1);
}

void WriteLayout(WriteContext& ctx, std::string_view name, int tabOrder, Handle self, Handle dict, Handle blockRecord) {
  auto& out = ctx.out;
  bool model = tabOrder == 0;
  out.type("LAYOUT");
  out.handle(5, self);
  Reactor(out, dict);
  out.handle(330, dict);
  out.text(100, "AcDbPlotSettings");
  out.text(1, "");
  out.text(2, "none_device");
  out.text(4, "");
  out.text(6, "");
  for (int code = 40; code <= 49; ++code) out.real(code, 0.0);
  out.real(140, 0.0);
  out.real(141, 0.0);
  out.real(142, 1.0);
  out.real(143, 1.0);
  out.integer(70, model ? 1712 : 688);
  out.integer(72, 0);
  out.integer(73, 0);
  out.integer(74, 5);
  out.text(7, "");
  out.integer(75, 16);
  out.integer(76, 0);
  out.integer(77, 2);
  out.integer(78, 300);
  out.real(147, 1.0);
  out.real(148, 0.0);
  out.real(149, 0.0);
  out.text(100, "AcDbLayout");
  out.text(1, name);
  out.integer(70, 1);
  out.integer(71, tabOrder);
  out.point2(10, 0.0, 0.0);
  out.point2(11, 12.0, 9.0);
  out.point(12, 0.0, 0.0, 0.0);
  out.point(14, 1e20, 1e20, 1e20);
  out.point(15, -1e20, -1e20, -1e20);
  out.real(146, 0.0);
  out.point(13, 0.0, 0.0, 0.0);
  out.point(16, 1.0, 0.0, 0.0);
  out.point(17, 0.0, 1.0, 0.0);
  out.integer(76, 0);
  out.handle(330, blockRecord);
}

// The multiline style every drawing has: two lines half a unit either side.
void WriteStandardMlineStyle(WriteContext& ctx) {
  auto& out = ctx.out;
  Handle dict = ctx.object("ACAD_MLINESTYLE");
  out.type("MLINESTYLE");
  out.handle(5, ctx.object("MlineStyleStandard"));
  Reactor(out, dict);
  out.handle(330, dict);
  out.text(100, "AcDbMlineStyle");
  out.text(2, "Standard");
  out.integer(70, 0);
  out.text(3, "");
  out.integer(62, 256);
  out.real(51, 90.0);
  out.real(52, 90.0);
  out.integer(71, 2);
  for (double offset : {0.5, -0.5}) {
    out.real(49, offset);
    out.integer(62, 256);
    out.text(6, "BYLAYER");
  }
}

}  // namespace

void WriteObjectsSection(WriteContext& ctx) {
  auto& out = ctx.out;
  out.type("SECTION");
  out.text(2, "OBJECTS");

  Handle root = ctx.object("RootDictionary");
  Handle groups = ctx.object("GroupDictionary");
  Handle layouts = ctx.object("LayoutDictionary");
  Handle plotStyles = ctx.object("PlotStyleDictionary");
  Handle normal = ctx.object("PlotStyleNormal");
  Handle layoutModel = ctx.object("LayoutModel");
  Handle layoutPaper = ctx.object("LayoutPaper");

  // Dictionaries readers expect, even empty ones: readers that miss one
  // make it up and say so.
  static const char* const kEmpty[] = {"ACAD_COLOR",    "ACAD_MATERIAL",  "ACAD_MLEADERSTYLE", "ACAD_MLINESTYLE",
                                       "ACAD_PLOTSETTINGS", "ACAD_SCALELIST", "ACAD_TABLESTYLE", "ACAD_VISUALSTYLE"};
  struct Entry {
    std::string_view name;
    Handle handle;
  };
  std::vector<Entry> entries = {{"ACAD_GROUP", groups}, {"ACAD_LAYOUT", layouts}, {"ACAD_PLOTSTYLENAME", plotStyles}};
  for (const char* name : kEmpty) entries.push_back({name, ctx.object(name)});
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });

  DictionaryHead(ctx, "DICTIONARY", root, 0);
  for (const auto& e : entries) {
    out.text(3, e.name);
    out.handle(350, e.handle);
  }
  for (const char* name : kEmpty) {
    Handle dict = ctx.object(name);
    DictionaryHead(ctx, "DICTIONARY", dict, root);
    if (std::string_view(name) == "ACAD_MLINESTYLE") {
      out.text(3, "Standard");
      out.handle(350, ctx.object("MlineStyleStandard"));
    }
  }
  WriteStandardMlineStyle(ctx);

  DictionaryHead(ctx, "DICTIONARY", groups, root);

  DictionaryHead(ctx, "DICTIONARY", layouts, root);
  out.text(3, "Layout1");
  out.handle(350, layoutPaper);
  out.text(3, "Model");
  out.handle(350, layoutModel);

  DictionaryHead(ctx, "ACDBDICTIONARYWDFLT", plotStyles, root);
  out.text(3, "Normal");
  out.handle(350, normal);
  out.text(100, "AcDbDictionaryWithDefault");
  out.handle(340, normal);

  out.type("ACDBPLACEHOLDER");
  out.handle(5, normal);
  Reactor(out, plotStyles);
  out.handle(330, plotStyles);

  WriteLayout(ctx, "Model", 0, layoutModel, layouts, ctx.block(ctx.view.modelSpace));
  WriteLayout(ctx, "Layout1", 1, layoutPaper, layouts, ctx.block(ctx.view.paperSpace));
  out.type("ENDSEC");
}

}  // namespace arxhost::dxf
