// IGES into the model file on the largest public files, against Open
// CASCADE's ReadFile alone on the same files. Prints both times and the ratio.
//   bench_iges_to_model [count of files, default 4] [runs per file, default 3]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "BenchSupport.h"

#include <IGESControl_Reader.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>

#include "KelvIges.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 4;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const fs::path corpus = TOLVANE_CORPUS_DIR;
  if (!fs::exists(corpus)) {
    std::printf("no corpus at %s\n", corpus.c_str());
    return 0;
  }
  Message::DefaultMessenger()->ChangePrinters().Clear();
  const auto files = bench::LargestIgesFiles(corpus, count);

  const fs::path out = fs::temp_directory_path() / "bench_iges_to_model.k3m";
  double totalOcct = 0, totalOurs = 0;
  std::printf("%-40s %10s %12s %12s %8s\n", "file", "bytes", "ReadFile s", "IGESTo3DM s", "ratio");
  for (auto& [size, path] : files) {
    double occt = bench::MedianSeconds(runs, [&] {
      IGESControl_Reader reader;
      reader.ReadFile(path.c_str());
    });
    int ok = 1;
    double ours = bench::MedianSeconds(runs, [&] {
      KelvIges iges;
      ok = iges.IGESTo3DM(CString(path.c_str()), CString(out.c_str()), 4);
    });
    totalOcct += occt;
    totalOurs += ours;
    std::printf("%-40s %10ju %12.4f %12.4f %8.2f%s\n", fs::relative(path, corpus).c_str(), size, occt, ours,
                ours / occt, ok ? "" : "  (refused)");
  }
  std::printf("%-40s %10s %12.4f %12.4f %8.2f\n", "total", "", totalOcct, totalOurs, totalOurs / totalOcct);
  fs::remove(out);
  return 0;
}
