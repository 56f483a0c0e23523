#include "ChildRun.h"

#include <IGESControl_Reader.hxx>
#include <Standard_Failure.hxx>
#include <Standard_OutOfMemory.hxx>

#include <cerrno>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <limits>
#include <malloc.h>
#include <mutex>
#include <new>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <ostream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "sanitized.h"

namespace igesread {
namespace {

using build::kSanitized;

// Generous for real files (the largest public ones read in about a second),
// short enough that a file which never ends does not hold the user long.
constexpr std::chrono::seconds kBaseTime{15};
constexpr std::chrono::seconds kTimePerMegabyte{30};
// Sanitizers reserve terabytes of address space and run several times
// slower: no address-space limit under them, and more time.
constexpr int kSanitizedSlowdown = 2;
constexpr std::uint64_t kBaseMemory = 1ull << 30;
constexpr std::uint64_t kMemoryPerFileByte = 128;
// Open CASCADE's model of an IGES file takes 3 to 5 times the file's size.
constexpr std::uint64_t kHeapPerFileByte = 6;

std::string Megabytes(std::uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20); }

std::string SignalWords(int signal) {
  switch (signal) {
    case SIGSEGV: return "segmentation fault";
    case SIGBUS: return "bus error";
    case SIGFPE: return "arithmetic error";
    case SIGILL: return "illegal instruction";
    case SIGABRT: return "abort";
    default: return "signal " + std::to_string(signal);
  }
}

std::string TimeReason(const ChildLimits& limits) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limits.time + std::chrono::milliseconds(500));
  return "could not be read within " + std::to_string(seconds.count()) + " seconds; the reading was stopped";
}

std::string MemoryReason(const ChildLimits& limits) {
  return "could not be read: it needs more than " + Megabytes(limits.extraAddressSpace) + " MB of memory";
}

