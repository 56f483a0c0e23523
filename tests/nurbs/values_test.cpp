// Value classes: transforms, planes, colours, uuids, strings and arrays.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "Utf8Cases.h"
#include "opennurbs.h"

namespace {

constexpr double kTol = 1e-12;

void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = kTol) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

void ExpectNear(const ON_3dVector& a, const ON_3dVector& b, double tol = kTol) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

TEST(Xform, DefaultIsZeroWithUnitCornerAndIdentityIsExact) {
  ON_Xform x;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(x.m_xform[i][j], (i == 3 && j == 3) ? 1.0 : 0.0);
  EXPECT_FALSE(x.IsIdentity());
  x.Identity();
  EXPECT_TRUE(x.IsIdentity(0.0));
  x.m_xform[1][2] = 1e-15;
  EXPECT_FALSE(x.IsIdentity(0.0));
  EXPECT_TRUE(x.IsIdentity(1e-14));
}

TEST(Xform, ProductAppliesTheRightFactorFirst) {
  ON_Xform move, turn;
  move.Translation(ON_3dVector(10, 0, 0));
  turn.Rotation(0.5 * ON_PI, ON_zaxis, ON_origin);
  const ON_3dPoint p(1, 0, 0);
  // Turn first, then move: (1,0,0) -> (0,1,0) -> (10,1,0).
  ExpectNear((move * turn) * p, ON_3dPoint(10, 1, 0));
  // Move first, then turn: (1,0,0) -> (11,0,0) -> (0,11,0).
  ExpectNear((turn * move) * p, ON_3dPoint(0, 11, 0));
  // Vectors ignore the translation.
  ExpectNear((move * turn) * ON_3dVector(1, 0, 0), ON_3dVector(0, 1, 0));
}

TEST(Xform, InverseUndoesAGeneralAffineTransformAndSingularIsRefused) {
  ON_Xform a(1);
  const double m[3][4] = {{2, 1, 0, 3}, {0, 3, 1, -2}, {1, 0, 4, 5}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) a.m_xform[i][j] = m[i][j];
  ON_Xform inv = a;
  ASSERT_TRUE(inv.Invert());
  EXPECT_TRUE((a * inv).IsIdentity(1e-14));
  EXPECT_TRUE((inv * a).IsIdentity(1e-14));

  ON_Xform singular(1);
  singular.m_xform[2][2] = 0.0;
  ON_Xform copy = singular;
  EXPECT_FALSE(copy.Invert());
  EXPECT_TRUE(copy == singular);  // left unchanged
}

