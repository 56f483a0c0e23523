#pragma once
// What the benchmarks share: the median time of repeated runs and the
// largest IGES files of the public corpus.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// The median wall time of runs calls of f; before each, setup (untimed).
template <class F, class Setup = void (*)()>
double MedianSeconds(int runs, F&& f, Setup setup = [] {}) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    setup();
    auto start = std::chrono::steady_clock::now();
    f();
    t.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

// The count largest .igs/.iges files below the folder, largest first.
inline std::vector<std::pair<std::uintmax_t, std::filesystem::path>> LargestIgesFiles(
    const std::filesystem::path& folder, int count) {
  std::vector<std::pair<std::uintmax_t, std::filesystem::path>> files;
  for (auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    std::string ext = e.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (e.is_regular_file() && (ext == ".igs" || ext == ".iges")) files.push_back({e.file_size(), e.path()});
  }
  std::sort(files.rbegin(), files.rend());
  files.resize(std::min<size_t>(files.size(), static_cast<size_t>(std::max(count, 1))));
  return files;
}

}  // namespace bench