// Read without stdio, which would allocate in the child before its limits
// are set.
std::uint64_t MappedBytes() {
  char text[64] = {};
  const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (n <= 0) return 0;
  return std::strtoull(text, nullptr, 10) * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

void SetLimit(int resource, rlim_t value) {
  rlimit limit{value, value};
  ::setrlimit(resource, &limit);
}

// Every fresh 4 KiB page costs a fault, and reading a large file touches
// hundreds of thousands of them; on virtual machines each fault costs more
// than the work that fills the page. The child's heap is grown once, up
// front, to about what the work will take, and advised as huge pages, so
// that it is faulted 2 MiB at a time. Only what is touched becomes memory.
// The heap's top is never cut back, which would take the advice with it:
// GiveBackFreedMemory hands free pages back where the work asks.
bool g_heapLaidOut = false;

void LayOutHeap(std::uint64_t bytes) {
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  constexpr int kMallocMaps = 65536;  // the C library's own default
  if (kSanitized || bytes < 4 * kHuge || bytes > std::numeric_limits<size_t>::max() / 2) return;
  ::mallopt(M_MMAP_MAX, 0);  // this block from the heap itself
  ::mallopt(M_TRIM_THRESHOLD, -1);  // never cut back
  void* block = std::malloc(static_cast<size_t>(bytes));
  ::mallopt(M_MMAP_MAX, kMallocMaps);
  if (!block) return;
  const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(kHuge - 1);
  if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
  std::free(block);
  g_heapLaidOut = true;
}

// Open CASCADE sets up its IGES tables and reads its resource files on the
// first reader made, and each reader's own setup takes a while longer. Both
// are done once here: every child inherits the tables and a reader that
// nobody has used, instead of paying for them again.
IGESControl_Reader* g_unusedReader = nullptr;
bool g_inChild = false;

void PrepareIgesReading() {
  static std::once_flag once;
  std::call_once(once, [] {
    try {
#if defined(__SANITIZE_ADDRESS__)
      // Kept for the life of the process on purpose, as Open CASCADE keeps
      // its tables: not a leak.
      const __lsan::ScopedDisabler kept;
#endif
      g_unusedReader = new IGESControl_Reader;
    } catch (const Standard_Failure&) {
    }
  });
}

// What the child prints would land in the caller's transcript.
void SilenceOutput() {
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return;
  ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  ::close(null);
}

// A folder of the child's own for its temporary files: what a child that
// dies leaves there goes with the folder.
void RemoveFolder(const std::string& path) {
  if (path.empty() || ::rmdir(path.c_str()) == 0 || errno == ENOENT) return;
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

class ChildTempFolder {
 public:
  ChildTempFolder() {
    std::string base = "/tmp";
    for (const char* name : {"TMPDIR", "TEMP", "TMP"})
      if (const char* value = std::getenv(name); value && *value) {
        base = value;
        break;
      }
    std::string path = base + "/igesread.XXXXXX";
    if (::mkdtemp(path.data())) path_ = path;
  }
  ~ChildTempFolder() { RemoveFolder(path_); }
  ChildTempFolder(const ChildTempFolder&) = delete;
  ChildTempFolder& operator=(const ChildTempFolder&) = delete;
  // In the child: its temporary files go to the folder.
  void Use() const {
    if (!path_.empty()) ::setenv("TMPDIR", path_.c_str(), 1);
  }
  const std::string& Path() const { return path_; }
  // The folder, no longer removed when this goes.
  std::string Release() { return std::exchange(path_, {}); }

 private:
  std::string path_;
};

// Where the child leaves its frame: a file in memory both processes hold
// open, so that the answer is written once and read in place; else an
// unlinked file in the temporary folder.
int OpenAnswerFile(const ChildTempFolder& temp) {
  const int fd = ::memfd_create("igesread-answer", MFD_CLOEXEC);
  if (fd >= 0 || temp.Path().empty()) return fd;
  const std::string path = temp.Path() + "/answer";
  const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (file >= 0) ::unlink(path.c_str());
  return file;
}

constexpr size_t kHeaderSize = 3 * sizeof(std::uint64_t);
// A child that could not write its answer ends with this plus the error.
constexpr int kNoRoomExit = 16;

// What the work writes, straight into the answer file after the header.
class AnswerBuffer : public std::streambuf {
 public:
  explicit AnswerBuffer(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
  // True when everything written so far is in the file.
  bool Finish() { return Drain(); }
  int Error() const { return error_; }
  std::uint64_t Written() const { return written_ + static_cast<std::uint64_t>(pptr() - pbase()); }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    if (n < static_cast<std::streamsize>(buffer_.size())) return std::streambuf::xsputn(s, n);
    if (!Drain()) return 0;
    if (!WriteAllAt(fd_, s, static_cast<size_t>(n), At())) {
      Failed();
      return 0;
    }
    written_ += static_cast<std::uint64_t>(n);
    return n;
  }
  int sync() override { return Drain() ? 0 : -1; }
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override {
    if (off == 0 && dir == std::ios_base::cur && (which & std::ios_base::out)) return pos_type(off_type(Written()));
    return pos_type(off_type(-1));
  }

 private:
  off_t At() const { return static_cast<off_t>(kHeaderSize + written_); }
  bool Drain() {
    const auto n = static_cast<size_t>(pptr() - pbase());
    if (n > 0 && !failed_) {
      if (WriteAllAt(fd_, pbase(), n, At())) written_ += n;
      else Failed();
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return !failed_;
  }

  void Failed() {
    failed_ = true;
    error_ = errno ? errno : ENOSPC;
  }

  int fd_;
  std::uint64_t written_ = 0;
  bool failed_ = false;
  int error_ = 0;
  std::array<char, 1 << 16> buffer_;
};

// The child's frame in the answer file: ok, answer length, reason length
// (8 bytes each), the answer, the reason. The header is written last, so a
// child that dies while writing leaves no frame that passes for whole.
[[noreturn]] void RunChild(int fd, int answerFd, pid_t parent, const ChildStreamWork& work, const ChildLimits& limits,
                           const ChildTempFolder& temp) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(4);
  g_inChild = true;
  SilenceOutput();
  temp.Use();
  SetLimit(RLIMIT_CORE, 0);  // a crash leaves no core file behind
  // Under a file-size limit a write past it fails, and is said, rather than
  // ending the child as if the file had made it fail.
  std::signal(SIGXFSZ, SIG_IGN);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limits.time).count();
  SetLimit(RLIMIT_CPU, static_cast<rlim_t>(seconds + 2));
  if (limits.extraAddressSpace > 0 && !kSanitized) SetLimit(RLIMIT_AS, MappedBytes() + limits.extraAddressSpace);
  LayOutHeap(std::min(limits.expectedMemory, limits.extraAddressSpace / 2));

  AnswerBuffer buffer(answerFd);
  std::ostream answer(&buffer);
  std::string reason;
  std::uint64_t ok = 0;
  try {
    ok = work(answer, reason) ? 1 : 0;
  } catch (const std::bad_alloc&) {
    reason = MemoryReason(limits);
  } catch (const Standard_OutOfMemory&) {
    reason = MemoryReason(limits);
  } catch (const Standard_Failure& failure) {
    const char* message = failure.GetMessageString();
    reason = std::string("could not be read: Open CASCADE failed (") + failure.DynamicType()->Name();
    if (message && *message) reason += std::string(": ") + message;
    reason += ")";
  } catch (...) {
    reason = "could not be read: the reader failed";
  }
  if (ok) reason.clear();
  // Whatever an answer that failed has written stays before the reason.
  const bool written = buffer.Finish() && (!ok || answer.good());
  const std::uint64_t header[3] = {ok, buffer.Written(), reason.size()};
  const bool sent = written &&
                    WriteAllAt(answerFd, reason.data(), reason.size(), static_cast<off_t>(kHeaderSize + header[1])) &&
                    WriteAllAt(answerFd, reinterpret_cast<const char*>(header), sizeof header, 0);
  // The caller reads the frame once the pipe closes; the child's own end
  // (removing its folder, releasing its memory) takes a while longer.
  const int error = buffer.Error() ? buffer.Error() : errno ? errno : ENOSPC;
  ::close(answerFd);
  ::close(fd);
  RemoveFolder(temp.Path());
  ::_exit(sent ? 0 : kNoRoomExit + std::min(error, 200));
}

// The frame the child left, mapped: true with the answer's place in it;
// false with the child's own reason when it sent one, or with none when the
// frame is missing or not whole.
struct Frame {
  void* map = nullptr;
  size_t mapSize = 0;
  ~Frame() {
    if (map) ::munmap(map, mapSize);
  }
};

bool ReadFrame(int answerFd, Frame& frame, std::string_view& answer, std::string& reason) {
  struct stat st {};
  if (::fstat(answerFd, &st) != 0 || static_cast<std::uint64_t>(st.st_size) < kHeaderSize) return false;
  const size_t size = static_cast<size_t>(st.st_size);
  // Populated at once: one call instead of a fault for every few pages.
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, answerFd, 0);
  if (map == MAP_FAILED) return false;
  frame.map = map;
  frame.mapSize = size;
  const char* data = static_cast<const char*>(map);
  std::uint64_t header[3];
  std::memcpy(header, data, sizeof header);
  const std::uint64_t body = size - kHeaderSize;
  if (header[0] > 1 || header[1] > body || header[2] != body - header[1]) return false;
  if (header[0] == 0) {
    reason.assign(data + kHeaderSize + header[1], header[2]);
    if (reason.empty()) reason = "could not be read";
    return false;
  }
  answer = std::string_view(data + kHeaderSize, header[1]);
  return true;
}

