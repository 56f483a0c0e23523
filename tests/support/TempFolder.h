#pragma once
// A private folder for a test's files, made new and removed with everything
// in it.
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

class TempFolder {
 public:
  explicit TempFolder(std::string_view prefix = "tolvane-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + ".XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // The path of a file in the folder, as the libraries under test take it.
  std::string File(std::string_view name) const { return (path_ / name).string(); }
  size_t FileCount() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path_)) ++n;
    return n;
  }

 private:
  std::filesystem::path path_;
};

// The folder of this test process's files, removed when the process ends.
inline const std::filesystem::path& ProcessFolder() {
  static const TempFolder folder("tolvane-process");
  return folder.Path();
}
