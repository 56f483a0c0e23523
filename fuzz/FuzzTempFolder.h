#pragma once
// A private folder for one fuzz run, made on first use and removed at exit;
// TEMP names it, so that what the code under test writes there stays apart
// from other runs.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::string& FuzzTempFolder(const char* target) {
  static const std::string folder = [target] {
    const char* base = std::getenv("TMPDIR");
    std::string name = std::string(base && *base ? base : "/tmp") + "/" + target + ".XXXXXX";
    if (!mkdtemp(name.data())) std::abort();
    setenv("TEMP", name.c_str(), 1);
    static const std::string* const made = new std::string(name);  // outlives the statics
    std::atexit([] { std::filesystem::remove_all(*made); });
    return name;
  }();
  return folder;
}