// Children whose answer arrived whole, left to end on their own and to
// remove their folders: each later call reaps those that have, and removes
// what a folder may still hold. No thread waits for them, since a thread
// that runs while the next child is forked can leave a lock of the
// allocator held in that child. Those still there when the caller ends are
// stopped then, and their folders removed.
struct Finished {
  pid_t pid;
  std::string folder;
};

class FinishingChildren {
 public:
  ~FinishingChildren() {
    if (::getpid() != owner_) return;  // a copy in some other forked process that exits
    for (const Finished& child : children_) {
      ::kill(child.pid, SIGKILL);
      int ignored = 0;
      while (::waitpid(child.pid, &ignored, 0) < 0 && errno == EINTR) {
      }
      RemoveFolder(child.folder);
    }
  }
  void Add(pid_t pid, std::string folder) { children_.push_back({pid, std::move(folder)}); }
  void ReapEnded() {
    std::erase_if(children_, [](const Finished& child) {
      int ignored = 0;
      if (::waitpid(child.pid, &ignored, WNOHANG) == 0) return false;
      RemoveFolder(child.folder);
      return true;
    });
  }

 private:
  std::vector<Finished> children_;
  pid_t owner_ = ::getpid();
};

FinishingChildren& Finishing() {
  static FinishingChildren children;
  return children;
}

}  // namespace

