#pragma once
// Where the registry file lives, and how it is read and replaced.
#include <filesystem>
#include <optional>
#include <string>

#include "win32/registry_file.h"

namespace arxhost::registry {

// The file, in order of precedence: the one named by SetFileOverride
// (arxhost --registry), the environment variable ARXHOST_REGISTRY, then
// registry.reg under $XDG_CONFIG_HOME/arxhost/ (~/.config/arxhost/).
std::filesystem::path FilePath();
void SetFileOverride(std::optional<std::filesystem::path> file);

struct LoadResult {
  Hive hive;        // empty when the file is missing or malformed
  bool writable = true;  // false: a malformed file could not be moved aside
  std::string warning;   // what happened to a malformed file
};

// A missing file reads as an empty hive. A malformed file is never
// overwritten: it is renamed to FILE.malformed (or FILE.malformed.N) and
// the hive reads empty.
LoadResult Load();

// Replaces the file atomically: a temporary file beside it, flushed, then
// renamed over it. On failure the previous file is untouched and the
// temporary file removed.
bool Save(const Hive& hive, std::string& error);

// Tests replace the rename step to show that a failed replacement keeps
// the previous file. Null restores std::rename.
using RenameFunction = int (*)(const char* from, const char* to);
void SetRenameFunction(RenameFunction rename);

}  // namespace arxhost::registry
