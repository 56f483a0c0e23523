// Broken IGES files are refused with a sentence naming the file and the
// reason, and leave no model file; what real files and the standard allow
// is read.
#include <algorithm>
#include <fstream>

#include "IgesLayouts.h"
#include "IgesScan.h"
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

// Text with the record at 0-based index 'record' (counting every line)
// given new columns [col, col + with.size()).
std::string Patch(std::string text, int record, size_t col, const std::string& with) {
  size_t at = 0;
  for (int k = 0; k < record; ++k) at = text.find('\n', at) + 1;
  text.replace(at + col, with.size(), with);
  return text;
}

// Index of the first record of a section.
int FirstOf(const std::string& text, char section) {
  int k = 0;
  for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1, ++k)
    if (text.size() > at + 72 && text[at + 72] == section) return k;
  return -1;
}

// Composite curves nested 'depth' deep around one line.
IgesBuilder Nested(int depth) {
  IgesBuilder b;
  int inner = b.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
  for (int k = 1; k < depth; ++k) inner = b.Add(102, {"1", S(inner)});
  return b;
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
  IgesBuilder xformChain;  // transformations applied to transformations, too deep
  for (int k = 0; k <= igesread::kMaxNesting; ++k)
    xformChain.Add(124, {"1.", "0.", "0.", "0.", "0.", "1.", "0.", "0.", "0.", "0.", "1.", "0."},
                   {.transform = k ? 2 * k - 1 : 0});
  IgesBuilder overflow;
  overflow.Add(110, {"1E999999", "0.", "0.", "1.", "0.", "0."});
  IgesBuilder nan;
  nan.Add(110, {"NaN", "0.", "0.", "1.", "0.", "0."});
  IgesBuilder realCount;  // a count beyond any integer
  realCount.Add(126, {"1E300", "3", "0", "0", "0", "0", "0.", "1."});
  IgesBuilder badType;
  badType.Add(-12, {"0.", "0.", "0."});
  IgesBuilder wrongKind;  // a face whose loop is a line
  wrongKind.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
  wrongKind.Add(510, {"1", "1", "1", "1"});
  const int firstD = FirstOf(good, 'D'), firstP = FirstOf(good, 'P'), terminate = FirstOf(good, 'T');
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
      {"short.igs", DropLine(good, 'P', 2), "is truncated"},
      {"unnumbered.igs", noSequence, "no sequence number"},
      {"self.igs", selfComposite.Text(), "contains itself"},
      {"loop.igs", subfigureLoop.Text(), "contains itself"},
      {"range.igs", outOfRange.Text(), "pointer out of range"},
      {"xform.igs", xformLoop.Text(), "cycle of transformation matrices"},
      {"huge.igs", hugeSpline.Text(), "declares a count of 1000000000"},
      {"copious.igs", hugeCopious.Text(), "declares"},
      {"degree.igs", badDegree.Text(), "degenerate B-spline"},
      {"knots.igs", decreasingKnots.Text(), "degenerate B-spline"},
      {"nul.igs", nul, "control character 0x00"},
      {"garbage.igs", notNumber.Text(), "neither a number nor a string"},
      {"deep.igs", Nested(igesread::kMaxNesting + 1).Text(), "nests entities deeper than 64 levels"},
      {"xformdeep.igs", xformChain.Text(), "nests transformation matrices deeper than 64 levels"},
      {"overflow.igs", overflow.Text(), "beyond the range of real numbers (1E999999)"},
      {"nan.igs", nan.Text(), "neither a number nor a string"},
      {"realcount.igs", realCount.Text(), "impossible count"},
      {"badtype.igs", badType.Text(), "has the entity type -12, which IGES does not have"},
      {"kind.igs", wrongKind.Text(), "points at entity 1 of type 110, where a type 508 belongs"},
      {"outside.igs", Patch(good, firstD, 8, "      99"), "points at parameter line 99, outside the parameter section"},
      {"back.igs", Patch(good, firstP + 1, 65, "      1"), "points at parameter line 2, which belongs to another entity"},
      {"stray.igs", Patch(good, firstP + 1, 65, "      7"), "points at parameter line 2, which belongs to another entity"},
      {"globalcut.igs", Patch(good, terminate, 8, "G      9"), "is truncated: its Terminate record counts 9 global"},
      {"dcount.igs", Patch(good, terminate, 16, "D      2"), "counts 2 directory lines, but the file holds 4"},
      {"lastcut.igs", good.substr(0, good.size() - 30), "is truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Outcome r = ConvertText(dir, c.name, c.text);
    EXPECT_EQ(r.result, 0);
    EXPECT_NE(r.error.find("'" + dir.File(c.name) + "'"), std::string::npos) << r.error;
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

  std::string unlined = TwoLines().Text();  // 80-column records without line feeds
  unlined.erase(std::remove(unlined.begin(), unlined.end(), '\n'), unlined.end());
  IgesBuilder integers;  // integers where reals belong
  integers.Add(110, {"0", "0", "0", "1", "0", "0"});
  integers.Add(110, {"1", "0", "0", "1", "1", "0"});
  IgesBuilder nullEntity = TwoLines();  // the null entity, type 0, among them
  nullEntity.Add(0, {});
  // A Terminate record that counts the start and global lines short.
  const std::string shortCounts = Patch(TwoLines().Text(), FirstOf(TwoLines().Text(), 'T'), 0, "S      0G      1");

  struct Case {
    const char* name;
    std::string text;
  } cases[] = {{"crlf.igs", crlf.Text()},
               {"cr.igs", cr.Text()},
               {"delims.igs", delimiters.Text()},
               {"trailing.igs", trailing},
               {"comment.igs", comment},
               {"unlined.igs", unlined},
               {"column65.igs", DelimitersInColumn65(TwoLines().Text())},
               {"integers.igs", integers.Text()},
               {"shortcounts.igs", shortCounts},
               {"null.igs", nullEntity.Text()}};
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

TEST(IgesRobustness, StringsRunOnOverRecordsFromColumn64) {
  // Column 65 of a parameter record is blank: a string that runs on into
  // the next record continues with that record's column 1.
  std::string text;
  for (int k = 0; k < 9; ++k) text += "word " + std::to_string(k) + "   ";
  IgesBuilder b;
  b.Add(212, {"1", "90", "1.", "0.2", "1", "0.", "0.", "0", "0", "1.", "2.", "0.", H(text)});
  Converted c;
  Convert(b.Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
  ASSERT_EQ(c.model().objects.size(), 1u);
  const kelv::model::AnnotationT* note = c.model().objects[0]->geometry.AsAnnotation();
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->user_text, text);
}

TEST(IgesRobustness, NestingUpToTheLimitIsRead) {
  Converted c;
  Convert(Nested(igesread::kMaxNesting).Text(), c);
  ASSERT_TRUE(c.ok) << c.reason;
}

// The copy made for Open CASCADE passes the check as it stands, with the
// same entities and parameters.
TEST(IgesRobustness, TheCorrectedCopyNeedsNoCorrection) {
  IgesBuilder b;
  b.Add(110, {"0", "0", "0", "3000000000", "1.5", "0."});
  b.Add(212, {"1", "70", "1.", "0.2", "1", "0.", "0.", "0", "0", "1.", "2.", "0.", H(std::string(70, 'y'))});
  for (int k = 0; k < 8; ++k) b.Add(116, {R(k), R(k + 0.25), R(k + 0.5)});
  std::string unlined = b.Text();
  unlined.erase(std::remove(unlined.begin(), unlined.end(), '\n'), unlined.end());
  igesread::ScanResult first, second;
  std::string reason;
  ASSERT_TRUE(igesread::ScanIges(unlined, first, reason)) << reason;
  ASSERT_TRUE(first.needsNormalizedCopy);
  ASSERT_TRUE(igesread::ScanIges(first.normalized, second, reason)) << reason << "\n" << first.normalized;
  EXPECT_FALSE(second.needsNormalizedCopy);
  ASSERT_EQ(second.entries.size(), first.entries.size());
  for (size_t i = 0; i < first.entries.size(); ++i) EXPECT_EQ(second.entries[i].type, first.entries[i].type);
  // The integer beyond 32 bits becomes a real, which Open CASCADE reads whole.
  EXPECT_NE(first.normalized.find(",3000000000.,"), std::string::npos);

  Converted c;
  Convert(unlined, c);
  ASSERT_TRUE(c.ok) << c.reason;
  auto* line = c.model().objects[0]->geometry.AsCurve()->geometry.AsLineCurve();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->to.x(), 3e9);
  EXPECT_EQ(line->to.y(), 1.5);
}

// A dimension whose leader or note the parser could not read (a leader
// without segments is left with no list to count) converts without that
// part: a dimension that needs it is skipped, one that can do without it is
// drawn, and the rest of the file comes over.
TEST(IgesRobustness, DimensionsWithUnreadablePartsConvertWithoutThem) {
  using kelv::model::AnnotationClass;
  const std::vector<std::string> note = {"1", "1", "1.", "1.", "0", "0.", "0.", "0", "0", "0.5", "0.5", "0.", H("A")};
  const std::vector<std::string> leader = {"1", "0.1", "0.1", "0.", "0.", "0.", "1.", "1."};
  const std::vector<std::string> noSegments = {"0", "0.1", "0.1", "0.", "0.", "0."};
  const std::vector<std::string> witness = {"1", "2", "0.", "0.", "1.", "2.", "1."};
  struct Case {
    const char* name;
    int type;
    bool brokenNote, brokenLeader;
    bool drawn;  // whether the dimension itself comes over
  } cases[] = {
      {"linear, note", 216, true, false, true},      {"linear, leader", 216, false, true, false},
      {"angular, note", 202, true, false, true},     {"angular, leader", 202, false, true, false},
      {"radius, note", 222, true, false, true},      {"radius, leader", 222, false, true, false},
      {"ordinate, note", 218, true, false, true},    {"ordinate, leader", 218, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IgesBuilder b;
    b.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
    std::vector<std::string> unreadableNote = note;
    unreadableNote.back() = "5";  // a number where the text belongs
    const int n = b.Add(212, c.brokenNote ? unreadableNote : note);
    const int l1 = b.Add(214, c.brokenLeader ? noSegments : leader, {.form = 1});
    const int l2 = b.Add(214, leader, {.form = 1});
    const int w = b.Add(106, witness, {.form = 40});
    AnnotationClass cls{};
    if (c.type == 216) {
      b.Add(216, {S(n), S(l1), S(l2), S(w), S(w)});
      cls = AnnotationClass::LinearDimension2;
    } else if (c.type == 202) {
      b.Add(202, {S(n), "0", "0", "0.", "0.", "1.", S(l1), S(l2)});
      cls = AnnotationClass::AngularDimension2;
    } else if (c.type == 222) {
      b.Add(222, {S(n), S(l1), "0.", "0."});
      cls = AnnotationClass::RadialDimension2;
    } else {
      b.Add(218, {S(n), S(w), S(l1)});
      cls = AnnotationClass::OrdinateDimension2;
    }
    Converted conv;
    Convert(b.Text(), conv);
    ASSERT_TRUE(conv.ok) << conv.reason;
    bool line = false, dimension = false;
    for (auto& o : conv.model().objects) {
      if (o->geometry.AsCurve()) line = true;
      if (auto* a = o->geometry.AsAnnotation(); a && a->cls == cls) dimension = true;
    }
    EXPECT_TRUE(line);
    EXPECT_EQ(dimension, c.drawn);
  }
}

// A solid with a part the parser could not read (a face without its loop) is
// skipped before Open CASCADE's transfer asks that part for its contents.
TEST(IgesRobustness, SolidsWithUnreadablePartsAreSkipped) {
  IgesBuilder b;
  b.Add(110, {"0.", "0.", "0.", "1.", "0.", "0."});
  const int point = b.Add(116, {"0.", "0.", "0."});
  const int normal = b.Add(123, {"0.", "0.", "1."});
  const int plane = b.Add(190, {S(point), S(normal)});
  const int face = b.Add(510, {S(plane), "1", "0"}, {.form = 1});  // its one loop missing
  const int shell = b.Add(514, {"1", S(face), "1"}, {.form = 1});
  b.Add(186, {S(shell), "1", "0"});
  Converted conv;
  Convert(b.Text(), conv);
  ASSERT_TRUE(conv.ok) << conv.reason;
  EXPECT_EQ(conv.result.skipped[186], 1);
  bool line = false, brep = false;
  for (const auto* o : TopLevel(conv.model())) {
    line = line || o->geometry.AsCurve();
    brep = brep || o->geometry.AsBrep();
  }
  EXPECT_TRUE(line);
  EXPECT_FALSE(brep);
}
