#pragma once
// A private folder for one test's files, removed with everything in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

class TestFolder {
 public:
  TestFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() / ("brennic-test-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  size_t FileCount() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path_)) ++n;
    return n;
  }

 private:
  std::filesystem::path path_;
};
