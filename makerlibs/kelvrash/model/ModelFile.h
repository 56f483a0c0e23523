#pragma once
// A model file read whole into memory and verified before any field is
// read; afterwards its tables are safe to walk.
#include <cstdint>
#include <string>
#include <unordered_map>
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
  void Close();

  bool IsOpen() const { return root_ != nullptr; }
  const Model* Root() const { return root_; }

  // -1 when no record has the id. The first of duplicate ids wins.
  int ObjectIndex(const Uuid& id) const;
  int InstanceDefinitionIndex(const Uuid& id) const;

 private:
  bool Verify(const std::string& displayName, std::string& error);

  std::vector<uint8_t> bytes_;
  const Model* root_ = nullptr;
  std::unordered_map<Uuid, int, UuidHash> objects_;
  std::unordered_map<Uuid, int, UuidHash> definitions_;
};

}  // namespace kelv::model
