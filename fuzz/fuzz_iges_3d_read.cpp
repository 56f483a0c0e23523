// IGES bytes through the 3D path's read: the file's shapes, or a clear
// refusal; a fault, an endless loop or runaway memory must not take the
// caller down, whatever the file holds.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Brennic90Ux64.h"
#include "FuzzTempFolder.h"
#include "win32/strconv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 16)) return 0;
  const std::string path = FuzzTempFolder("fuzz_iges_3d_read") + "/input.igs";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  Handle_TopTools_HSequenceOfShape shapes = new TopTools_HSequenceOfShape;
  const int read = BrennIges::Read(CString(arxhost::FromUtf8(path).c_str()), shapes, 1);
  // A refusal always says why.
  if (!read && BrennIges::GetError().IsEmpty()) std::abort();
  ::unlink(path.c_str());
  return 0;
}
