#pragma once
// ON_BoundingBox: an axis-aligned box; empty until a point is added.
#include "on_point.h"

class ON_BoundingBox {
 public:
  ON_3dPoint m_min{1.0, 0.0, 0.0};
  ON_3dPoint m_max{-1.0, 0.0, 0.0};

  ON_BoundingBox() = default;
  ON_BoundingBox(const ON_3dPoint& min_pt, const ON_3dPoint& max_pt) : m_min(min_pt), m_max(max_pt) {}

  bool IsValid() const { return m_min.x <= m_max.x && m_min.y <= m_max.y && m_min.z <= m_max.z; }
  void Destroy() { *this = ON_BoundingBox(); }
  // Grows the box by the point (or makes it the point when grow is false or
  // the box is empty).
  void Set(const ON_3dPoint& p, bool grow = true);
  void Union(const ON_BoundingBox& b);
  ON_3dPoint Min() const { return m_min; }
  ON_3dPoint Max() const { return m_max; }
  ON_3dPoint Center() const { return (m_min + m_max) * 0.5; }
  ON_3dVector Diagonal() const { return m_max - m_min; }
  bool IsPointIn(const ON_3dPoint& p) const {
    return IsValid() && p.x >= m_min.x && p.x <= m_max.x && p.y >= m_min.y && p.y <= m_max.y &&
           p.z >= m_min.z && p.z <= m_max.z;
  }
  bool GetCorners(ON_3dPointArray& corners) const;
  bool Transform(const ON_Xform& xform);

  static const ON_BoundingBox EmptyBoundingBox;
};
