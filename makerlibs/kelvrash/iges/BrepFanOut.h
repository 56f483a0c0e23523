#pragma once
// B-reps transferred ahead of the mapping, each alone, in forked worker
// processes on all cores. Open CASCADE's transfer is not safe to run on
// several threads; processes share nothing but what they report. Only a
// B-rep whose parts no other entity of the mapping reaches is sent: the
// transfer then gives the same shape alone as in the file's order. What a
// worker does not report, for whatever reason, is transferred in order as
// if no worker had run.
#include <cstddef>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "MapContext.h"

namespace kelv::iges {

// Off by default: a process that converts in its own threads (tests, the
// fuzzer) must not fork. The conversion child turns it on.
struct BrepFanOutSettings {
  bool enabled = false;
  // Workers pay for themselves only over this many entities in the parts
  // of the B-reps sent.
  size_t minParts = 3000;
  int minCandidates = 2;
  int workers = 0;  // 0: one for each core online
  // For tests: the worker that takes this candidate (by its place among
  // them) is killed there.
  int killAt = -1;
  // What the last conversion did: B-reps sent to workers, and reported back.
  size_t sent = 0, reported = 0;
};
BrepFanOutSettings& FanOutSettings();

// The B-reps the workers reported, packed, by entity number.
class AheadBreps {
 public:
  AheadBreps() = default;
  ~AheadBreps();
  AheadBreps(const AheadBreps&) = delete;
  AheadBreps& operator=(const AheadBreps&) = delete;
  AheadBreps(AheadBreps&& other) noexcept;
  AheadBreps& operator=(AheadBreps&& other) noexcept;

  // Takes the entity's B-rep out: false when there is none.
  bool Take(int entity, model::BrepT& brep);
  size_t Size() const { return found_.size(); }

 private:
  friend AheadBreps TransferInWorkers(const MapContext&, const std::vector<Entity>&,
                                      const std::function<bool(const Entity&, model::BrepT&)>&);
  void Release();
  std::vector<std::pair<void*, size_t>> maps_;
  std::unordered_map<int, std::string_view> found_;
};

// The sub-entities the transfer asks an entity for.
using PartsOf = std::function<void(const Entity&, std::vector<Entity>&)>;

// Of the candidates (B-reps of the main pass drawn at the file's origin),
// those whose parts are read, unbroken, and reached by no other candidate
// and by none of the others (every other entity the main pass maps).
// parts counts the entities in what is returned.
std::vector<Entity> IndependentBreps(const MapContext& ctx, const std::vector<Entity>& candidates,
                                     const std::vector<Entity>& others, const PartsOf& partsOf, size_t& parts);

// Runs transfer for every entity in worker processes and gathers the B-reps
// of those for which it returned true.
AheadBreps TransferInWorkers(const MapContext& ctx, const std::vector<Entity>& entities,
                             const std::function<bool(const Entity&, model::BrepT&)>& transfer);

}  // namespace kelv::iges
