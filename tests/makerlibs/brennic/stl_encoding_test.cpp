// The ASCII solid spells every number as printf's "%.12g" does, each corner
// alike wherever it recurs.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "StlEncoding.h"

namespace {

using brennic::Triangle;

std::string G12(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.12g", v == 0.0 ? 0.0 : v);
  return text;
}

std::string Triple(const std::array<double, 3>& v) { return " " + G12(v[0]) + " " + G12(v[1]) + " " + G12(v[2]); }

std::string Expected(const std::string& name, const std::vector<Triangle>& triangles) {
  std::string out = "solid " + name + "\n";
  for (const Triangle& t : triangles) {
    out += "  facet normal" + Triple(t.Normal()) + "\n    outer loop\n";
    for (const auto& c : t.corners) out += "      vertex" + Triple(c) + "\n";
    out += "    endloop\n  endfacet\n";
  }
  return out + "endsolid " + name + "\n";
}

TEST(StlEncoding, CornersAreSpelledAlikeWhereverTheyRecur) {
  // Corners shared between triangles, negative zero, and numbers of every
  // size; then a fan large enough that the table of corners grows.
  const std::array<double, 3> a = {0.0, -0.0, 1.0}, b = {-1.5e-300, 123456789012345.0, 1.0 / 3.0},
                              c = {2.5e20, -7.0, 1e-5}, d = {-0.0, 0.0, 1.0};
  // Corners that differ in one coordinate only.
  const std::array<double, 3> e = {c[0], c[1], 2e-5}, f = {c[0], 8.0, c[2]}, g = {-2.5e20, c[1], c[2]};
  const auto triangle = [](const std::array<double, 3>& p, const std::array<double, 3>& q,
                            const std::array<double, 3>& r) { return Triangle{{p, q, r}}; };
  std::vector<Triangle> triangles = {triangle(a, b, c), triangle(c, b, d), triangle(d, a, c), triangle(c, e, f), triangle(g, f, e)};
  for (int i = 0; i < 500; ++i) {
    const std::array<double, 3> p = {0.001 * i - 0.25, 1.0 / (i + 1), 0.25 - 0.001 * i},
                                q = {p[0] + 0.5, p[1], 0.0};
    triangles.push_back(triangle(p, q, a));
    triangles.push_back(triangle(q, p, b));
  }
  for (const auto& name : {std::string("shape_7"), std::string()}) {
    std::string out = "kept";
    brennic::AppendAsciiSolid(out, name, triangles);
    EXPECT_TRUE(out == "kept" + Expected(name, triangles)) << out.substr(0, 400);
  }
}

}  // namespace
