// Broken IGES files are refused with a sentence naming the file and the
// reason, and leave no model file; what real files and the standard allow
// is read.
#include <fstream>

#include "KelvIges.h"
#include "TestSupport.h"
#include "win32/strconv.h"

using namespace testiges;

namespace {

IgesBuilder TwoLines() {
  IgesBuilder b;
  b.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
  b.Add(110, {"1.", "0.", "0.", "1.", "1.", "0."});
  return b;
}

std::string DropLine(const std::string& text, char section, int number) {
  std::string out;
  size_t i = 0;
  int seen = 0;
  while (i < text.size()) {
    size_t j = text.find('\n', i);
    std::string line = text.substr(i, j - i + 1);
    if (line.size() > 72 && line[72] == section && ++seen == number) {
    } else {
      out += line;
    }
    i = j + 1;
  }
  return out;
}

struct Outcome {
  int result;
  std::string error;
  bool modelExists;
};

Outcome ConvertText(const TempFolder& dir, const std::string& name, const std::string& text) {
  std::string in = dir.File(name), out = dir.File(name + ".k3m");
  std::ofstream(in, std::ios::binary) << text;
  KelvIges iges;
  int r = iges.IGESTo3DM(CString(in.c_str()), CString(out.c_str()), 4);
  return {r, arxhost::ToUtf8(KelvIges::GetError().str()), std::filesystem::exists(out)};
}

}  // namespace

TEST(IgesRobustness, BrokenFilesAreRefusedClearly) {
  TempFolder dir;
  const std::string good = TwoLines().Text();

  IgesBuilder selfComposite;
  selfComposite.Add(102, {"1", "1"});
  IgesBuilder subfigureLoop;  // a definition holding an instance of itself
  subfigureLoop.Add(308, {"0", H("LOOP"), "1", "3"});
  subfigureLoop.Add(408, {"1", "0.", "0.", "0.", "1."});
  IgesBuilder outOfRange;
  outOfRange.Add(102, {"1", "99"});
  IgesBuilder xformLoop;
  xformLoop.Add(124, {"1.", "0.", "0.", "0.", "0.", "1.", "0.", "0.", "0.", "0.", "1.", "0."}, {.transform = 1});
  IgesBuilder hugeSpline;
  hugeSpline.Add(126, {"1000000000", "3", "0", "0", "0", "0", "0.", "1."});
  IgesBuilder hugeCopious;
  hugeCopious.Add(106, {"2", "99999999", "0.", "0.", "0."}, {.form = 12});
  IgesBuilder badDegree;  // fewer control points than the degree asks
  badDegree.Add(126, {"1", "3", "0", "0", "1", "0", "0.", "0.", "0.", "0.", "1.", "1.", "1.", "1.", "1.", "1.", "0.",
                      "0.", "0.", "1.", "0.", "0.", "0.", "1.", "0.", "0.", "1."});
  IgesBuilder decreasingKnots;
  decreasingKnots.Add(126, {"1", "1", "0", "0", "1", "0", "0.", "1.", "0.", "1.", "1.", "1.", "0.", "0.", "0.", "1.",
                            "0.", "0.", "0.", "1.", "0.", "0.", "1."});
  // A NUL inside a parameter line made the parser crash.
  std::string nul = good;
  nul[nul.find("110,1.") + 4] = '\0';
  IgesBuilder notNumber;
  notNumber.Add(126, {"1", "1", "1", "0", "1", "0ct", "0.", "0.", "1.", "1.", "1.", "1.", "0.", "0.", "0.", "1.", "0.",
                      "0.", "0.", "1.", "0.", "0.", "1."});
  std::string noSequence = good;
  for (size_t i = 0; i + 80 < noSequence.size(); i += 81) noSequence.replace(i + 73, 7, "       ");

  struct Case {
    const char* name;
    std::string text;
    const char* reason;
  } cases[] = {
      {"text.igs", "This is a letter, not a drawing.\n", "is not an IGES file"},
      {"empty.igs", "", "is empty"},
      {"cut.igs", good.substr(0, good.size() / 2), "truncated"},
      {"short.igs", DropLine(good, 'P', 2), "truncated or damaged"},
      {"unnumbered.igs", noSequence, "no sequence number"},
      {"self.igs", selfComposite.Text(), "contains itself"},
      {"loop.igs", subfigureLoop.Text(), "contains itself"},
      {"range.igs", outOfRange.Text(), "pointer out of range"},
      {"xform.igs", xformLoop.Text(), "cycle of transformation matrices"},
      {"huge.igs", hugeSpline.Text(), "impossible count"},
      {"copious.igs", hugeCopious.Text(), "declares"},
      {"degree.igs", badDegree.Text(), "degenerate B-spline"},
      {"knots.igs", decreasingKnots.Text(), "degenerate B-spline"},
      {"nul.igs", nul, "control character 0x00"},
      {"garbage.igs", notNumber.Text(), "neither a number nor a string"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Outcome r = ConvertText(dir, c.name, c.text);
    EXPECT_EQ(r.result, 0);
    EXPECT_NE(r.error.find("\"" + dir.File(c.name) + "\""), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
    EXPECT_FALSE(r.modelExists);
  }
  KelvIges iges;
  EXPECT_EQ(iges.IGESTo3DM(CString(dir.File("absent.igs").c_str()), CString(dir.File("absent.k3m").c_str()), 4), 0);
  EXPECT_NE(arxhost::ToUtf8(KelvIges::GetError().str()).find("does not exist"), std::string::npos);
}

TEST(IgesRobustness, WhatTheStandardAllowsIsRead) {
  TempFolder dir;
  IgesBuilder crlf = TwoLines();
  crlf.lineEnd = "\r\n";
  IgesBuilder cr = TwoLines();
  cr.lineEnd = "\r";
  IgesBuilder delimiters;
  delimiters.pd = '/';
  delimiters.rd = '#';
  delimiters.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
  delimiters.Add(110, {"1.", "0.", "0.", "1.", "1.", "0."});
  std::string trailing = TwoLines().Text() + "garbage after the end\n\n";
  // A comment after the record delimiter of a parameter line.
  std::string comment = TwoLines().Text();
  size_t semi = comment.find("0.;");
  ASSERT_NE(semi, std::string::npos);
  comment.replace(semi + 3, 12, " just a note");

  struct Case {
    const char* name;
    std::string text;
  } cases[] = {{"crlf.igs", crlf.Text()},     {"cr.igs", cr.Text()},        {"delims.igs", delimiters.Text()},
               {"trailing.igs", trailing},   {"comment.igs", comment}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Converted conv;
    Convert(c.text, conv);
    ASSERT_TRUE(conv.ok) << conv.reason;
    ASSERT_EQ(conv.model().objects.size(), 2u);
    auto* line = conv.model().objects[1]->geometry.AsCurve()->geometry.AsLineCurve();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->to.y(), 1.0);
  }
}

TEST(IgesRobustness, HollerithTextKeepsItsDelimiters) {
  IgesBuilder b;
  b.Add(212, {"1", "5", "1.", "0.2", "1", "0.", "0.", "0", "0", "1.", "2.", "0.", H("A,B;C")});
  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  ASSERT_EQ(c.model().objects.size(), 1u);
  const kelv::model::AnnotationT* text = c.model().objects[0]->geometry.AsAnnotation();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->user_text, "A,B;C");
}
