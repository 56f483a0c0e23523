// IGES into the model file on the largest public files, against Open
// CASCADE's ReadFile alone on the same files. Prints both times and the ratio.
//   bench_iges_to_model [count of files, default 4] [runs per file, default 3]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <IGESControl_Reader.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>

#include "KelvIges.h"

namespace fs = std::filesystem;

namespace {

template <class F>
double MedianSeconds(int runs, F&& f) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    f();
    t.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 4;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const fs::path corpus = TOLVANE_CORPUS_DIR;
  if (!fs::exists(corpus)) {
    std::printf("no corpus at %s\n", corpus.c_str());
    return 0;
  }
  Message::DefaultMessenger()->ChangePrinters().Clear();
  std::vector<std::pair<uintmax_t, fs::path>> files;
  for (auto& e : fs::recursive_directory_iterator(corpus)) {
    std::string ext = e.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (e.is_regular_file() && (ext == ".igs" || ext == ".iges")) files.push_back({e.file_size(), e.path()});
  }
  std::sort(files.rbegin(), files.rend());
  files.resize(std::min<size_t>(files.size(), static_cast<size_t>(std::max(count, 1))));

  const fs::path out = fs::temp_directory_path() / "bench_iges_to_model.k3m";
  double totalOcct = 0, totalOurs = 0;
  std::printf("%-40s %10s %12s %12s %8s\n", "file", "bytes", "ReadFile s", "IGESTo3DM s", "ratio");
  for (auto& [size, path] : files) {
    double occt = MedianSeconds(runs, [&] {
      IGESControl_Reader reader;
      reader.ReadFile(path.c_str());
    });
    int ok = 1;
    double ours = MedianSeconds(runs, [&] {
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
