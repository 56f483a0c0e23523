#pragma once
// Block definitions (ON_InstanceDefinition: a name and the uuids of its member
// objects) and block instances (ON_InstanceRef: a definition uuid and a transform).
#include "on_geometry.h"
#include "on_string.h"
#include "on_uuid.h"
#include "on_xform.h"

class ON_InstanceDefinition : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_InstanceDefinition)
 public:
  ON_UUID m_uuid = ON_nil_uuid;
  ON_wString m_name;
  ON_wString m_description;
  ON_wString m_url;
  ON_wString m_url_tag;
  ON_BoundingBox m_bbox;
  ON_SimpleArray<ON_UUID> m_object_uuid;  // the member objects, in order
  ON_wString m_source_archive;

  ON_InstanceDefinition() = default;
  const wchar_t* Name() const { return m_name; }
  void SetName(const wchar_t* name) { m_name = name; }
  const wchar_t* Description() const { return m_description; }
  void SetDescription(const wchar_t* text) { m_description = text; }
  ON_UUID Uuid() const { return m_uuid; }
  void SetUuid(const ON_UUID& uuid) { m_uuid = uuid; }
  ON::object_type ObjectType() const override { return ON::instance_definition; }
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
};

class ON_InstanceRef : public ON_Geometry {
  ON_OBJECT_DECLARE(ON_InstanceRef)
 public:
  ON_UUID m_instance_definition_uuid = ON_nil_uuid;
  ON_Xform m_xform{1};
  ON_BoundingBox m_bbox;

  ON_InstanceRef() = default;
  ON::object_type ObjectType() const override { return ON::instance_reference; }
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool GetBBox(double* box_min, double* box_max, bool grow = false) const override;
  // Composes the transform (xform applied after the reference's own).
  bool Transform(const ON_Xform& xform) override;
};
