#pragma once
// Work shared out in parts over the cores, for the check and the reading of
// a large file.
#include <algorithm>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace igesread {

// How many parts work on data of the given size shares out, at least one
// part per bytesPerPart and at most one a core (eight at most).
inline int PartsFor(size_t bytes, size_t bytesPerPart) {
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  return static_cast<int>(std::clamp<size_t>(bytes / bytesPerPart, 1, std::min<size_t>(cores, 8)));
}

// Runs work(part) for every part, the first on this thread and the others
// on threads of their own (on this one too where none can be started), all
// joined before it returns; the first exception of a part is rethrown.
template <class Work>
void InParallel(int parts, const Work& work) {
  if (parts <= 1) {
    work(0);
    return;
  }
  std::vector<std::exception_ptr> errors(static_cast<size_t>(parts));
  auto run = [&](int part) {
    try {
      work(part);
    } catch (...) {
      errors[static_cast<size_t>(part)] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(static_cast<size_t>(parts));
  for (int part = 1; part < parts; ++part) {
    try {
      threads.emplace_back(run, part);
    } catch (const std::system_error&) {
      run(part);
    }
  }
  run(0);
  for (std::thread& t : threads) t.join();
  for (const std::exception_ptr& e : errors)
    if (e) std::rethrow_exception(e);
}

}  // namespace igesread
