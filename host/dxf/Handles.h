#pragma once
// Handles of one DXF file. Every object the file holds, from the database or
// made up by the writer (table heads, dictionaries, layouts), gets its handle
// here on first use, so that an owner can name a child before the child is
// written and the other way round.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "dxf/GroupWriter.h"

namespace arxhost::dxf {

class Handles {
 public:
  // The handle of a named object, allocated on first use.
  Handle of(std::string_view key) {
    auto [it, added] = byKey_.try_emplace(std::string(key), next_);
    if (added) ++next_;
    return it->second;
  }
  // The handle of a database object, allocated on first use from the same
  // sequence as the named ones.
  Handle ofObject(std::uint64_t id) {
    auto [it, added] = byObject_.try_emplace(id, next_);
    if (added) ++next_;
    return it->second;
  }
  // A handle for an object nobody else refers to.
  Handle fresh() { return next_++; }
  // The first handle not used: $HANDSEED.
  Handle seed() const { return next_; }

 private:
  std::unordered_map<std::string, Handle> byKey_;
  std::unordered_map<std::uint64_t, Handle> byObject_;
  Handle next_ = 1;
};

}  // namespace arxhost::dxf
