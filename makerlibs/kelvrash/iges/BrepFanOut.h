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

// Off by default: forking is sound only in a process that runs no other
// thread while it converts. The conversion child is one and turns it on;
// tests do for their own conversions.
struct BrepFanOutSettings {
  bool enabled = false;
  // A worker takes a while to start (the pages it touches first are its
  // own to fault in): it pays for itself over about this many entities in
  // the parts of the B-reps it transfers, and workers start only where two
  // would.
  size_t partsPerWorker = 3000;
  size_t minParts = 6000;
  int minCandidates = 2;
  int workers = 0;  // 0: by the parts, at most one for each core online
  // For tests: the worker that takes this candidate (by its place among
  // them) is killed there.
  int killAt = -1;
  // What the last conversion did: B-reps sent to workers, and those reported
  // back whole.
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
  friend AheadBreps TransferInWorkers(const MapContext&, const std::vector<Entity>&, size_t,
                                      const std::function<bool(const Entity&, model::BrepT&)>&);
  void Release();
  std::vector<std::pair<void*, size_t>> maps_;
  std::unordered_map<int, std::string_view> found_;
};

// The sub-entities the transfer asks an entity for.
using PartsOf = std::function<void(const Entity&, std::vector<Entity>&)>;

// Of the candidates (B-reps of the main pass drawn at the file's origin),
// those whose parts are read, unbroken, and reached by no other candidate
// and by none of the others (every other entity the main pass maps); none
// where their parts are fewer than minParts. parts counts the entities in
// what is returned.
std::vector<Entity> IndependentBreps(const MapContext& ctx, const std::vector<Entity>& candidates,
                                     const std::vector<Entity>& others, const PartsOf& partsOf, size_t minParts,
                                     size_t& parts);

// Runs transfer for every entity in as many worker processes and gathers
// the B-reps of those for which it returned true.
AheadBreps TransferInWorkers(const MapContext& ctx, const std::vector<Entity>& entities, size_t workers,
                             const std::function<bool(const Entity&, model::BrepT&)>& transfer);

}  // namespace kelv::iges
