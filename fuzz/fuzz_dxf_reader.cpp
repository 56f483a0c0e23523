// DXF text into a drawing and the drawing back out: nothing may crash, hang
// or leave an object open, and a refused file adds nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "arx/dbInspector.h"
#include "arx/dbheaders.h"
#include "dxf/DxfIn.h"
#include "dxf/DxfOut.h"
#include "dxf/GroupWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  AcDbDatabase db(true);
  arxhost::DatabaseInspector inspect(&db);
  size_t before = inspect.allObjects().size();
  arxhost::dxf::DxfInResult result = arxhost::dxf::ReadDxfText(db, text);
  if (!result.error.empty() && inspect.allObjects().size() != before) std::abort();
  if (!inspect.openObjects().empty()) std::abort();
  if (result.error.empty()) {
    try {
      arxhost::dxf::DxfText(db);
    } catch (const arxhost::dxf::DxfWriteError&) {
      // Values the writer refuses (it says so to the user).
    }
  }
  return 0;
}
