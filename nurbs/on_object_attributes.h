#pragma once
// ON_3dmObjectAttributes: the layer, colour, mode and identity of a model object.
#include "on_array.h"
#include "on_color.h"
#include "on_object.h"
#include "on_string.h"
#include "on_uuid.h"

class ON_3dmObjectAttributes : public ON_Object {
  ON_OBJECT_DECLARE(ON_3dmObjectAttributes)
 public:
  ON_UUID m_uuid = ON_nil_uuid;
  ON_wString m_name;
  ON_wString m_url;
  int m_layer_index = 0;
  int m_linetype_index = -1;
  int m_material_index = -1;
  ON_Color m_color{0, 0, 0};
  ON_Color m_plot_color{0, 0, 0};
  double m_plot_weight_mm = 0.0;
  int m_wire_density = 1;
  ON_SimpleArray<int> m_group;
  bool m_bVisible = true;

  ON_3dmObjectAttributes() = default;
  void Default() { *this = ON_3dmObjectAttributes(); }

  ON::object_mode Mode() const { return m_mode; }
  void SetMode(ON::object_mode mode) { m_mode = mode; }
  // 3 (idef_object) marks a member of a block definition.
  bool IsInstanceDefinitionObject() const { return m_mode == ON::idef_object; }
  ON::object_color_source ColorSource() const { return m_color_source; }
  void SetColorSource(ON::object_color_source source) { m_color_source = source; }
  bool IsVisible() const { return m_bVisible; }
  void SetVisible(bool visible) { m_bVisible = visible; }
  int LayerIndex() const { return m_layer_index; }

 private:
  ON::object_mode m_mode = ON::normal_object;
  ON::object_color_source m_color_source = ON::color_from_layer;
};
