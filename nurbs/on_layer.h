#pragma once
// ON_Layer: a layer record of a model's layer table.
#include "on_color.h"
#include "on_object.h"
#include "on_string.h"
#include "on_uuid.h"

class ON_Layer : public ON_Object {
  ON_OBJECT_DECLARE(ON_Layer)
 public:
  int m_layer_index = -1;
  ON_UUID m_layer_id = ON_nil_uuid;
  ON_UUID m_parent_layer_id = ON_nil_uuid;
  ON_wString m_name;
  ON_Color m_color{0, 0, 0};
  ON_Color m_plot_color{ON_Color::UnsetColor};
  double m_plot_weight_mm = 0.0;
  int m_linetype_index = -1;
  int m_material_index = -1;
  int m_iges_level = -1;
  bool m_bVisible = true;
  bool m_bLocked = false;

  ON_Layer() = default;
  void Default() { *this = ON_Layer(); }
  // The name, "" when there is none.
  const wchar_t* LayerName() const { return m_name; }
  bool SetLayerName(const wchar_t* name) { m_name = name; return !m_name.IsEmpty(); }
  ON_Color Color() const { return m_color; }
  void SetColor(ON_Color color) { m_color = color; }
  ON_Color PlotColor() const { return m_plot_color; }
  void SetPlotColor(ON_Color color) { m_plot_color = color; }
  bool IsVisible() const { return m_bVisible; }
  void SetVisible(bool visible) { m_bVisible = visible; }
  bool IsLocked() const { return m_bLocked; }
  void SetLocked(bool locked) { m_bLocked = locked; }
  int LayerIndex() const { return m_layer_index; }
  void SetLayerIndex(int index) { m_layer_index = index; }
  int LinetypeIndex() const { return m_linetype_index; }
  int MaterialIndex() const { return m_material_index; }
  bool IsValid(ON_TextLog* = nullptr) const override { return !m_name.IsEmpty(); }
  ON::object_type ObjectType() const override { return ON::layer_object; }
};
