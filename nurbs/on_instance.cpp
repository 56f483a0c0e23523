#include "on_instance.h"

ON_OBJECT_IMPLEMENT(ON_InstanceDefinition, ON_Geometry)
ON_OBJECT_IMPLEMENT(ON_InstanceRef, ON_Geometry)

namespace {
bool CopyBox(const ON_BoundingBox& box, double* box_min, double* box_max, bool grow) {
  ON_BoundingBox b;
  if (grow) b = ON_BoundingBox(ON_3dPoint(box_min), ON_3dPoint(box_max));
  b.Union(box);
  if (!b.IsValid()) return false;
  for (int i = 0; i < 3; ++i) {
    box_min[i] = b.m_min[i];
    box_max[i] = b.m_max[i];
  }
  return true;
}
}  // namespace

bool ON_InstanceDefinition::IsValid(ON_TextLog*) const { return ON_UuidIsNotNil(m_uuid); }

bool ON_InstanceDefinition::GetBBox(double* box_min, double* box_max, bool grow) const {
  return CopyBox(m_bbox, box_min, box_max, grow);
}

bool ON_InstanceRef::IsValid(ON_TextLog*) const {
  return ON_UuidIsNotNil(m_instance_definition_uuid) && m_xform.IsValid();
}

bool ON_InstanceRef::GetBBox(double* box_min, double* box_max, bool grow) const {
  return CopyBox(m_bbox, box_min, box_max, grow);
}

bool ON_InstanceRef::Transform(const ON_Xform& xform) {
  m_xform = xform * m_xform;
  m_bbox.Transform(xform);
  return true;
}
