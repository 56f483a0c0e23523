#include "KelvIges.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "Convert.h"
#include "model/AtomicFile.h"
#include "win32/strconv.h"

namespace {

CString& LastError() {
  static CString text;
  return text;
}

// The parser and the shape transfer run in a child process: a fault deep in
// Open CASCADE on a malformed file then costs that process, not the host,
// and a file that sends them into an endless loop is stopped. The child
// sends back the finished model bytes; only this process writes the file.
struct ChildResult {
  bool ok = false;
  std::string reason;
  std::map<int, int> skipped;
  std::vector<uint8_t> model;
};

void Put(std::string& out, const void* p, size_t n) { out.append(static_cast<const char*>(p), n); }
void PutU64(std::string& out, uint64_t v) { Put(out, &v, sizeof v); }

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

[[noreturn]] void RunChild(int fd, const std::string& igesPath) {
  kelv::model::ModelMaker maker;
  kelv::iges::ConversionResult result;
  std::string reason;
  bool ok = kelv::iges::ConvertIgesFile(igesPath, maker, result, reason);
  std::string header;
  std::vector<uint8_t> bytes;
  if (ok) bytes = kelv::model::PackModel(maker.Model());
  PutU64(header, ok ? 1 : 0);
  PutU64(header, reason.size());
  header += reason;
  PutU64(header, result.skipped.size());
  for (auto [type, count] : result.skipped) {
    PutU64(header, static_cast<uint64_t>(type));
    PutU64(header, static_cast<uint64_t>(count));
  }
  PutU64(header, bytes.size());
  bool sent = WriteAll(fd, header.data(), header.size()) &&
              WriteAll(fd, reinterpret_cast<const char*>(bytes.data()), bytes.size());
  ::_exit(sent ? 0 : 3);
}

bool Parse(const std::string& data, ChildResult& r) {
  size_t at = 0;
  auto u64 = [&](uint64_t& v) {
    if (data.size() - at < sizeof v) return false;
    std::memcpy(&v, data.data() + at, sizeof v);
    at += sizeof v;
    return true;
  };
  uint64_t ok, n;
  if (!u64(ok) || !u64(n) || data.size() - at < n) return false;
  r.ok = ok == 1;
  r.reason = data.substr(at, n);
  at += n;
  if (!u64(n)) return false;
  for (uint64_t i = 0; i < n; ++i) {
    uint64_t type, count;
    if (!u64(type) || !u64(count)) return false;
    r.skipped[static_cast<int>(type)] = static_cast<int>(count);
  }
  if (!u64(n) || data.size() - at != n) return false;
  r.model.assign(data.begin() + static_cast<long>(at), data.end());
  return true;
}

// Returns false with reason when the child failed to report.
bool ConvertInChild(const std::string& igesPath, ChildResult& result, std::string& reason) {
  struct stat st {};
  const double megabytes = ::stat(igesPath.c_str(), &st) == 0 ? static_cast<double>(st.st_size) / 1e6 : 0.0;
  const auto limit = std::chrono::seconds(60 + static_cast<long>(60.0 * megabytes));
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    reason = std::string("cannot be converted (") + std::strerror(errno) + ")";
    return false;
  }
  pid_t pid = ::fork();
  if (pid < 0) {
    reason = std::string("cannot be converted (") + std::strerror(errno) + ")";
    ::close(fds[0]);
    ::close(fds[1]);
    return false;
  }
  if (pid == 0) {
    ::close(fds[0]);
    RunChild(fds[1], igesPath);
  }
  ::close(fds[1]);
  std::string data;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  bool timedOut = false;
  char buf[1 << 16];
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (r < 0 && errno == EINTR) continue;
    if (r == 0) continue;
    ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fds[0]);
  if (timedOut) ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (timedOut) {
    reason = "could not be read within " + std::to_string(limit.count()) + " seconds; the conversion was stopped";
    return false;
  }
  if (WIFSIGNALED(status)) {
    reason = "made the IGES parser fail (" + std::string(::strsignal(WTERMSIG(status))) + "); the file is damaged";
    return false;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !Parse(data, result)) {
    reason = "cannot be converted (the conversion ended without a result)";
    return false;
  }
  return true;
}

}  // namespace

KelvIges::KelvIges() = default;
KelvIges::~KelvIges() = default;

CString KelvIges::GetError() { return LastError(); }
void KelvIges::SetError(const CString& text) { LastError() = text; }

int KelvIges::IGESTo3DM(CString igesPath, CString modelPath, int /*options*/) {
  m_skipped.clear();
  const std::string display = arxhost::ToUtf8(igesPath.str());
  ChildResult result;
  std::string reason;
  if (!ConvertInChild(arxhost::NativePath(igesPath.str()), result, reason) || !result.ok) {
    if (reason.empty()) reason = result.reason;
    SetError(CString(("The IGES file '" + display + "' " + reason + ".").c_str()));
    return 0;
  }
  m_skipped = result.skipped;
  const std::string target = arxhost::NativePath(modelPath.str());
  std::string error;
  if (!kelv::WriteFileAtomically(target, result.model, error)) {
    SetError(CString(("The model file '" + arxhost::ToUtf8(modelPath.str()) + "' cannot be written (" + error + ").").c_str()));
    return 0;
  }
  return 1;
}
