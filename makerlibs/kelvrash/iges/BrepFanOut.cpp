#include "BrepFanOut.h"

#include "ChildRun.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelv::iges {

using namespace kelv::model;

BrepFanOutSettings& FanOutSettings() {
  static BrepFanOutSettings settings;
  return settings;
}

AheadBreps::~AheadBreps() { Release(); }

AheadBreps::AheadBreps(AheadBreps&& other) noexcept
    : maps_(std::exchange(other.maps_, {})), found_(std::exchange(other.found_, {})) {}

AheadBreps& AheadBreps::operator=(AheadBreps&& other) noexcept {
  if (this != &other) {
    Release();
    maps_ = std::exchange(other.maps_, {});
    found_ = std::exchange(other.found_, {});
  }
  return *this;
}

void AheadBreps::Release() {
  found_.clear();
  for (auto [map, size] : maps_) ::munmap(map, size);
  maps_.clear();
}

bool AheadBreps::Take(int entity, BrepT& brep) {
  auto it = found_.find(entity);
  if (it == found_.end()) return false;
  flatbuffers::GetRoot<Brep>(it->second.data())->UnPackTo(&brep);
  found_.erase(it);
  return true;
}

std::vector<Entity> IndependentBreps(const MapContext& ctx, const std::vector<Entity>& candidates,
                                     const std::vector<Entity>& others, const PartsOf& partsOf, size_t minParts,
                                     size_t& parts) {
  parts = 0;
  const size_t count = static_cast<size_t>(ctx.iges->NbEntities()) + 1;
  std::vector<Entity> stack;
  // Walks what root reaches; visit(part, number) says whether to go on into
  // the part's own parts. False where an entity outside the model's
  // numbering is reached: sharing cannot be told by number then.
  const auto walk = [&](const Entity& root, const auto& visit) {
    stack.assign(1, root);
    while (!stack.empty()) {
      Entity part = std::move(stack.back());
      stack.pop_back();
      if (part.IsNull()) continue;
      const int n = ctx.iges->Number(part);
      if (n <= 0 || static_cast<size_t>(n) >= count) return false;
      if (visit(part, static_cast<size_t>(n))) partsOf(part, stack);
    }
    return true;
  };

  // Each candidate's parts, owned by the first candidate that reaches them.
  // A walk stops where it meets another's part: both are out then, and what
  // lies below was walked by that other.
  std::vector<int> owner(count, 0);  // candidate's place + 1
  std::vector<char> out(candidates.size(), 0);
  std::vector<size_t> sizes(candidates.size(), 0);
  for (size_t c = 0; c < candidates.size(); ++c) {
    const int self = static_cast<int>(c) + 1;
    const bool numbered = walk(candidates[c], [&](const Entity& part, size_t n) {
      if (owner[n] == self) return false;
      if (owner[n] != 0) {
        out[c] = 1;
        out[static_cast<size_t>(owner[n] - 1)] = 1;
        return false;
      }
      owner[n] = self;
      ++sizes[c];
      // A broken part keeps the candidate from being transferred at all.
      if (ctx.Broken(part)) {
        out[c] = 1;
        return false;
      }
      return true;
    });
    if (!numbered) return {};
  }
  size_t left = 0;
  for (size_t c = 0; c < candidates.size(); ++c)
    if (!out[c]) left += sizes[c];
  if (left < minParts) return {};

  // What the others reach, as far as the mapping can ask (not into parts
  // that could not be read), puts the candidate that owns it out.
  std::vector<char> reached(count, 0);
  for (const Entity& root : others) {
    const bool numbered = walk(root, [&](const Entity& part, size_t n) {
      if (reached[n]) return false;
      reached[n] = 1;
      if (owner[n] != 0) out[static_cast<size_t>(owner[n] - 1)] = 1;
      if (ctx.Broken(part)) return false;
      // Open CASCADE reads a point dimension without its pointers, which
      // the mapping follows in the raw parameters.
      if (TypeOf(part) == IgesType::PointDimension)
        for (size_t k = 1; k <= 3; ++k) stack.push_back(ctx.RawPointer(part, k));
      return true;
    });
    if (!numbered) return {};
  }

  std::vector<Entity> chosen;
  for (size_t c = 0; c < candidates.size(); ++c)
    if (!out[c]) {
      chosen.push_back(candidates[c]);
      parts += sizes[c];
    }
  return parts < minParts ? std::vector<Entity>() : chosen;
}

