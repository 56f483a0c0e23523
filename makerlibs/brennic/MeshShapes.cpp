#include "MeshShapes.h"

#include <TopExp_Explorer.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_TShape.hxx>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <numeric>
#include <thread>
#include <unordered_map>

namespace brennic {
namespace {

size_t Root(std::vector<size_t>& parent, size_t i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// What a worker leaves for the calling thread.
struct Slot {
  bool done = false;
  std::string bytes;
  size_t triangles = 0;
  std::exception_ptr failure;
};

class ConcurrentMesher {
 public:
  ConcurrentMesher(std::span<const TopoDS_Shape> shapes, std::vector<std::vector<size_t>> groups,
                   const TriangleEncoder& encode, unsigned threads, bool parallelFaces)
      : shapes_(shapes),
        groups_(std::move(groups)),
        encode_(encode),
        parallelFaces_(parallelFaces),
        slots_(shapes.size()) {
    for (auto& slot : slots_) slot.done = true;
    for (const auto& group : groups_)
      for (size_t i : group) slots_[i].done = false;
    try {
      for (unsigned t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
    } catch (const std::exception&) {
      // Those that started do the work; none started, the caller does.
    }
  }
  ConcurrentMesher(const ConcurrentMesher&) = delete;
  ConcurrentMesher& operator=(const ConcurrentMesher&) = delete;
  // Also on the way out of a failure: the workers finish the shape they are
  // at and take no other.
  ~ConcurrentMesher() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      stop_ = true;
    }
    for (auto& worker : workers_) worker.join();
  }

  bool Started() const { return !workers_.empty(); }

  // The slot of the shape at index once it is done; the failure is thrown.
  Slot& Wait(size_t index) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [&] { return slots_[index].done; });
    if (slots_[index].failure) std::rethrow_exception(slots_[index].failure);
    return slots_[index];
  }

 private:
  void Work() {
    std::vector<Triangle> triangles;
    for (;;) {
      size_t g = 0;
      {
        std::lock_guard<std::mutex> hold(lock_);
        if (stop_ || next_ >= groups_.size()) return;
        g = next_++;
      }
      for (size_t index : groups_[g]) {
        Slot made;
        try {
          triangles.clear();
          AppendShapeTriangles(shapes_[index], triangles, parallelFaces_);
          if (!triangles.empty()) encode_(index, triangles, made.bytes);
          made.triangles = triangles.size();
        } catch (...) {
          made.failure = std::current_exception();
        }
        made.done = true;
        const bool failed = static_cast<bool>(made.failure);
        std::lock_guard<std::mutex> hold(lock_);
        slots_[index] = std::move(made);
        changed_.notify_all();
        // The rest of the group is never asked for: the caller stops here.
        if (failed || stop_) break;
      }
    }
  }

  std::span<const TopoDS_Shape> shapes_;
  const std::vector<std::vector<size_t>> groups_;
  const TriangleEncoder& encode_;
  const bool parallelFaces_;
  std::vector<Slot> slots_;
  std::mutex lock_;
  std::condition_variable changed_;
  size_t next_ = 0;
  bool stop_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace

std::vector<std::vector<size_t>> IndependentGroups(std::span<const TopoDS_Shape> shapes) {
  std::vector<size_t> parent(shapes.size());
  std::iota(parent.begin(), parent.end(), size_t{0});
  std::vector<bool> meshed(shapes.size(), false);
  // Each sub-shape to the shape that met it first; what lies below it was
  // met by that shape too, so it is walked once.
  std::unordered_map<const TopoDS_TShape*, size_t> owner;
  std::vector<TopoDS_Shape> open;
  for (size_t i = 0; i < shapes.size(); ++i) {
    if (shapes[i].IsNull() || !TopExp_Explorer(shapes[i], TopAbs_FACE).More()) continue;
    meshed[i] = true;
    open.assign(1, shapes[i]);
    while (!open.empty()) {
      const TopoDS_Shape shape = std::move(open.back());
      open.pop_back();
      const auto [at, first] = owner.emplace(shape.TShape().get(), i);
      if (!first) {
        const size_t a = Root(parent, at->second), b = Root(parent, i);
        parent[std::max(a, b)] = std::min(a, b);
        continue;
      }
      for (TopoDS_Iterator members(shape, false, false); members.More(); members.Next())
        open.push_back(members.Value());
    }
  }
  std::vector<std::vector<size_t>> groups;
  std::vector<size_t> groupOf(shapes.size(), SIZE_MAX);
  for (size_t i = 0; i < shapes.size(); ++i) {
    if (!meshed[i]) continue;
    size_t& g = groupOf[Root(parent, i)];
    if (g == SIZE_MAX) {
      g = groups.size();
      groups.emplace_back();
    }
    groups[g].push_back(i);
  }
  return groups;
}

bool MeshShapesInOrder(std::span<const TopoDS_Shape> shapes, const TriangleEncoder& encode,
                       const EncodedTaker& take) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const auto plainLoop = [&] {
    std::vector<Triangle> triangles;
    std::string bytes;
    for (size_t index = 0; index < shapes.size(); ++index) {
      triangles.clear();
      bytes.clear();
      AppendShapeTriangles(shapes[index], triangles);
      if (!triangles.empty()) encode(index, triangles, bytes);
      if (!take(index, bytes, triangles.size())) return false;
    }
    return true;
  };
  // Nothing to run beside anything else; a single shape with faces needs
  // no walk over what it shares.
  const auto withFaces = std::count_if(shapes.begin(), shapes.end(), [](const TopoDS_Shape& shape) {
    return !shape.IsNull() && TopExp_Explorer(shape, TopAbs_FACE).More();
  });
  if (withFaces < 2 || cores < 2) return plainLoop();
  std::vector<std::vector<size_t>> groups = IndependentGroups(shapes);
  if (groups.size() < 2) return plainLoop();
  const auto threads = static_cast<unsigned>(std::min<size_t>(cores, groups.size()));
  // With a group for every core, more threads for the faces of one shape
  // would only take turns with them.
  const bool parallelFaces = groups.size() < cores;
  ConcurrentMesher mesher(shapes, std::move(groups), encode, threads, parallelFaces);
  if (!mesher.Started()) return plainLoop();
  for (size_t index = 0; index < shapes.size(); ++index) {
    Slot& slot = mesher.Wait(index);
    const bool kept = take(index, slot.bytes, slot.triangles);
    std::string().swap(slot.bytes);
    if (!kept) return false;
  }
  return true;
}

}  // namespace brennic
