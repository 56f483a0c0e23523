#pragma once
// Writes a large IGES drawing of about the given number of entities: a grid
// of cells, each with lines, arcs, notes, a linear dimension (note, leaders,
// witness lines) and subfigure instances; every tenth cell adds a subfigure
// definition of its own, so that definitions grow with the drawing. The
// directory and parameter sections go to two files beside the target while
// they are written, so that millions of entities need little memory.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

// The directory entry fields the drawing sets.
struct EntityOptions {
  int form = 0, level = 0, color = 0, subordinate = 0, use = 0;
};

class LargeDrawingWriter {
 public:
  explicit LargeDrawingWriter(const std::filesystem::path& target)
      : target_(target),
        dPath_(target.string() + ".d"),
        pPath_(target.string() + ".p"),
        d_(dPath_, std::ios::binary),
        p_(pPath_, std::ios::binary) {}

  // Returns the directory entry number of the entity.
  int Add(int type, const std::vector<std::string>& params, EntityOptions o = {}) {
    const int de = 2 * entities_ + 1;
    std::string text = std::to_string(type);
    for (const auto& param : params) text += ',' + param;
    text += ';';
    const int first = pLines_ + 1;
    size_t i = 0;
    char line[100];
    while (i < text.size()) {
      size_t cut = text.size() - i;
      if (cut > 64) {  // break after a delimiter, so that numbers stay whole
        size_t j = text.find_last_of(",;", i + 63);
        cut = j != std::string::npos && j >= i ? j - i + 1 : 64;
      }
      std::snprintf(line, sizeof line, "%-64s %7dP%7d\n", text.substr(i, cut).c_str(), de, ++pLines_);
      p_ << line;
      i += cut;
    }
    char status[9];
    std::snprintf(status, sizeof status, "%02d%02d%02d00", 0, o.subordinate, o.use);
    std::snprintf(line, sizeof line, "%8d%8d%8d%8d%8d%8d%8d%8d%8sD%7d\n", type, first, 0, 0, o.level, 0, 0, 0, status,
                  de);
    d_ << line;
    std::snprintf(line, sizeof line, "%8d%8d%8d%8d%8d%8s%8s%8s%8dD%7d\n", type, 0, o.color, pLines_ - first + 1, o.form,
                  "", "", "", 0, de + 1);
    d_ << line;
    ++entities_;
    return de;
  }

  int Entities() const { return entities_; }

  // Joins the sections into the target; returns its size in bytes.
  std::uintmax_t Finish() {
    d_.close();
    p_.close();
    std::ofstream out(target_, std::ios::binary);
    std::vector<std::string> g;
    const std::string global =
        "1H,,1H;,5HBENCH,9Hbench.igs,5Hbench,1H1,32,38,6,308,15,5HBENCH,1.,2,2HMM,1,0.5,15H20260101.000000,1E-6,"
        "100000.,6Hbench,7Hproject,11,0;";
    for (size_t i = 0; i < global.size(); i += 72) g.push_back(global.substr(i, 72));
    char line[100];
    std::snprintf(line, sizeof line, "%-72sS%7d\n", "Large drawing written by the benchmark", 1);
    out << line;
    for (size_t i = 0; i < g.size(); ++i) {
      std::snprintf(line, sizeof line, "%-72sG%7d\n", g[i].c_str(), static_cast<int>(i + 1));
      out << line;
    }
    for (const auto& part : {dPath_, pPath_}) {
      std::ifstream in(part, std::ios::binary);
      out << in.rdbuf();
    }
    std::snprintf(line, sizeof line, "S%7dG%7dD%7dP%7d%40sT%7d\n", 1, static_cast<int>(g.size()), 2 * entities_,
                  pLines_, "", 1);
    out << line;
    out.close();
    std::filesystem::remove(dPath_);
    std::filesystem::remove(pPath_);
    return std::filesystem::file_size(target_);
  }

 private:
  std::filesystem::path target_;
  std::string dPath_, pPath_;
  std::ofstream d_, p_;
  int entities_ = 0, pLines_ = 0;
};

inline std::string Real(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  std::string s = buf;
  if (s.find_first_of(".eE") == std::string::npos) s += ".";
  return s;
}

