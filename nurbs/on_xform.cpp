#include "on_xform.h"

#include <algorithm>
#include <cstring>

#include "on_plane.h"

const ON_Xform ON_Xform::IdentityTransformation(1);
const ON_Xform ON_Xform::ZeroTransformation;

ON_Xform::ON_Xform() {
  std::memset(m_xform, 0, sizeof(m_xform));
  m_xform[3][3] = 1.0;
}

ON_Xform::ON_Xform(int d) : ON_Xform(static_cast<double>(d)) {}

ON_Xform::ON_Xform(double d) : ON_Xform() { Diagonal(d); }

ON_Xform::ON_Xform(const double m[4][4]) { std::memcpy(m_xform, m, sizeof(m_xform)); }

ON_Xform::ON_Xform(const double* m) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m_xform[i][j] = m[4 * i + j];
}

void ON_Xform::Identity() { Diagonal(1.0); }

void ON_Xform::Zero() { std::memset(m_xform, 0, sizeof(m_xform)); }

void ON_Xform::Diagonal(double d) {
  std::memset(m_xform, 0, sizeof(m_xform));
  m_xform[0][0] = m_xform[1][1] = m_xform[2][2] = d;
  m_xform[3][3] = 1.0;
}

void ON_Xform::Translation(const ON_3dVector& delta) {
  Identity();
  m_xform[0][3] = delta.x;
  m_xform[1][3] = delta.y;
  m_xform[2][3] = delta.z;
}

void ON_Xform::Scale(double x, double y, double z) {
  Identity();
  m_xform[0][0] = x;
  m_xform[1][1] = y;
  m_xform[2][2] = z;
}

void ON_Xform::Scale(const ON_3dPoint& c, double s) {
  Diagonal(s);
  m_xform[0][3] = (1.0 - s) * c.x;
  m_xform[1][3] = (1.0 - s) * c.y;
  m_xform[2][3] = (1.0 - s) * c.z;
}

void ON_Xform::Rotation(double sa, double ca, ON_3dVector axis, const ON_3dPoint& c) {
  Identity();
  if (!axis.Unitize()) return;
  const double x = axis.x, y = axis.y, z = axis.z, t = 1.0 - ca;
  double r[3][3] = {{t * x * x + ca, t * x * y - sa * z, t * x * z + sa * y},
                    {t * x * y + sa * z, t * y * y + ca, t * y * z - sa * x},
                    {t * x * z - sa * y, t * y * z + sa * x, t * z * z + ca}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) m_xform[i][j] = r[i][j];
    // Keeps the centre fixed: p' = R (p - c) + c.
    m_xform[i][3] = c[i] - (r[i][0] * c.x + r[i][1] * c.y + r[i][2] * c.z);
  }
}

void ON_Xform::Rotation(double angle, const ON_3dVector& axis, const ON_3dPoint& c) {
  Rotation(std::sin(angle), std::cos(angle), axis, c);
}

namespace {
// The transformation that takes coordinates relative to the plane's frame to
// world coordinates.
ON_Xform FrameToWorld(const ON_Plane& p) {
  ON_Xform m(1);
  for (int i = 0; i < 3; ++i) {
    m.m_xform[i][0] = p.xaxis[i];
    m.m_xform[i][1] = p.yaxis[i];
    m.m_xform[i][2] = p.zaxis[i];
    m.m_xform[i][3] = p.origin[i];
  }
  return m;
}
}  // namespace

bool ON_Xform::ChangeBasis(const ON_Plane& plane0, const ON_Plane& plane1) {
  ON_Xform to_plane1 = FrameToWorld(plane1);
  if (!to_plane1.Invert()) {
    Zero();
    return false;
  }
  *this = to_plane1 * FrameToWorld(plane0);
  return true;
}

void ON_Xform::Rotation(const ON_Plane& plane0, const ON_Plane& plane1) {
  ON_Xform from0 = FrameToWorld(plane0);
  if (!from0.Invert()) {
    Identity();
    return;
  }
  *this = FrameToWorld(plane1) * from0;
}

void ON_Xform::Transpose() {
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) std::swap(m_xform[i][j], m_xform[j][i]);
}

