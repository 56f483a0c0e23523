// SAT text into bodies, each placed and exploded: nothing may crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "arx/AcisReader.h"
#include "arx/AcisWriter.h"
#include "arx/dbheaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  arxhost::SatReadResult read = arxhost::ReadSatText(text);
  AcGeMatrix3d turn = AcGeMatrix3d::rotation(0.5, AcGeVector3d::kZAxis);
  for (const arxhost::SatBody& body : read.bodies) {
    std::string error;
    arxhost::PlaceSat(body.sat, turn, error);
    AcDbBody entity;
    if (entity.setSatText(body.sat) != Acad::eOk) continue;
    entity.transformBy(turn);
    AcDbVoidPtrArray pieces;
    entity.explode(pieces);
    for (void* p : pieces) delete static_cast<AcDbEntity*>(p);
  }
  return 0;
}