std::uint64_t AddressSpaceShare(unsigned ways) {
  rlimit limit{};
  if (ways == 0 || ::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 0;
  const std::uint64_t mapped = MappedBytes();
  const std::uint64_t room = limit.rlim_cur > mapped ? limit.rlim_cur - mapped : 0;
  return mapped + room / ways;
}

void LimitAddressSpace(std::uint64_t bytes) {
  if (bytes > 0) SetLimit(RLIMIT_AS, static_cast<rlim_t>(bytes));
}

bool WriteAllAt(int fd, const void* data, std::size_t n, std::int64_t at) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    const ssize_t w = ::pwrite(fd, p, n, static_cast<off_t>(at));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    at += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

IGESControl_Reader& ChildIgesReader() {
  // Outside a child the prepared reader stays unused, for the children.
  if (!g_inChild || !g_unusedReader) return *new IGESControl_Reader;
  return *std::exchange(g_unusedReader, nullptr);
}

void GiveBackFreedMemory() {
  if (!g_inChild) return;
  if (!g_heapLaidOut) {
    ::malloc_trim(0);
    return;
  }
  // Free blocks inside the heap go back page by page; the top is kept.
  ::malloc_trim(std::numeric_limits<size_t>::max() / 2);
  // The free top goes back too, all but the page holding its header.
  const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(::sbrk(0));
  const std::uintptr_t top = end - ::mallinfo2().keepcost;
  const std::uintptr_t from = (top + page) & ~(page - 1);
  if (from < end) ::madvise(reinterpret_cast<void*>(from), end - from, MADV_DONTNEED);
}

ChildLimits LimitsForFile(const std::string& nativePath) {
  struct stat st {};
  const std::uint64_t size = ::stat(nativePath.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  ChildLimits limits;
  const double megabytes = static_cast<double>(size) / 1e6;
  limits.time = std::chrono::duration_cast<std::chrono::milliseconds>(
      kBaseTime + std::chrono::duration<double>(kTimePerMegabyte) * megabytes);
  if (kSanitized) limits.time *= kSanitizedSlowdown;
  limits.extraAddressSpace = kBaseMemory + kMemoryPerFileByte * size;
  limits.expectedMemory = kHeapPerFileByte * size;
  return limits;
}

void ChildAnswer::Drop(std::size_t upTo) {
  if (fd_ < 0 || !data_) return;
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t end = (kHeaderSize + std::min(upTo, size_)) / page * page;
  // Whole pages only; a file system that cannot punch holes keeps them.
  if (end > 0) ::fallocate(fd_, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(end));
}

void ChildAnswer::Release() {
  if (map_) ::munmap(map_, mapSize_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  map_ = nullptr;
  mapSize_ = 0;
  data_ = nullptr;
  size_ = 0;
}

bool RunInChild(const ChildStreamWork& work, const ChildLimits& limits, ChildAnswer& answer, std::string& reason) {
  answer.Release();
  reason.clear();
  PrepareIgesReading();
  // Output still buffered here would otherwise be written once more by the
  // child, should anything in it flush.
  std::fflush(nullptr);
  ChildTempFolder temp;
  Finishing().ReapEnded();
  const auto failed = [&reason](int error) {
    reason = std::string("could not be read (") + std::strerror(error) + ")";
    return false;
  };
  const int answerFd = OpenAnswerFile(temp);
  if (answerFd < 0) return failed(errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } answerCloser{answerFd};
  // The pipe carries nothing: its end tells that the child is done.
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return failed(errno);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) {
    const int error = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    return failed(error);
  }
  if (pid == 0) {
    ::close(fds[0]);
    RunChild(fds[1], answerFd, parent, work, limits, temp);
  }
  ::close(fds[1]);

  const auto deadline = std::chrono::steady_clock::now() + limits.time;
  bool timedOut = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (r <= 0) continue;  // EINTR or nothing yet
    char ignored[64];
    const ssize_t n = ::read(fds[0], ignored, sizeof ignored);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
  }
  ::close(fds[0]);
  // A whole frame is the child's last act: how it then ends does not
  // matter, and it is reaped aside rather than waited for.
  Frame frame;
  std::string_view view;
  if (!timedOut && ReadFrame(answerFd, frame, view, reason)) {
    Finishing().Add(pid, temp.Release());
    answer.fd_ = ::fcntl(answerFd, F_DUPFD_CLOEXEC, 0);
    answer.map_ = frame.map;
    answer.mapSize_ = frame.mapSize;
    answer.data_ = view.data();
    answer.size_ = view.size();
    frame.map = nullptr;
    return true;
  }
  reason.clear();
  if (timedOut) ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }

  if (timedOut || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)) {
    reason = TimeReason(limits);
    return false;
  }
  if (WIFSIGNALED(status)) {
    if (WTERMSIG(status) == SIGKILL)
      reason = "could not be read: the system stopped the reading (the computer may be out of memory)";
    else
      reason = "made the IGES reader fail (" + SignalWords(WTERMSIG(status)) + "); the file is damaged";
    return false;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) > kNoRoomExit) {
    reason = std::string("could not be read: its result could not be passed on (") +
             std::strerror(WEXITSTATUS(status) - kNoRoomExit) + ")";
    return false;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    reason = "could not be read: the reader ended without a result";
    return false;
  }
  Frame last;
  if (!ReadFrame(answerFd, last, view, reason) && reason.empty()) reason = "could not be read: the reader ended without a result";
  return false;
}

