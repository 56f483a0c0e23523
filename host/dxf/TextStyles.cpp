#include "dxf/TextStyles.h"

#include "arx/dbSymbolTable.h"
#include "dxf/WriteContext.h"

namespace arxhost::dxf {

std::wstring TextStyleName(AcDbObjectId style) {
  auto* record = AcDbSymbolTableRecord::cast(PeekObject(style));
  if (!record || record->isErased() || record->name().IsEmpty()) return L"Standard";
  return record->name().str();
}

double TextHeight(const DrawingView& view, const std::wstring& style, double height) {
  if (height > 0) return height;
  auto key = WriteContext::Key("", style);
  for (const auto& s : view.textStyles) {
    if (WriteContext::Key("", s.name) != key) continue;
    if (s.height > 0) return s.height;
    if (s.lastHeight > 0) return s.lastHeight;
  }
  return 0.2;
}

}  // namespace arxhost::dxf
