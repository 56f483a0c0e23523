#include "on_base.h"

ON::object_mode ON::ObjectMode(int i) {
  switch (i) {
    case hidden_object: return hidden_object;
    case locked_object: return locked_object;
    case idef_object: return idef_object;
    default: return normal_object;
  }
}

ON::object_color_source ON::ObjectColorSource(int i) {
  switch (i) {
    case color_from_object: return color_from_object;
    case color_from_material: return color_from_material;
    case color_from_parent: return color_from_parent;
    default: return color_from_layer;
  }
}

ON::eTextDisplayMode ON::TextDisplayMode(int i) {
  switch (i) {
    case dtHorizontal: return dtHorizontal;
    case dtAboveLine: return dtAboveLine;
    case dtInLine: return dtInLine;
    default: return dtNormal;
  }
}
