#include "dxf/DrawingView.h"

namespace arxhost::dxf {

DrawingView DefaultDrawingView() {
  DrawingView view;
  view.linetypes = {{L"ByBlock", L"", {}}, {L"ByLayer", L"", {}}, {L"Continuous", L"Solid line", {}}};
  LayerInfo zero;
  zero.name = L"0";
  view.layers = {zero};
  TextStyleInfo standard;
  standard.name = L"Standard";
  view.textStyles = {standard};
  view.dimStyles = {DimStyleInfo{L"Standard", {}}};
  view.appIds = {L"ACAD"};
  view.modelSpace.name = L"*Model_Space";
  view.paperSpace.name = L"*Paper_Space";
  return view;
}

}  // namespace arxhost::dxf
