// The BLOCKS section (model space, paper space and every block definition,
// each between BLOCK and ENDBLK) and the ENTITIES section (model space).
#include "dxf/WriteContext.h"

namespace arxhost::dxf {
namespace {

void WriteBlock(WriteContext& ctx, const BlockInfo& block, bool paper, bool withEntities) {
  auto& out = ctx.out;
  Handle owner = ctx.block(block);
  out.type("BLOCK");
  out.handle(5, ctx.handles.of(WriteContext::Key("BLOCK", block.name)));
  out.handle(330, owner);
  out.text(100, "AcDbEntity");
  if (paper) out.integer(67, 1);
  out.text(8, "0");
  out.text(100, "AcDbBlockBegin");
  out.text(2, block.name);
  out.integer(70, block.anonymous ? 1 : 0);
  out.point(10, block.base[0], block.base[1], block.base[2]);
  out.text(3, block.name);
  out.text(1, "");
  if (!block.description.empty()) out.text(4, block.description);
  if (withEntities)
    for (auto id : block.entities) ctx.emitEntity(ctx, id, owner);
  out.type("ENDBLK");
  out.handle(5, ctx.handles.of(WriteContext::Key("ENDBLK", block.name)));
  out.handle(330, owner);
  out.text(100, "AcDbEntity");
  if (paper) out.integer(67, 1);
  out.text(8, "0");
  out.text(100, "AcDbBlockEnd");
}

}  // namespace

void WriteBlocksSection(WriteContext& ctx) {
  auto& out = ctx.out;
  out.type("SECTION");
  out.text(2, "BLOCKS");
  // The entities of the two layout blocks go to the ENTITIES section.
  WriteBlock(ctx, ctx.view.modelSpace, false, false);
  WriteBlock(ctx, ctx.view.paperSpace, true, false);
  for (const auto& block : ctx.view.blocks) WriteBlock(ctx, block, false, true);
  out.type("ENDSEC");
}

void WriteEntitiesSection(WriteContext& ctx) {
  auto& out = ctx.out;
  out.type("SECTION");
  out.text(2, "ENTITIES");
  Handle model = ctx.block(ctx.view.modelSpace);
  for (auto id : ctx.view.modelSpace.entities) ctx.emitEntity(ctx, id, model);
  Handle paper = ctx.block(ctx.view.paperSpace);
  for (auto id : ctx.view.paperSpace.entities) ctx.emitEntity(ctx, id, paper);
  out.type("ENDSEC");
}

}  // namespace arxhost::dxf
