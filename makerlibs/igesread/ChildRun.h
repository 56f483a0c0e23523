#pragma once
// Work on an untrusted IGES file runs in a child process: a fault, a stack
// overflow, an endless loop or runaway memory inside the reader then costs
// that work only, never the caller. Both maker libraries read through here,
// so they stop a file after the same time, at the same memory, and say so
// with the same sentences.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace igesread {

struct ChildLimits {
  std::chrono::milliseconds time{0};
  // Address space the child may add to what it inherits; 0 = no limit.
  std::uint64_t extraAddressSpace = 0;
};

// Limits for reading the file at nativePath: both grow with its size.
ChildLimits LimitsForFile(const std::string& nativePath);

// The work, run in the child. On success it fills answer and returns true;
// on failure it returns false with reason, a clause that completes
// "The IGES file "name" ...". The child ends with _exit right after: no
// destructor of what the work built runs there.
using ChildWork = std::function<bool(std::string& answer, std::string& reason)>;

// Runs work in a child under limits. True with the work's answer; false with
// a reason that completes "The IGES file "name" ...": the work's own, or the
// way the child ended (a signal, the time limit, the memory limit).
bool RunInChild(const ChildWork& work, const ChildLimits& limits, std::string& answer, std::string& reason);

}  // namespace igesread
