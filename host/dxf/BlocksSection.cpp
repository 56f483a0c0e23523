// The BLOCKS section (model space, paper space and every block definition,
// each between BLOCK and ENDBLK) and the ENTITIES section (model space).
#include "dxf/WriteContext.h"

namespace arxhost::dxf {
namespace {

void BlockBegin(WriteContext& ctx, const BlockInfo& block, bool paper) {
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
}

void BlockEnd(WriteContext& ctx, const BlockInfo& block, bool paper) {
  auto& out = ctx.out;
  Handle owner = ctx.block(block);
  out.type("ENDBLK");
  out.handle(5, ctx.handles.of(WriteContext::Key("ENDBLK", block.name)));
  out.handle(330, owner);
  out.text(100, "AcDbEntity");
  if (paper) out.integer(67, 1);
  out.text(8, "0");
  out.text(100, "AcDbBlockEnd");
}

}  // namespace

bool WriteContext::HasBlock(std::wstring_view name) {
  if (blockKeys_.empty()) {
    blockKeys_.insert(Key("", view.modelSpace.name));
    blockKeys_.insert(Key("", view.paperSpace.name));
    for (const auto& b : view.blocks) blockKeys_.insert(Key("", b.name));
  }
  return blockKeys_.contains(Key("", name));
}

std::wstring WriteContext::NewAnonymousName(std::wstring_view prefix) {
  for (;;) {
    std::wstring name = std::wstring(prefix) + std::to_wstring(++anonymousCounter);
    if (!HasBlock(name)) return name;
  }
}

void WriteBlocksSection(WriteContext& ctx) {
  auto& out = ctx.out;
  out.type("SECTION");
  out.text(2, "BLOCKS");
  // The entities of the two layout blocks go to the ENTITIES section.
  BlockBegin(ctx, ctx.view.modelSpace, false);
  BlockEnd(ctx, ctx.view.modelSpace, false);
  BlockBegin(ctx, ctx.view.paperSpace, true);
  BlockEnd(ctx, ctx.view.paperSpace, true);
  for (const auto& block : ctx.view.blocks) {
    BlockBegin(ctx, block, false);
    Handle owner = ctx.block(block);
    for (auto id : block.entities) ctx.emitEntity(ctx, id, owner);
    BlockEnd(ctx, block, false);
  }
  // Blocks made while writing entities, here or in the ENTITIES section
  // (which is written before this one). Writing one cannot make another.
  for (const auto& made : ctx.madeBlocks) {
    BlockInfo block;
    block.name = made.name;
    block.anonymous = true;
    BlockBegin(ctx, block, false);
    out.append(made.body);
    BlockEnd(ctx, block, false);
  }
  out.type("ENDSEC");
}

void WriteEntitiesSection(WriteContext& ctx) {
  auto& out = ctx.out;
  out.type("SECTION");
  out.text(2, "ENTITIES");
  Handle model = ctx.block(ctx.view.modelSpace);
  // The view saved with the drawing shows model space whole.
  ctx.out.trackExtents(&ctx.extents);
  for (auto id : ctx.view.modelSpace.entities) ctx.emitEntity(ctx, id, model);
  ctx.out.trackExtents(nullptr);
  Handle paper = ctx.block(ctx.view.paperSpace);
  for (auto id : ctx.view.paperSpace.entities) ctx.emitEntity(ctx, id, paper);
  out.type("ENDSEC");
}

}  // namespace arxhost::dxf