TEST(Plane, AxesFromANormalAreRightHandedAndFollowTheLargestComponents) {
  struct Case {
    ON_3dVector normal, x, y;
  };
  const double r = std::sqrt(0.5);
  const Case cases[] = {
      {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
      {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
      {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
      {{0, 0, 5}, {1, 0, 0}, {0, 1, 0}},  // the normal is unitised
      {{1, 1, 0}, {-r, r, 0}, {0, 0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.normal.x << "," << c.normal.y << "," << c.normal.z);
    const ON_Plane p(ON_3dPoint(1, 2, 3), c.normal);
    ASSERT_TRUE(p.IsValid());
    ExpectNear(p.origin, ON_3dPoint(1, 2, 3));
    ExpectNear(p.xaxis, c.x);
    ExpectNear(p.yaxis, c.y);
    ExpectNear(p.zaxis, c.normal.UnitVector());
  }
}

TEST(Plane, FromTwoDirectionsKeepsXAndOrthogonalisesY) {
  const ON_Plane p(ON_3dPoint(0, 0, 0), ON_3dVector(2, 0, 0), ON_3dVector(1, 3, 0));
  ExpectNear(p.xaxis, ON_3dVector(1, 0, 0));
  ExpectNear(p.yaxis, ON_3dVector(0, 1, 0));
  ExpectNear(p.zaxis, ON_3dVector(0, 0, 1));
  EXPECT_NEAR(p.DistanceTo(ON_3dPoint(5, 5, 2)), 2.0, kTol);
}

TEST(Color, RedIsTheLowByte) {
  const ON_Color c(0x99, 0x66, 0x33, 0x10);
  EXPECT_EQ(static_cast<ON__UINT32>(c), 0x10336699u);
  EXPECT_EQ(c.Red(), 0x99);
  EXPECT_EQ(c.Green(), 0x66);
  EXPECT_EQ(c.Blue(), 0x33);
  EXPECT_EQ(c.Alpha(), 0x10);
  EXPECT_EQ(ON::Version(), 200707180);
}

TEST(Uuid, NewOnesAreRandomVersion4AndDifferOnEveryThread) {
  std::vector<ON_UUID> ids(4 * 500);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&ids, t] {
      for (int i = 0; i < 500; ++i) ids[static_cast<size_t>(t * 500 + i)] = ON_CreateUuid();
    });
  for (auto& thread : threads) thread.join();
  for (const ON_UUID& u : ids) {
    EXPECT_EQ(u.Data3 >> 12, 4);         // version 4: random
    EXPECT_EQ(u.Data4[0] & 0xC0, 0x80);  // the RFC 4122 variant
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
}

TEST(Uuid, RoundTripsThroughTextAndRejectsGarbage) {
  const ON_UUID u = ON_CreateUuid();
  EXPECT_TRUE(ON_UuidIsNotNil(u));
  wchar_t text[37];
  ON_UuidToString(u, text);
  ON_UUID back;
  ASSERT_TRUE(ON_UuidFromString(text, back));
  EXPECT_EQ(back, u);
  ON_UUID braced;
  EXPECT_TRUE(ON_UuidFromString(L"{01234567-89AB-CDEF-0123-456789abcdef}", braced));
  EXPECT_EQ(braced.Data1, 0x01234567u);
  EXPECT_EQ(braced.Data4[7], 0xEF);
  for (const wchar_t* bad : {L"", L"0123", L"01234567-89AB-CDEF-0123-456789abcdeg",
                             L"01234567-89AB-CDEF-0123-456789abcdef00", static_cast<const wchar_t*>(nullptr)}) {
    ON_UUID x = u;
    EXPECT_FALSE(ON_UuidFromString(bad, x));
    EXPECT_TRUE(ON_UuidIsNil(x));
  }
}

TEST(String, WideStringsNeverGiveNullAndConvertUtf8) {
  ON_wString empty;
  ASSERT_NE(static_cast<const wchar_t*>(empty), nullptr);
  EXPECT_STREQ(static_cast<const wchar_t*>(empty), L"");
  ON_wString s("caf\xC3\xA9");
  EXPECT_EQ(s.Length(), 4);
  EXPECT_EQ(s.GetAt(3), L'\u00E9');
  EXPECT_EQ(s.ToUtf8(), "caf\xC3\xA9");
  ON_wString t(static_cast<const wchar_t*>(nullptr));
  EXPECT_TRUE(t.IsEmpty());
  EXPECT_EQ(ON_wString(L"Layer").CompareNoCase(L"LAYER"), 0);
}

TEST(String, BytesThatAreNotUtf8ComeThroughAsLatin1) {
  for (const auto& c : utf8cases::kDecodings) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(std::wstring(ON_wString(c.bytes.c_str()).Array()), c.text);
    EXPECT_EQ(std::wstring(ON_wString(ON_String(c.bytes.c_str())).Array()), c.text);
  }
  for (wchar_t c : utf8cases::kUnencodable) {
    const wchar_t text[] = {c, 0};
    EXPECT_EQ(ON_wString(text).ToUtf8(), utf8cases::kReplacement);
  }
}

TEST(Arrays, GrowCopyAndRemoveKeepElementsIntact) {
  ON_ClassArray<ON_wString> names;
  for (int i = 0; i < 100; ++i) names.Append(ON_wString(std::to_wstring(i).c_str()));
  names.Append(names[0]);  // an element of the array itself, while it grows
  ON_ClassArray<ON_wString> copy(names);
  names.Remove(0);
  EXPECT_EQ(names.Count(), 100);
  EXPECT_EQ(copy.Count(), 101);
  EXPECT_EQ(names[0], ON_wString(L"1"));
  EXPECT_EQ(copy[100], ON_wString(L"0"));
  EXPECT_EQ(copy.At(101), nullptr);
  EXPECT_EQ(copy.At(-1), nullptr);

  ON_SimpleArray<double> d;
  d.SetCount(3);
  EXPECT_EQ(d[2], 0.0);  // new elements are zero
  d.Insert(1, 5.0);
  EXPECT_EQ(d.Count(), 4);
  EXPECT_EQ(d[1], 5.0);
  EXPECT_EQ(d.Search(5.0), 1);
}

}  // namespace