bool ON_Xform::IsIdentity(double tol) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      const double d = m_xform[i][j] - (i == j ? 1.0 : 0.0);
      if (!(std::fabs(d) <= tol)) return false;
    }
  return true;
}

bool ON_Xform::IsZero() const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (m_xform[i][j] != 0.0) return false;
  return true;
}

bool ON_Xform::IsValid() const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (!std::isfinite(m_xform[i][j])) return false;
  return true;
}

double ON_Xform::Determinant() const {
  // Gaussian elimination with partial pivoting on a copy.
  double a[4][4];
  std::memcpy(a, m_xform, sizeof(a));
  double det = 1.0;
  for (int c = 0; c < 4; ++c) {
    int p = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[p][c])) p = r;
    if (a[p][c] == 0.0) return 0.0;
    if (p != c) {
      for (int k = 0; k < 4; ++k) std::swap(a[p][k], a[c][k]);
      det = -det;
    }
    det *= a[c][c];
    for (int r = c + 1; r < 4; ++r) {
      const double f = a[r][c] / a[c][c];
      for (int k = c; k < 4; ++k) a[r][k] -= f * a[c][k];
    }
  }
  return det;
}

bool ON_Xform::Invert(double* pivot) {
  // Gauss-Jordan elimination with partial pivoting.
  double a[4][4], inv[4][4];
  std::memcpy(a, m_xform, sizeof(a));
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) inv[i][j] = i == j ? 1.0 : 0.0;
  double smallest_pivot = 0.0;
  for (int c = 0; c < 4; ++c) {
    int p = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[p][c])) p = r;
    const double piv = a[p][c];
    if (c == 0 || std::fabs(piv) < smallest_pivot) smallest_pivot = std::fabs(piv);
    if (piv == 0.0 || !std::isfinite(piv)) {
      if (pivot) *pivot = 0.0;
      return false;
    }
    if (p != c)
      for (int k = 0; k < 4; ++k) {
        std::swap(a[p][k], a[c][k]);
        std::swap(inv[p][k], inv[c][k]);
      }
    for (int k = 0; k < 4; ++k) {
      a[c][k] /= piv;
      inv[c][k] /= piv;
    }
    for (int r = 0; r < 4; ++r) {
      if (r == c || a[r][c] == 0.0) continue;
      const double f = a[r][c];
      for (int k = 0; k < 4; ++k) {
        a[r][k] -= f * a[c][k];
        inv[r][k] -= f * inv[c][k];
      }
    }
  }
  if (pivot) *pivot = smallest_pivot;
  std::memcpy(m_xform, inv, sizeof(m_xform));
  return true;
}

ON_Xform ON_Xform::Inverse(double* pivot) const {
  ON_Xform x(*this);
  x.Invert(pivot);
  return x;
}

ON_Xform ON_Xform::operator*(const ON_Xform& b) const {
  ON_Xform r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double s = 0.0;
      for (int k = 0; k < 4; ++k) s += m_xform[i][k] * b.m_xform[k][j];
      r.m_xform[i][j] = s;
    }
  return r;
}

bool ON_Xform::operator==(const ON_Xform& b) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (m_xform[i][j] != b.m_xform[i][j]) return false;
  return true;
}

ON_3dPoint operator*(const ON_Xform& t, const ON_3dPoint& p) {
  const auto& m = t.m_xform;
  const double x = m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3];
  const double y = m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3];
  const double z = m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3];
  const double w = m[3][0] * p.x + m[3][1] * p.y + m[3][2] * p.z + m[3][3];
  const double s = (w != 0.0) ? 1.0 / w : 1.0;
  return {x * s, y * s, z * s};
}

ON_4dPoint operator*(const ON_Xform& t, const ON_4dPoint& p) {
  const auto& m = t.m_xform;
  ON_4dPoint r;
  for (int i = 0; i < 4; ++i) r[i] = m[i][0] * p.x + m[i][1] * p.y + m[i][2] * p.z + m[i][3] * p.w;
  return r;
}

ON_2dPoint operator*(const ON_Xform& t, const ON_2dPoint& p) {
  const ON_3dPoint q = t * ON_3dPoint(p);
  return {q.x, q.y};
}

ON_3dVector operator*(const ON_Xform& t, const ON_3dVector& v) {
  const auto& m = t.m_xform;
  return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
          m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
          m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}
