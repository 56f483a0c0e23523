// Placing SAT bodies by transform records and joining them into one file.
#include "acis/AcisWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "acis/AcisRecords.h"
#include "win32/atomicfile.h"
#include "win32/strconv.h"
#include "win32/wformat.h"

namespace arxhost {

namespace {

// An ACIS transform: p' = scale * R p + t, R a rotation or mirror; SAT keeps
// R's columns (the images of the axes) as its rows.
struct SatTransform {
  double r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  double t[3] = {0, 0, 0};
  double scale = 1.0;
};

std::string Number(double v) { return FormatShortest(v); }

bool ReadTransform(const sat::Document& doc, const sat::Record& rec, SatTransform& out) {
  std::vector<double> values;
  bool skippedId = doc.version < 700;
  for (const sat::Field& f : rec.fields) {
    if (f.isPointer()) continue;
    if (!skippedId) {  // the id field that follows the attribute pointer
      skippedId = true;
      continue;
    }
    double v = 0.0;
    auto [p, ec] = std::from_chars(f.text.data(), f.text.data() + f.text.size(), v);
    if (ec == std::errc() && p == f.text.data() + f.text.size()) values.push_back(v);
  }
  if (values.size() < 13) return false;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) out.r[j][i] = values[static_cast<size_t>(i * 3 + j)];
  for (int i = 0; i < 3; ++i) out.t[i] = values[static_cast<size_t>(9 + i)];
  out.scale = values[12];
  return true;
}

sat::Record TransformRecord(const sat::Document& doc, const SatTransform& x) {
  sat::Record rec;
  rec.type = "transform";
  rec.fields.push_back({"$-1", -1});
  if (doc.version >= 700) rec.fields.push_back({"-1", -2});
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) rec.fields.push_back({Number(x.r[j][i]), -2});
  for (double v : x.t) rec.fields.push_back({Number(v), -2});
  rec.fields.push_back({Number(x.scale), -2});
  bool identity = true;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) identity = identity && x.r[i][j] == (i == j ? 1.0 : 0.0);
  double det = x.r[0][0] * (x.r[1][1] * x.r[2][2] - x.r[1][2] * x.r[2][1]) -
               x.r[0][1] * (x.r[1][0] * x.r[2][2] - x.r[1][2] * x.r[2][0]) +
               x.r[0][2] * (x.r[1][0] * x.r[2][1] - x.r[1][1] * x.r[2][0]);
  rec.fields.push_back({identity ? "no_rotate" : "rotate", -2});
  rec.fields.push_back({det < 0 ? "reflect" : "no_reflect", -2});
  rec.fields.push_back({"no_shear", -2});
  return rec;
}

}  // namespace

std::optional<std::string> PlaceSat(const std::string& text, const AcGeMatrix3d& m, std::string& error) {
  std::optional<sat::Document> doc = sat::Parse(text, error);
  if (!doc) return std::nullopt;
  if (m.isEqualTo(AcGeMatrix3d::kIdentity, AcGeTol())) return text;
  if (!m.isUniScaledOrtho()) {
    error = "a solid can only be moved, rotated, mirrored or scaled uniformly";
    return std::nullopt;
  }
  double s = m.scale();
  size_t bodies = doc->records.size();
  for (size_t b = 0; b < bodies; ++b) {
    if (doc->records[b].type != "body") continue;
    // The body's own transform is its last pointer.
    sat::Record& body = doc->records[b];
    long* slot = nullptr;
    for (sat::Field& f : body.fields)
      if (f.isPointer()) slot = &f.pointer;
    if (!slot) {
      error = "a body record has no transform field";
      return std::nullopt;
    }
    SatTransform old;
    if (*slot >= 0 && !ReadTransform(*doc, doc->records[static_cast<size_t>(*slot)], old)) {
      error = "a body's transform record is malformed";
      return std::nullopt;
    }
    // new = M o old: scale s*s0, rotation R*R0, translation s R t0 + t.
    SatTransform x;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        double v = 0.0;
        for (int k = 0; k < 3; ++k) v += (m.entry[i][k] / s) * old.r[k][j];
        x.r[i][j] = v;
      }
    for (int i = 0; i < 3; ++i) {
      double v = m.entry[i][3];
      for (int k = 0; k < 3; ++k) v += m.entry[i][k] * old.t[k];
      x.t[i] = v;
    }
    x.scale = s * old.scale;
    long index = static_cast<long>(doc->records.size());
    doc->records.push_back(TransformRecord(*doc, x));
    // Re-find the slot: the push may have moved the records.
    sat::Record& again = doc->records[b];
    for (auto it = again.fields.rbegin(); it != again.fields.rend(); ++it)
      if (it->isPointer()) {
        it->pointer = index;
        it->text = "$" + std::to_string(index);
        break;
      }
  }
  return sat::Write(*doc);
}

std::optional<std::string> CombineSat(const std::vector<SatPlacedBody>& bodies, std::string& error) {
  if (bodies.empty()) {
    error = "there is no body to write";
    return std::nullopt;
  }
  sat::Document all;
  for (const SatPlacedBody& b : bodies) {
    if (!b.sat) {
      error = "a body has no SAT data";
      return std::nullopt;
    }
    std::optional<std::string> placed = PlaceSat(*b.sat, b.placement, error);
    if (!placed) return std::nullopt;
    std::optional<sat::Document> doc = sat::Parse(*placed, error);
    if (!doc) return std::nullopt;
    if (all.records.empty() && all.version == 0) {
      all.version = doc->version;
      all.productLine = doc->productLine;
      all.unitsLine = doc->unitsLine;
    } else if (doc->version != all.version) {
      error = "the bodies are of different SAT versions";
      return std::nullopt;
    }
    long offset = static_cast<long>(all.records.size());
    for (sat::Record r : doc->records) {
      for (sat::Field& f : r.fields)
        if (f.isPointer() && f.pointer >= 0) {
          f.pointer += offset;
          f.text = "$" + std::to_string(f.pointer);
        }
      all.records.push_back(std::move(r));
    }
  }
  return sat::Write(all);
}

Acad::ErrorStatus WriteSatFile(const std::wstring& path, const std::vector<SatPlacedBody>& bodies,
                               std::string& error) {
  std::optional<std::string> text = CombineSat(bodies, error);
  if (!text) return Acad::eInvalidInput;
  error = WriteFileAtomically(NativePath(path), *text);
  return error.empty() ? Acad::eOk : Acad::eFileAccessErr;
}

}  // namespace arxhost
