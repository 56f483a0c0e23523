#pragma once
// What the benchmarks share: the median time of repeated runs and the
// largest IGES files of the public corpus.
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
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

// Waits for every child of this process. The import paths leave their
// conversion child to end on its own; its peak memory counts in
// RUSAGE_CHILDREN only once it is reaped.
inline void ReapChildren() {
  while (::waitpid(-1, nullptr, 0) > 0) {
  }
}

// The median of some values, 0 for none.
inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
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

namespace detail {

// A file in memory (memfd), counted whole once by inode.
inline void AddMemoryFile(const std::string& link, const std::string& target, std::uint64_t& total,
                          std::vector<std::uint64_t>& memoryFiles) {
  struct stat st {};
  if (target.rfind("/memfd:", 0) != 0 || ::stat(link.c_str(), &st) != 0) return;
  if (std::find(memoryFiles.begin(), memoryFiles.end(), st.st_ino) != memoryFiles.end()) return;
  memoryFiles.push_back(st.st_ino);
  total += static_cast<std::uint64_t>(st.st_blocks) * 512;
}

// Anonymous and file-backed pages of one process, shared ones split among
// the processes that map them; files in memory (memfd) are counted whole
// once by inode instead, through the descriptors that hold them open (the
// import paths keep one open while they map such a file). The mappings
// themselves are not read: that would hold up the process's page faults.
inline std::uint64_t OwnMemory(pid_t pid, std::vector<std::uint64_t>& memoryFiles) {
  const std::string proc = "/proc/" + std::to_string(pid);
  std::ifstream rollup(proc + "/smaps_rollup");
  std::uint64_t pss = 0, shmem = 0;
  for (std::string line; std::getline(rollup, line);) {
    std::istringstream fields(line);
    std::string key;
    fields >> key;
    if (key == "Pss:") fields >> pss;
    else if (key == "Pss_Shmem:") fields >> shmem;
  }
  std::uint64_t total = (pss > shmem ? pss - shmem : 0) * 1024;
  std::error_code ec;
  for (const auto& fd : std::filesystem::directory_iterator(proc + "/fd", ec))
    AddMemoryFile(fd.path().string(), std::filesystem::read_symlink(fd.path(), ec).string(), total, memoryFiles);
  return total;
}

inline void AddChildrenMemory(pid_t pid, std::uint64_t& total, std::vector<std::uint64_t>& memoryFiles) {
  std::ifstream children("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
  for (pid_t child; children >> child;) {
    total += OwnMemory(child, memoryFiles);
    AddChildrenMemory(child, total, memoryFiles);
  }
}

}  // namespace detail

// The memory a process and its children hold at this moment, in bytes,
// each page counted once: the process's own in selfBytes when asked.
inline std::uint64_t ProcessTreeMemory(pid_t pid, std::uint64_t* selfBytes = nullptr) {
  std::vector<std::uint64_t> memoryFiles;
  std::uint64_t total = detail::OwnMemory(pid, memoryFiles);
  if (selfBytes) *selfBytes = total;
  detail::AddChildrenMemory(pid, total, memoryFiles);
  return total;
}

// One sample of a run: seconds since its start, the memory of the program
// itself and of its children (files in memory counted with whoever holds
// them first, the program before its children).
struct MemorySample {
  double seconds = 0;
  std::uint64_t selfBytes = 0, childBytes = 0;
};

// Runs a program, collecting what it prints, and, with a non-null peakBytes,
// samples the memory of it and its children every few milliseconds:
// *peakBytes is the largest sum seen, the memory the machine needed at once;
// timeline, when given, gets every sample. Sampling walks the processes'
// page tables and holds their memory maps' lock, which slows a large
// process down several times over on some machines: time a program in runs
// that are not sampled. False when it fails.
inline bool RunSampled(const std::vector<std::string>& args, std::string& output, std::uint64_t* peakBytes,
                       std::vector<MemorySample>* timeline = nullptr) {
  output.clear();
  if (peakBytes) *peakBytes = 0;
  int out[2];
  if (pipe(out) != 0) return false;
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  const auto start = std::chrono::steady_clock::now();
  char buffer[4096];
  for (;;) {
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, peakBytes ? 2 : -1) > 0) {
      const ssize_t n = read(out[0], buffer, sizeof buffer);
      if (n <= 0) break;
      output.append(buffer, static_cast<size_t>(n));
    }
    if (!peakBytes) continue;
    std::uint64_t self = 0;
    const std::uint64_t all = ProcessTreeMemory(pid, &self);
    *peakBytes = std::max(*peakBytes, all);
    if (timeline)
      timeline->push_back({std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), self,
                           all - self});
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace bench
