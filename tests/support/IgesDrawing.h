#pragma once
// A drawing as older systems write it, for the converter's and the
// importer's tests: a view that more than a hundred "views visible"
// associativities and a group point back at (each line points at its own),
// a drawing (404) that lists two notes, and a title block made as a network
// subfigure of two notes and a connect point, placed twice. All notes are on
// level 7 in red and flagged dependent.
//   drawing notes:  "SCALE 1:1" h 3.5 at (200, 10), "SHEET 1" h 5 at (200, 20)
//   title block:    "TITLE" h 7 at (1, 2), "DRAWN BY" h 2.5 at (1, 12)
//   placements:     (300, 0) and (300, 100), scale 1
#include <cmath>

#include "IgesBuilder.h"

namespace testiges {

constexpr int kDrawingCurves = 110;

// A general note (212) of one string at (x, y) with height h.
inline std::vector<std::string> NoteAt(const std::string& text, double h, double x, double y) {
  return {"1", std::to_string(text.size()), R(0.6 * h * static_cast<double>(text.size())), R(h), "1", R(M_PI / 2), "0.",
          "0", "0", R(x), R(y), "0.", H(text)};
}

inline std::string DrawingWithTitleBlock() {
  IgesBuilder b;
  constexpr EntityOptions kNote{.level = 7, .color = 2, .subordinate = 1, .use = 1};
  // Entities in order: the view, the group, then per curve its line and its
  // associativity; their DE numbers are known before they are written.
  const int view = 1, group = 3;
  auto lineDe = [](int k) { return 5 + 4 * k; };
  auto visibleDe = [](int k) { return 7 + 4 * k; };
  std::vector<std::string> viewParams = {"1", "1.", "0", "0", "0", "0", "0", "0", std::to_string(kDrawingCurves + 1),
                                         S(group)};
  for (int k = 0; k < kDrawingCurves; ++k) viewParams.push_back(S(visibleDe(k)));
  viewParams.push_back("0");
  b.Add(410, viewParams);
  b.Add(402, {"1", S(view)}, {.form = 1});
  for (int k = 0; k < kDrawingCurves; ++k) {
    b.Add(110, {R(k), "0.", "0.", R(k), "1.", "0.", "1", S(visibleDe(k)), "0"});
    b.Add(402, {"1", "1", S(view), S(lineDe(k))}, {.form = 3});
  }
  // The drawing's own notes, in its coordinates; its view placed at (100, 50).
  int d1 = b.Add(212, NoteAt("SCALE 1:1", 3.5, 200, 10), kNote);
  int d2 = b.Add(212, NoteAt("SHEET 1", 5, 200, 20), kNote);
  b.Add(404, {"1", S(view), "100.", "50.", "2", S(d1), S(d2)});
  int t1 = b.Add(212, NoteAt("TITLE", 7, 1, 2), kNote);
  int t2 = b.Add(212, NoteAt("DRAWN BY", 2.5, 1, 12), kNote);
  int point = b.Add(132, {"0.", "0.", "0.", "0", "0", "0", H("P1"), "0", H("F"), "0", "1", "0", "0", "0"},
                    {.subordinate = 1, .use = 4});
  const int def = b.Add(320, {"0", H("TITLE_BLOCK"), "2", S(t1), S(t2), "0", H("TB"), "0", "1", S(point)});
  b.Add(420, {S(def), "300.", "0.", "0.", "1.", "1.", "1.", "0", H("TB1"), "0", "0"});
  b.Add(420, {S(def), "300.", "100.", "0.", "1.", "1.", "1.", "0", H("TB2"), "0", "0"});
  return b.Text();
}

}  // namespace testiges