namespace {

// A worker's report: records of entity number and size (8 bytes each),
// then the packed B-rep, padded to 8 bytes. The payload is written before
// its header, so that a worker stopped in between leaves zeros where the
// header would be, which end the records.
constexpr size_t kRecordHeader = 2 * sizeof(std::uint64_t);

size_t Padded(size_t n) { return (n + 7) & ~size_t{7}; }

// Takes runs of entities from the shared counter until none are left.
[[noreturn]] void Work(int fd, pid_t parent, std::atomic<size_t>& next, size_t run,
                       const std::vector<Entity>& entities, const std::vector<int>& numbers,
                       const std::function<bool(const Entity&, BrepT&)>& transfer, int killAt,
                       std::uint64_t addressSpace) {
  // A worker never outlives the conversion it works for.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(1);
  // A B-rep that needs more than a worker's part of the room is left to the
  // transfer in order, under the conversion's whole limit.
  igesread::LimitAddressSpace(addressSpace);
  off_t at = 0;
  flatbuffers::FlatBufferBuilder builder(size_t{1} << 16);
  for (size_t i = 0, end = 0;; ++i) {
    if (i >= end) {
      i = next.fetch_add(run, std::memory_order_relaxed);
      end = std::min(i + run, entities.size());
    }
    if (i >= entities.size()) break;
    if (static_cast<int>(i) == killAt) ::kill(::getpid(), SIGKILL);
    try {
      BrepT brep;
      if (!transfer(entities[i], brep)) continue;
      builder.Clear();
      builder.Finish(Brep::Pack(builder, &brep));
      const std::uint64_t header[2] = {static_cast<std::uint64_t>(numbers[i]), builder.GetSize()};
      if (!igesread::WriteAllAt(fd, builder.GetBufferPointer(), builder.GetSize(), at + static_cast<off_t>(kRecordHeader)) ||
          !igesread::WriteAllAt(fd, header, sizeof header, at))
        ::_exit(2);
      at += static_cast<off_t>(kRecordHeader + Padded(builder.GetSize()));
    } catch (...) {
      // Left to the transfer in order, which meets the same fault.
    }
  }
  ::_exit(0);
}

}  // namespace

AheadBreps TransferInWorkers(const MapContext& ctx, const std::vector<Entity>& entities, size_t workers,
                             const std::function<bool(const Entity&, BrepT&)>& transfer) {
  AheadBreps ahead;
  const BrepFanOutSettings& settings = FanOutSettings();
  workers = std::min(workers, entities.size());
  if (workers == 0) return ahead;
  std::vector<int> numbers;
  numbers.reserve(entities.size());
  for (const Entity& e : entities) numbers.push_back(ctx.iges->Number(e));

  void* page = ::mmap(nullptr, sizeof(std::atomic<size_t>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (page == MAP_FAILED) return ahead;
  auto* next = new (page) std::atomic<size_t>(0);
  std::vector<int> fds;
  std::vector<pid_t> pids;
  std::vector<char> whole(workers, 0);
  fds.reserve(workers);
  pids.reserve(workers);
  // Neighbouring B-reps, whose entities lie near each other in memory, go
  // to one worker in runs: each copies fewer of the pages it shares.
  const size_t run = std::max<size_t>(1, entities.size() / (workers * 8));
  // Memory freed but still held would be copied for each worker that
  // reuses it; given back, it is fresh to each.
  igesread::GiveBackFreedMemory();
  const pid_t parent = ::getpid();
  // The workers together hold no more than the conversion may.
  const std::uint64_t addressSpace = igesread::AddressSpaceShare(static_cast<unsigned>(workers));
  for (size_t w = 0; w < workers; ++w) {
    const int fd = ::memfd_create("brep-ahead", MFD_CLOEXEC);
    if (fd < 0) break;
    const pid_t pid = ::fork();
    if (pid < 0) {
      ::close(fd);
      break;
    }
    if (pid == 0) Work(fd, parent, *next, run, entities, numbers, transfer, settings.killAt, addressSpace);
    fds.push_back(fd);
    pids.push_back(pid);
  }
  // Waits without touching the heap the workers share: each page this
  // process wrote would be copied for it.
  for (size_t w = 0; w < pids.size(); ++w) {
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(pids[w], &status, 0)) < 0 && errno == EINTR) {
    }
    whole[w] = got == pids[w] && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  ::munmap(page, sizeof(std::atomic<size_t>));

  // Only a worker that ended well is taken at its word.
  for (size_t w = 0; w < fds.size(); ++w) {
    struct stat st {};
    if (whole[w] && ::fstat(fds[w], &st) == 0 && st.st_size > 0) {
      const size_t size = static_cast<size_t>(st.st_size);
      void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fds[w], 0);
      if (map != MAP_FAILED) {
        ahead.maps_.emplace_back(map, size);
        const char* data = static_cast<const char*>(map);
        size_t at = 0;
        while (size - at >= kRecordHeader) {
          std::uint64_t header[2];
          std::memcpy(header, data + at, sizeof header);
          if (header[0] == 0 || header[1] > size - at - kRecordHeader) break;
          const char* brep = data + at + kRecordHeader;
          flatbuffers::Verifier verifier(reinterpret_cast<const uint8_t*>(brep), header[1]);
          if (verifier.VerifyBuffer<Brep>(nullptr))
            ahead.found_[static_cast<int>(header[0])] = std::string_view(brep, header[1]);
          at += kRecordHeader + Padded(header[1]);
          if (at > size) break;
        }
      }
    }
    ::close(fds[w]);
  }
  return ahead;
}

}  // namespace kelv::iges