// Large answers move in pieces of this size, each let go of where it came
// from once it has arrived, so that their bytes are never held twice.
constexpr size_t kPiece = size_t{1} << 20;

bool RunInChild(const ChildWork& work, const ChildLimits& limits, ChildAnswer& answer, std::string& reason) {
  const ChildStreamWork streamed = [&work](std::ostream& out, std::string& why) {
    std::string whole;
    if (!work(whole, why)) return false;
    // The pages of the string that are in the file already are handed back
    // at once: the string is not read again, only freed.
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    for (size_t at = 0; at < whole.size() && out; at += kPiece) {
      const size_t n = std::min(kPiece, whole.size() - at);
      out.write(whole.data() + at, static_cast<std::streamsize>(n));
      out.flush();
      const auto from = (reinterpret_cast<uintptr_t>(whole.data() + at) + page - 1) / page * page;
      const auto to = reinterpret_cast<uintptr_t>(whole.data() + at + n) / page * page;
      if (out && to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    }
    return true;
  };
  return RunInChild(streamed, limits, answer, reason);
}

bool RunInChild(const ChildWork& work, const ChildLimits& limits, std::string& answer, std::string& reason) {
  ChildAnswer received;
  answer.clear();
  if (!RunInChild(work, limits, received, reason)) return false;
  const std::string_view view = received.View();
  std::string copy;
  copy.reserve(view.size());
  for (size_t at = 0; at < view.size(); at += kPiece) {
    copy.append(view.substr(at, kPiece));
    received.Drop(copy.size());
  }
  answer = std::move(copy);
  return true;
}

}  // namespace igesread
