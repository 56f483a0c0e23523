// Model file bytes through the model importer into a drawing, and the drawing
// saved as DXF: the second half of the 2D path. Nothing may crash, hang or
// leave an object open.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzTempFolder.h"
#include "ThreeDmImporter.h"
#include "iges/Convert.h"
#include "model/ModelWriter.h"
#include "arx/dbInspector.h"
#include "arx/dbheaders.h"
#include "dxf/DxfOut.h"
#include "dxf/GroupWriter.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

// FUZZ_MODEL_SEEDS=FOLDER IGES...: writes the model file of each IGES file
// into FOLDER (seeds for a run) and ends.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const char* seeds = std::getenv("FUZZ_MODEL_SEEDS");
  if (!seeds) return 0;
  int written = 0;
  for (int i = 1; i < *argc; ++i) {
    kelv::model::ModelMaker maker;
    kelv::iges::ConversionResult result;
    std::string reason;
    if (!kelv::iges::ConvertIgesFile((*argv)[i], maker, result, reason)) continue;
    const std::vector<uint8_t> bytes = kelv::model::PackModel(maker.Model());
    const std::string out = std::string(seeds) + "/seed" + std::to_string(i) + ".k3m";
    if (FILE* f = std::fopen(out.c_str(), "wb")) {
      written += std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
      std::fclose(f);
    }
  }
  std::printf("%d seed model files written\n", written);
  std::exit(0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  // The importer writes "VRNTemp.sat" into TEMP: a private folder of this run.
  const std::string path = FuzzTempFolder("fuzz_model_import") + "/model.k3m";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

  arxhost::ResetWorkingDatabase();
  {
    arxhost::Transcript::Capture quiet;
    ThreeDmImporter importer;
    importer.ImportFile(CString(arxhost::FromUtf8(path).c_str()), 1, 0, 0, 0);
  }
  arxhost::DatabaseInspector inspect;
  if (!inspect.openObjects().empty()) std::abort();  // every entity closed, on every path
  try {
    arxhost::dxf::DxfText(*acdbHostApplicationServices()->workingDatabase());
  } catch (const arxhost::dxf::DxfWriteError&) {
    // Values the writer refuses (it says so to the user).
  }
  ::unlink(path.c_str());
  return 0;
}
