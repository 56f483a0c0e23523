#pragma once
// The public IGES files beside the repository, for the tests that sweep
// every one of them.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

// Every IGES file of the corpus and its subfolders (.igs or .iges in any
// case), in path order; none where the corpus is absent.
inline std::vector<std::filesystem::path> CorpusIgesFiles() {
  std::vector<std::filesystem::path> files;
  if (!std::filesystem::exists(TOLVANE_CORPUS)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(TOLVANE_CORPUS)) {
    std::string ext = entry.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (entry.is_regular_file() && (ext == ".igs" || ext == ".iges")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}