inline std::string Hollerith(const std::string& text) { return std::to_string(text.size()) + "H" + text; }

// A general note (212) of one string.
inline std::vector<std::string> NoteParams(const std::string& text, double height, double x, double y) {
  return {"1", std::to_string(text.size()), Real(height * 0.8 * text.size()), Real(height), "1", "0.", "0.", "0", "0",
          Real(x), Real(y), "0.", Hollerith(text)};
}

// Writes the drawing; returns the number of entities it holds.
inline int WriteLargeDrawing(const std::filesystem::path& target, int entities, std::uintmax_t* bytes = nullptr) {
  LargeDrawingWriter w(target);
  const EntityOptions part{.subordinate = 1, .use = 1};
  const EntityOptions member{.subordinate = 1};
  std::vector<int> definitions;
  for (int cell = 0; w.Entities() < entities; ++cell) {
    const double x = (cell % 200) * 150.0, y = (cell / 200) * 120.0;
    const int level = cell % 7;
    if (cell % 10 == 0) {
      const double s = 1.0 + definitions.size() % 5;
      int a = w.Add(110, {"0.", "0.", "0.", Real(s), "0.", "0."}, member);
      int b = w.Add(110, {"0.", "0.", "0.", "0.", Real(s), "0."}, member);
      definitions.push_back(
          w.Add(308, {"0", Hollerith("SUB" + std::to_string(definitions.size())), "2", std::to_string(a),
                      std::to_string(b)}));
    }
    for (int k = 0; k < 8; ++k) {
      const double x1 = x + 10.0 * k, y1 = y + (k % 2) * 5.0;
      w.Add(110, {Real(x1), Real(y1), "0.", Real(x1 + 8.0), Real(y + 20.0 + k), "0."}, {.level = level, .color = k % 8});
    }
    for (int k = 0; k < 4; ++k) {
      const double cx = x + 20.0 + 25.0 * k, cy = y + 40.0, r = 5.0 + k;
      w.Add(100, {"0.", Real(cx), Real(cy), Real(cx + r), Real(cy), Real(cx), Real(cy + r)}, {.level = level});
    }
    w.Add(212, NoteParams("CELL " + std::to_string(cell), 3.0, x + 5.0, y + 55.0), {.level = level});
    w.Add(212, NoteParams("PART-" + std::to_string(cell % 97), 2.5, x + 60.0, y + 55.0), {.level = level});
    // A linear dimension of the cell's width.
    int note = w.Add(212, NoteParams("100", 2.5, x + 45.0, y + 72.0), part);
    int l1 = w.Add(214, {"1", "1.", "0.5", "0.", Real(x), Real(y + 74.0), Real(x + 40.0), Real(y + 74.0)},
                   {.form = 1, .subordinate = 1, .use = 1});
    int l2 = w.Add(214, {"1", "1.", "0.5", "0.", Real(x + 100.0), Real(y + 74.0), Real(x + 60.0), Real(y + 74.0)},
                   {.form = 1, .subordinate = 1, .use = 1});
    int w1 = w.Add(106, {"1", "3", "0.", Real(x), Real(y + 62.0), Real(x), Real(y + 64.0), Real(x), Real(y + 76.0)},
                   {.form = 40, .subordinate = 1, .use = 1});
    int w2 = w.Add(106, {"1", "3", "0.", Real(x + 100.0), Real(y + 62.0), Real(x + 100.0), Real(y + 64.0),
                         Real(x + 100.0), Real(y + 76.0)},
                   {.form = 40, .subordinate = 1, .use = 1});
    w.Add(216, {std::to_string(note), std::to_string(l1), std::to_string(l2), std::to_string(w1), std::to_string(w2)},
          {.level = level, .use = 1});
    for (int k = 0; k < 4; ++k) {
      const int def = definitions[(static_cast<size_t>(cell) * 4 + k) % definitions.size()];
      w.Add(408, {std::to_string(def), Real(x + 110.0 + 8.0 * k), Real(y + 90.0), "0.", "1."}, {.level = level});
    }
  }
  std::uintmax_t size = w.Finish();
  if (bytes) *bytes = size;
  return w.Entities();
}

}  // namespace bench
