#pragma once
// Work on an untrusted IGES file runs in a child process: a fault, a stack
// overflow, an endless loop or runaway memory inside the reader then costs
// that work only, never the caller. Both maker libraries read through here,
// so they stop a file after the same time, at the same memory, and say so
// with the same sentences.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

class IGESControl_Reader;

namespace igesread {

struct ChildLimits {
  std::chrono::milliseconds time{0};
  // Address space the child may add to what it inherits; 0 = no limit.
  std::uint64_t extraAddressSpace = 0;
  // About the memory the work will take; the child lays out its heap for it.
  std::uint64_t expectedMemory = 0;
};

// For the work of RunInChild: a reader that nobody has used, made before
// the child started. It is never destroyed: the process ends first.
IGESControl_Reader& ChildIgesReader();

// In a child: what its work has freed so far goes back to the system now,
// not when the child ends. Work that frees a large model before it makes
// its answer calls this in between, so that the two are not held at once.
// Memory freed and taken again by the work itself stays: handing it back
// would only cost the faults of taking it again.
void GiveBackFreedMemory();

// For a process that forks several workers: the address-space limit that
// gives each of them an equal part of the room this process has left under
// its own limit, so that together they can take no more than it could.
// 0 when this process has no such limit.
std::uint64_t AddressSpaceShare(unsigned ways);
// Sets this process's address-space limit; 0 leaves it as it is.
void LimitAddressSpace(std::uint64_t bytes);

// All n bytes at offset at of fd, through interruptions and short writes.
bool WriteAllAt(int fd, const void* data, std::size_t n, std::int64_t at);

// Limits for reading the file at nativePath: both grow with its size.
ChildLimits LimitsForFile(const std::string& nativePath);

// The work, run in the child. On success it fills answer and returns true;
// on failure it returns false with reason, a clause that completes
// "The IGES file "name" ...". The child ends with _exit right after: no
// destructor of what the work built runs there.
using ChildWork = std::function<bool(std::string& answer, std::string& reason)>;
// The same, writing its answer as it goes rather than holding it whole.
using ChildStreamWork = std::function<bool(std::ostream& answer, std::string& reason)>;

// The answer of a child, read in place where the child wrote it: the bytes
// are neither piped nor copied on their way to the caller.
class ChildAnswer {
 public:
  ChildAnswer() = default;
  ~ChildAnswer() { Release(); }
  ChildAnswer(const ChildAnswer&) = delete;
  ChildAnswer& operator=(const ChildAnswer&) = delete;
  std::string_view View() const { return {data_, size_}; }
  // The bytes before upTo are not read again: their memory is given back
  // (reading them afterwards gives zeros).
  void Drop(std::size_t upTo);
  void Release();

 private:
  friend bool RunInChild(const ChildStreamWork&, const ChildLimits&, ChildAnswer&, std::string&);
  int fd_ = -1;
  void* map_ = nullptr;
  std::size_t mapSize_ = 0;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
};

// Runs work in a child under limits. True with the work's answer; false with
// a reason that completes "The IGES file "name" ...": the work's own, or the
// way the child ended (a signal, the time limit, the memory limit).
bool RunInChild(const ChildStreamWork& work, const ChildLimits& limits, ChildAnswer& answer, std::string& reason);
bool RunInChild(const ChildWork& work, const ChildLimits& limits, ChildAnswer& answer, std::string& reason);

// The same with the answer copied out once, into a string of its exact size.
bool RunInChild(const ChildWork& work, const ChildLimits& limits, std::string& answer, std::string& reason);

}  // namespace igesread
