#pragma once
// Writes small IGES files for tests: entities given as parameter lists,
// laid out in the fixed 80-column form with directory entries, sequence
// numbers and a Terminate record.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace testiges {

inline std::string H(const std::string& text) { return std::to_string(text.size()) + "H" + text; }

inline std::string R(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  std::string s = buf;
  if (s.find_first_of(".eE") == std::string::npos) s += ".";
  return s;
}

// A pointer parameter: the directory entry of another entity.
inline std::string S(int de) { return std::to_string(de); }

// The parameters of a leader (214): arrowhead size, then the head and the
// points it runs through, at z 0.
inline std::vector<std::string> Leader(double arrowHeight, double arrowWidth,
                                       const std::vector<std::pair<double, double>>& pts) {
  std::vector<std::string> p = {std::to_string(pts.size() - 1), R(arrowHeight), R(arrowWidth), "0.",
                                R(pts[0].first), R(pts[0].second)};
  for (size_t i = 1; i < pts.size(); ++i) {
    p.push_back(R(pts[i].first));
    p.push_back(R(pts[i].second));
  }
  return p;
}

// The parameters of a witness line (106 form 40) through the points.
inline std::vector<std::string> Witness(const std::vector<std::pair<double, double>>& pts) {
  std::vector<std::string> p = {"1", std::to_string(pts.size()), "0."};
  for (auto& [x, y] : pts) {
    p.push_back(R(x));
    p.push_back(R(y));
  }
  return p;
}

struct EntityOptions {
  int form = 0;
  int level = 0;
  int color = 0;       // number 0..8, or -DE of a colour definition
  int transform = 0;   // DE of a 124
  int structure = 0;
  int blank = 0, subordinate = 0, use = 0;
};

class IgesBuilder {
 public:
  char pd = ',', rd = ';';
  std::string unitName = "MM";
  int unitFlag = 2;
  std::string lineEnd = "\n";

  // Returns the DE number of the new entity.
  int Add(int type, const std::vector<std::string>& params, EntityOptions o = {}) {
    entities_.push_back({type, params, o});
    return static_cast<int>(2 * entities_.size() - 1);
  }
  // The DE number the next Add will return.
  int Next() const { return static_cast<int>(2 * entities_.size() + 1); }

  std::string Text() const {
    std::vector<std::string> s = {"Test file written by the project"}, g, d, p;
    std::string global = std::string("1H") + pd + pd + "1H" + rd + pd + H("TEST") + pd + H("test.igs") + pd + H("tests") +
                         pd + H("1") + pd + "32" + pd + "38" + pd + "6" + pd + "308" + pd + "15" + pd + H("TEST") + pd +
                         "1." + pd + std::to_string(unitFlag) + pd + H(unitName) + pd + "1" + pd + "0.5" + pd +
                         H("20260101.000000") + pd + "1E-6" + pd + "1000." + pd + H("tester") + pd + H("project") +
                         pd + "11" + pd + "0" + rd;
    Wrap(global, 72, g);
    int line = 1;
    std::vector<std::pair<int, int>> spans;
    for (size_t i = 0; i < entities_.size(); ++i) {
      const auto& e = entities_[i];
      std::string text = std::to_string(e.type);
      for (const auto& param : e.params) text += pd + param;
      text += rd;
      std::vector<std::string> chunks;
      Wrap(text, 64, chunks);
      spans.push_back({line, static_cast<int>(chunks.size())});
      for (auto& c : chunks) {
        char buf[100];
        std::snprintf(buf, sizeof buf, "%-64s %7d", c.c_str(), static_cast<int>(2 * i + 1));
        p.push_back(buf);
        ++line;
      }
    }
    for (size_t i = 0; i < entities_.size(); ++i) {
      const auto& e = entities_[i];
      char status[9];
      std::snprintf(status, sizeof status, "%02d%02d%02d00", e.o.blank, e.o.subordinate, e.o.use);
      char buf[100];
      std::snprintf(buf, sizeof buf, "%8d%8d%8d%8d%8d%8d%8d%8d%8s", e.type, spans[i].first, e.o.structure, 0, e.o.level, 0,
                    e.o.transform, 0, status);
      d.push_back(buf);
      std::snprintf(buf, sizeof buf, "%8d%8d%8d%8d%8d%8s%8s%8s%8d", e.type, 0, e.o.color, spans[i].second, e.o.form, "", "",
                    "", 0);
      d.push_back(buf);
    }
    std::ostringstream out;
    auto emit = [&](const std::vector<std::string>& lines, char letter, int width) {
      int n = 0;
      for (const auto& l : lines) {
        char buf[100];
        std::snprintf(buf, sizeof buf, "%-*s%c%7d", width, l.c_str(), letter, ++n);
        out << buf << lineEnd;
      }
    };
    emit(s, 'S', 72);
    emit(g, 'G', 72);
    emit(d, 'D', 72);
    // Parameter lines carry their DE pointer in columns 66 to 72 already.
    emit(p, 'P', 72);
    char t[100];
    std::snprintf(t, sizeof t, "S%7dG%7dD%7dP%7d%40sT%7d", static_cast<int>(s.size()), static_cast<int>(g.size()),
                  static_cast<int>(d.size()), static_cast<int>(p.size()), "", 1);
    out << t << lineEnd;
    return out.str();
  }

  void Write(const std::string& path) const {
    std::ofstream f(path, std::ios::binary);
    f << Text();
  }

 private:
  struct Entry {
    int type;
    std::vector<std::string> params;
    EntityOptions o;
  };

  // Breaks at delimiters where it can, so numbers stay whole.
  void Wrap(const std::string& text, size_t width, std::vector<std::string>& out) const {
    size_t i = 0;
    while (i < text.size()) {
      if (text.size() - i <= width) {
        out.push_back(text.substr(i));
        break;
      }
      size_t cut = width;
      size_t j = text.find_last_of(std::string(1, pd) + rd, i + width - 1);
      if (j != std::string::npos && j >= i && !InsideHollerith(text, j)) cut = j - i + 1;
      out.push_back(text.substr(i, cut));
      i += cut;
    }
  }
  static bool InsideHollerith(const std::string&, size_t) { return false; }

  std::vector<Entry> entities_;
};

}  // namespace testiges
