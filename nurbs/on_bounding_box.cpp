#include "on_bounding_box.h"

#include <algorithm>

#include "on_xform.h"

const ON_BoundingBox ON_BoundingBox::EmptyBoundingBox;

void ON_BoundingBox::Set(const ON_3dPoint& p, bool grow) {
  if (!grow || !IsValid()) {
    m_min = m_max = p;
    return;
  }
  m_min.Set(std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z));
  m_max.Set(std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z));
}

void ON_BoundingBox::Union(const ON_BoundingBox& b) {
  if (!b.IsValid()) return;
  Set(b.m_min, true);
  Set(b.m_max, true);
}

bool ON_BoundingBox::GetCorners(ON_3dPointArray& corners) const {
  corners.Empty();
  if (!IsValid()) return false;
  for (int i = 0; i < 8; ++i)
    corners.Append(ON_3dPoint((i & 1) ? m_max.x : m_min.x, (i & 2) ? m_max.y : m_min.y,
                              (i & 4) ? m_max.z : m_min.z));
  return true;
}

bool ON_BoundingBox::Transform(const ON_Xform& xform) {
  ON_3dPointArray corners;
  if (!GetCorners(corners)) return false;
  Destroy();
  for (const auto& c : corners) Set(xform * c, true);
  return true;
}
