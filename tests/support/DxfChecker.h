#pragma once
// Runs check_dxf.py, or another program, on a saved file and gives its
// findings.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "TempFolder.h"

namespace dxftest {

struct CheckResult {
  int status = -1;
  std::string output;
  bool ok() const { return status == 0; }
};

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// A shell command line's exit status and what it printed, errors included.
inline CheckResult RunCommand(const std::string& command) {
  CheckResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline bool CheckerAvailable() { return std::filesystem::exists(DXF_PYTHON); }

inline CheckResult RunChecker(const std::string& dxf, const std::string& expected = {},
                              const std::string& png = {}) {
  std::string cmd = std::string(DXF_PYTHON) + " " + Quote(DXF_CHECKER) + " " + Quote(dxf);
  if (!expected.empty()) cmd += " " + Quote(expected);
  if (!png.empty()) cmd += " --png " + Quote(png);
  return RunCommand(cmd);
}

}  // namespace dxftest
