// SAT text into bodies, each placed and exploded, and every geometry record
// decoded and evaluated: nothing may crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "acis/AcisGeometry.h"
#include "acis/AcisReader.h"
#include "acis/AcisRecords.h"
#include "acis/AcisWriter.h"
#include "arx/dbheaders.h"

namespace {

void DecodeGeometry(const std::string& sat) {
  std::string error;
  std::optional<arxhost::sat::Document> doc = arxhost::sat::Parse(sat, error);
  if (!doc) return;
  for (size_t i = 0; i < doc->records.size(); ++i) {
    const long index = static_cast<long>(i);
    if (auto s = arxhost::sat::DecodeSurface(*doc, index, error)) {
      double u = 0, v = 0;
      s->project(s->evaluate(0.25, 0.75), u, v);
      s->normalAt(u, v);
    } else if (auto c = arxhost::sat::DecodeCurve(*doc, index, error)) {
      c->evaluate(0.5);
      if (c->kind == arxhost::sat::CurveKind::Spline) c->evaluate(c->spline.end());
    } else {
      bool reversed = false;
      if (auto p = arxhost::sat::DecodePcurve(*doc, index, reversed, error)) p->evaluate(p->start());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  arxhost::SatReadResult read = arxhost::ReadSatText(text);
  AcGeMatrix3d turn = AcGeMatrix3d::rotation(0.5, AcGeVector3d::kZAxis);
  for (const arxhost::SatBody& body : read.bodies) {
    std::string error;
    arxhost::PlaceSat(body.sat, turn, error);
    DecodeGeometry(body.sat);
    AcDbBody entity;
    if (entity.setSatText(body.sat) != Acad::eOk) continue;
    entity.transformBy(turn);
    AcDbVoidPtrArray pieces;
    entity.explode(pieces);
    for (void* p : pieces) delete static_cast<AcDbEntity*>(p);
  }
  return 0;
}
