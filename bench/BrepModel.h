#pragma once
// Writes one IGES file that holds N copies of a surface model (trimmed
// surfaces over B-spline surfaces and curves, composite curves, groups):
// the directory entries and every pointer in the parameters are renumbered
// per copy, and each copy is moved along x by whole widths of the model, so
// that Open CASCADE reads N times the entities and transfers N times the
// roots. Only the entity types whose pointers and model-space coordinates
// are known here are copied; a file with another type is refused.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace bench {

struct IgesEntity {
  int de[20] = {};                  // the directory entry's fields, 1-based; [2] and [14] are rewritten
  std::string fields[21];           // the same fields as text (label, subscript and status kept as written)
  std::vector<std::string> params;  // the parameters, type first, Hollerith strings whole
};

class IgesCopier {
 public:
  // Empty on success, otherwise why the file cannot be copied.
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot open " + path;
    std::string line;
    std::vector<std::string> d, p;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() < 73) continue;
      line.resize(80, ' ');
      switch (line[72]) {
        case 'G': global_.push_back(line.substr(0, 72)); break;
        case 'D': d.push_back(line); break;
        case 'P': p.push_back(line); break;
        default: break;
      }
    }
    if (d.empty() || d.size() % 2) return "no directory entries in " + path;
    std::string g;
    for (auto& l : global_) g += l;
    if (g.size() > 2 && g[0] == '1' && g[1] == 'H') param_ = g[2];
    const size_t rec = g.find(param_);
    if (rec != std::string::npos && g.compare(rec + 1, 2, "1H") == 0) record_ = g[rec + 3];
    for (size_t i = 0; i < d.size(); i += 2) {
      IgesEntity e;
      for (int f = 0; f < 9; ++f) {
        e.fields[f + 1] = d[i].substr(8 * f, 8);
        e.fields[f + 11] = d[i + 1].substr(8 * f, 8);
      }
      for (int f = 1; f <= 20; ++f) e.de[f - 1] = std::atoi(e.fields[f].c_str());
      const int first = Field(e, 2), count = Field(e, 14);
      if (first < 1 || count < 1 || static_cast<size_t>(first - 1 + count) > p.size()) return "bad parameter pointer";
      std::string text;
      for (int k = 0; k < count; ++k) text += p[first - 1 + k].substr(0, 64);
      if (!Split(text, e.params)) return "unreadable parameters of entity " + std::to_string(i + 1);
      entities_.push_back(std::move(e));
    }
    return Classify();
  }

  int Entities() const { return static_cast<int>(entities_.size()); }

  // Writes copies of the model; returns the size of the file in bytes, 0 on failure.
  std::uintmax_t Write(const std::string& target, int copies) const {
    std::ofstream out(target, std::ios::binary);
    char line[100];
    std::snprintf(line, sizeof line, "%-72sS%7d\n", "Copies of a surface model written by the benchmark", 1);
    out << line;
    for (size_t i = 0; i < global_.size(); ++i) {
      std::snprintf(line, sizeof line, "%-72sG%7d\n", global_[i].c_str(), static_cast<int>(i + 1));
      out << line;
    }
    // The parameter section of every copy first, so that the directory
    // entries know their first line and count.
    std::string psec;
    std::vector<std::pair<int, int>> placed;  // first line, line count, per entity of every copy
    int pLines = 0;
    const int n = Entities();
    for (int c = 0; c < copies; ++c) {
      const int shift = 2 * n * c;
      const double dx = c * pitch_;
      for (int i = 0; i < n; ++i) {
        const IgesEntity& e = entities_[i];
        std::string text = Params(e, i, shift, dx);
        const int first = pLines + 1;
        size_t at = 0;
        while (at < text.size()) {
          size_t cut = text.size() - at;
          if (cut > 64) {  // break after a delimiter, so that numbers stay whole
            size_t j = text.find_last_of(std::string{param_, record_}, at + 63);
            cut = j != std::string::npos && j >= at ? j - at + 1 : 64;
          }
          std::snprintf(line, sizeof line, "%-64s %7dP%7d\n", text.substr(at, cut).c_str(), 2 * i + 1 + shift,
                        ++pLines);
          psec += line;
          at += cut;
        }
        placed.push_back({first, pLines - first + 1});
      }
    }
    for (int c = 0; c < copies; ++c) {
      const int shift = 2 * n * c;
      for (int i = 0; i < n; ++i) {
        const IgesEntity& e = entities_[i];
        auto [first, count] = placed[c * n + i];
        std::string f[21];
        for (int k = 1; k <= 20; ++k) f[k] = e.fields[k];
        f[2] = Int(first);
        f[14] = Int(count);
        for (int k : {3, 6, 7, 8})  // structure, view, transformation, label display: pointers when positive
          if (Field(e, k) > 0) f[k] = Int(Field(e, k) + shift);
        for (int k : {4, 5, 13})  // line font, level, colour: pointers when negative
          if (Field(e, k) < 0) f[k] = Int(Field(e, k) - shift);
        std::snprintf(line, sizeof line, "%8s%8s%8s%8s%8s%8s%8s%8s%8sD%7d\n", f[1].c_str(), f[2].c_str(),
                      f[3].c_str(), f[4].c_str(), f[5].c_str(), f[6].c_str(), f[7].c_str(), f[8].c_str(),
                      f[9].c_str(), 2 * i + 1 + shift);
        out << line;
        std::snprintf(line, sizeof line, "%8s%8s%8s%8s%8s%8s%8s%8s%8sD%7d\n", f[11].c_str(), f[12].c_str(),
                      f[13].c_str(), f[14].c_str(), f[15].c_str(), f[16].c_str(), f[17].c_str(), f[18].c_str(),
                      f[19].c_str(), 2 * i + 2 + shift);
        out << line;
      }
    }
    out << psec;
    std::snprintf(line, sizeof line, "S%7dG%7dD%7dP%7d%40sT%7d\n", 1, static_cast<int>(global_.size()), 2 * n * copies,
                  pLines, "", 1);
    out << line;
    out.close();
    return out ? std::filesystem::file_size(target) : 0;
  }

 private:
  enum Space { kModel, kParameter };

  static int Field(const IgesEntity& e, int k) { return e.de[k - 1]; }
  static std::string Int(int v) { return std::to_string(v); }
  int Type(int i) const { return Field(entities_[i], 1); }
  int Form(int i) const { return Field(entities_[i], 15); }

  static long Num(const IgesEntity& e, size_t k) {
    return k < e.params.size() ? std::strtol(e.params[k].c_str(), nullptr, 10) : 0;
  }

  // Tokens of the parameter text up to the record delimiter.
  bool Split(const std::string& text, std::vector<std::string>& out) const {
    std::string cur;
    size_t i = 0;
    while (i < text.size()) {
      char ch = text[i];
      if (ch == param_ || ch == record_) {
        out.push_back(Trim(cur));
        cur.clear();
        if (ch == record_) return true;
        ++i;
      } else if (ch == 'H' && !Trim(cur).empty() &&
                 Trim(cur).find_first_not_of("0123456789") == std::string::npos) {
        const size_t len = std::stoul(Trim(cur));
        if (i + 1 + len > text.size()) return false;
        cur = Trim(cur) + 'H' + text.substr(i + 1, len);
        i += 1 + len;
      } else {
        cur += ch;
        ++i;
      }
    }
    return false;
  }

  static std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
  }

  // The parameter positions that hold pointers, and the number of the
  // type's own parameters (after them come back-pointers and properties).
  std::optional<size_t> Pointers(int i, std::vector<size_t>& at) const {
    const IgesEntity& e = entities_[i];
    switch (Type(i)) {
      case 100: return 8;
      case 110: return 7;
      case 102: {
        const long n = Num(e, 1);
        for (long k = 0; k < n; ++k) at.push_back(2 + k);
        return 2 + n;
      }
      case 126: {
        const long k = Num(e, 1), m = Num(e, 2);
        return 7 + (k + m + 2) + (k + 1) + 3 * (k + 1) + 2 + 3;
      }
      case 128: {
        const long k1 = Num(e, 1), k2 = Num(e, 2), m1 = Num(e, 3), m2 = Num(e, 4);
        const long pts = (k1 + 1) * (k2 + 1);
        return 10 + (k1 + m1 + 2) + (k2 + m2 + 2) + pts + 3 * pts + 4;
      }
      case 142:
        at.insert(at.end(), {2, 3, 4});
        return 6;
      case 144: {
        at.insert(at.end(), {1, 4});
        const long n2 = Num(e, 3);
        for (long k = 0; k < n2; ++k) at.push_back(5 + k);
        return 5 + n2;
      }
      case 402:
        if (Form(i) != 1 && Form(i) != 7 && Form(i) != 14 && Form(i) != 15) return std::nullopt;
        {
          const long n = Num(e, 1);
          for (long k = 0; k < n; ++k) at.push_back(2 + k);
          return 2 + n;
        }
      default: return std::nullopt;
    }
  }

  // Which entities lie in parameter space (the curves a curve on a surface
  // gives in the surface's parameters), the model's width along x, and the
  // pointer positions of every entity.
  std::string Classify() {
    const int n = Entities();
    space_.assign(n, kModel);
    pointers_.resize(n);
    for (int i = 0; i < n; ++i) {
      std::vector<size_t> at;
      auto own = Pointers(i, at);
      if (!own) return "entity type " + std::to_string(Type(i)) + " is not copied by the benchmark";
      const IgesEntity& e = entities_[i];
      if (*own < e.params.size()) {  // back-pointers, then properties
        size_t k = *own;
        for (int group = 0; group < 2 && k < e.params.size(); ++group) {
          const long count = Num(e, k++);
          for (long j = 0; j < count && k < e.params.size(); ++j) at.push_back(k++);
        }
      }
      std::erase_if(at, [&](size_t k) { return k >= e.params.size(); });
      pointers_[i] = std::move(at);
    }
    std::vector<int> stack;
    for (int i = 0; i < n; ++i)
      if (Type(i) == 142) stack.push_back(static_cast<int>(Num(entities_[i], 3)));
    while (!stack.empty()) {
      const int de = stack.back();
      stack.pop_back();
      if (de < 1 || de > 2 * n || de % 2 == 0) continue;
      const int j = (de - 1) / 2;
      if (space_[j] == kParameter) continue;
      space_[j] = kParameter;
      if (Type(j) == 102)
        for (long k = 0; k < Num(entities_[j], 1); ++k) stack.push_back(static_cast<int>(Num(entities_[j], 2 + k)));
    }
    double lo = 1e300, hi = -1e300;
    for (int i = 0; i < n; ++i) {
      if (Field(entities_[i], 7) != 0 && !XAt(i).empty()) return "a transformed entity is not moved by the benchmark";
      for (size_t k : XAt(i)) {
        const double x = std::strtod(Real(entities_[i].params[k]).c_str(), nullptr);
        lo = std::min(lo, x);
        hi = std::max(hi, x);
      }
    }
    pitch_ = hi > lo ? std::ceil(1.25 * (hi - lo)) : 1.0;
    return {};
  }

  // The positions of the x coordinates of a model-space entity.
  std::vector<size_t> XAt(int i) const {
    std::vector<size_t> at;
    if (space_[i] != kModel) return at;
    const IgesEntity& e = entities_[i];
    switch (Type(i)) {
      case 100: at = {2, 4, 6}; break;  // the arc's centre, start and end (its plane's z stays)
      case 110: at = {1, 4}; break;
      case 126: {
        const long k = Num(e, 1), m = Num(e, 2);
        const size_t points = 7 + (k + m + 2) + (k + 1);
        for (long j = 0; j <= k; ++j) at.push_back(points + 3 * j);
        break;
      }
      case 128: {
        const long k1 = Num(e, 1), k2 = Num(e, 2), m1 = Num(e, 3), m2 = Num(e, 4);
        const long pts = (k1 + 1) * (k2 + 1);
        const size_t points = 10 + (k1 + m1 + 2) + (k2 + m2 + 2) + pts;
        for (long j = 0; j < pts; ++j) at.push_back(points + 3 * j);
        break;
      }
      default: break;
    }
    std::erase_if(at, [&](size_t k) { return k >= e.params.size(); });
    return at;
  }

  // A real as C reads it: the exponent's D becomes E.
  static std::string Real(std::string s) {
    std::replace(s.begin(), s.end(), 'D', 'E');
    std::replace(s.begin(), s.end(), 'd', 'e');
    return s;
  }

  static std::string RealText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    std::string s = buf;
    if (s.find('.') == std::string::npos) {
      const size_t e = s.find('E');
      s.insert(e == std::string::npos ? s.size() : e, ".");
    }
    return s;
  }

  std::string Params(const IgesEntity& e, int i, int shift, double dx) const {
    std::vector<std::string> p = e.params;
    for (size_t k : pointers_[i]) {
      const long v = std::strtol(p[k].c_str(), nullptr, 10);
      if (v > 0) p[k] = std::to_string(v + shift);
      if (v < 0) p[k] = std::to_string(v - shift);
    }
    if (dx != 0)
      for (size_t k : XAt(i)) p[k] = RealText(std::strtod(Real(p[k]).c_str(), nullptr) + dx);
    std::string text;
    for (size_t k = 0; k < p.size(); ++k) text += p[k] + (k + 1 < p.size() ? param_ : record_);
    return text;
  }

  std::vector<std::string> global_;
  std::vector<IgesEntity> entities_;
  std::vector<Space> space_;
  std::vector<std::vector<size_t>> pointers_;
  double pitch_ = 1.0;
  char param_ = ',', record_ = ';';
};

// Writes copies of the IGES file at source into target; empty on success,
// otherwise why not. entities receives the number written.
inline std::string WriteBrepModel(const std::string& source, const std::string& target, int copies,
                                  int* entities = nullptr, std::uintmax_t* bytes = nullptr) {
  IgesCopier copier;
  std::string error = copier.Read(source);
  if (!error.empty()) return error;
  const std::uintmax_t size = copier.Write(target, copies);
  if (size == 0) return "cannot write " + target;
  if (entities) *entities = copier.Entities() * copies;
  if (bytes) *bytes = size;
  return {};
}

}  // namespace bench
