#pragma once
// A model file read whole into memory and verified before any field is
// read; afterwards its tables are safe to walk.
#include <cstdint>
#include <string>
#include <vector>

#include "ModelFormat.h"
#include "Uuid.h"

namespace kelv::model {

class ModelFile {
 public:
  // Reads the file at nativePath. On failure returns false and sets error
  // to a sentence naming the file (as displayName) and the reason.
  bool Open(const std::string& nativePath, const std::string& displayName, std::string& error);
  // Verifies a buffer already in memory (the bytes are copied).
  bool OpenBuffer(const uint8_t* data, size_t size, const std::string& displayName, std::string& error);
  // Verifies bytes[offset, end), taking the string over without a copy.
  bool OpenOwned(std::string bytes, size_t offset, const std::string& displayName, std::string& error);
  void Close();

  bool IsOpen() const { return root_ != nullptr; }
  const Model* Root() const { return root_; }

  // -1 when no record has the id. The first of duplicate ids wins.
  int ObjectIndex(const Uuid& id) const;
  int InstanceDefinitionIndex(const Uuid& id) const;

 private:
  // Record indices by uuid in one flat table of slots (index + 1, 0 when
  // free), probed linearly: the uuids stay in the buffer, so a model of
  // millions of objects costs four bytes a slot and no allocation per record.
  class UuidIndex {
   public:
    template <class IdAt>
    void Build(size_t count, const IdAt& idAt);
    template <class IdAt>
    int Find(const Uuid& id, const IdAt& idAt) const;
    void Clear() { std::vector<uint32_t>().swap(slots_); }

   private:
    std::vector<uint32_t> slots_;
  };

  bool Verify(const std::string& displayName, std::string& error);
  const Uuid* ObjectIdAt(size_t i) const;
  const Uuid* DefinitionIdAt(size_t i) const;

  std::string storage_;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  const Model* root_ = nullptr;
  UuidIndex objects_;
  UuidIndex definitions_;
};

}  // namespace kelv::model
