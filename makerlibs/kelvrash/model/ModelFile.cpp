#include "ModelFile.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace kelv::model {

namespace {

// FlatBuffers addresses at most 2 GiB.
constexpr uint64_t kMaxFileSize = 0x7FFFFFFEull;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

// Every bit of the uuid reaches the low bits that pick a slot, so that ids
// differing in a few bytes anywhere do not pile up in one run of slots.
size_t SlotHash(const Uuid& id) {
  uint64_t lo, hi;
  std::memcpy(&lo, id.bytes()->Data(), 8);
  std::memcpy(&hi, id.bytes()->Data() + 8, 8);
  uint64_t h = lo ^ std::rotl(hi * 0x9E3779B97F4A7C15ull, 31);
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return static_cast<size_t>(h);
}

}  // namespace

template <class IdAt>
void ModelFile::UuidIndex::Build(size_t count, const IdAt& idAt) {
  size_t capacity = 16;
  while (capacity < 2 * count) capacity *= 2;
  slots_.assign(capacity, 0);
  const size_t mask = capacity - 1;
  for (size_t i = 0; i < count; ++i) {
    const Uuid* id = idAt(i);
    if (!id) continue;
    for (size_t s = SlotHash(*id) & mask;; s = (s + 1) & mask) {
      if (slots_[s] == 0) {
        slots_[s] = static_cast<uint32_t>(i + 1);
        break;
      }
      if (*idAt(slots_[s] - 1) == *id) break;  // the first of equal ids keeps the slot
    }
  }
}

template <class IdAt>
int ModelFile::UuidIndex::Find(const Uuid& id, const IdAt& idAt) const {
  if (slots_.empty()) return -1;
  const size_t mask = slots_.size() - 1;
  for (size_t s = SlotHash(id) & mask; slots_[s] != 0; s = (s + 1) & mask)
    if (*idAt(slots_[s] - 1) == id) return static_cast<int>(slots_[s] - 1);
  return -1;
}

const Uuid* ModelFile::ObjectIdAt(size_t i) const {
  const Object* o = root_->objects()->Get(static_cast<flatbuffers::uoffset_t>(i));
  return o && o->attributes() ? o->attributes()->uuid() : nullptr;
}

const Uuid* ModelFile::DefinitionIdAt(size_t i) const {
  const InstanceDefinition* d = root_->instance_definitions()->Get(static_cast<flatbuffers::uoffset_t>(i));
  return d ? d->uuid() : nullptr;
}

bool ModelFile::Open(const std::string& nativePath, const std::string& displayName, std::string& error) {
  Close();
  struct stat st {};
  if (::stat(nativePath.c_str(), &st) != 0) {
    error = "The model file '" + displayName + "' does not exist.";
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = "The model file '" + displayName + "' is not a regular file.";
    return false;
  }
  if (static_cast<uint64_t>(st.st_size) > kMaxFileSize) {
    error = "The file '" + displayName + "' is too large to be a model file.";
    return false;
  }
  std::unique_ptr<FILE, FileCloser> file(std::fopen(nativePath.c_str(), "rb"));
  if (!file) {
    error = "The model file '" + displayName + "' cannot be opened (" + std::strerror(errno) + ").";
    return false;
  }
  storage_.resize(static_cast<size_t>(st.st_size));
  size_t got = storage_.empty() ? 0 : std::fread(storage_.data(), 1, storage_.size(), file.get());
  if (got != storage_.size()) {
    error = "The model file '" + displayName + "' cannot be read completely.";
    Close();
    return false;
  }
  data_ = reinterpret_cast<const uint8_t*>(storage_.data());
  size_ = storage_.size();
  return Verify(displayName, error);
}

bool ModelFile::OpenBuffer(const uint8_t* data, size_t size, const std::string& displayName, std::string& error) {
  Close();
  storage_.assign(reinterpret_cast<const char*>(data), size);
  data_ = reinterpret_cast<const uint8_t*>(storage_.data());
  size_ = storage_.size();
  return Verify(displayName, error);
}

bool ModelFile::OpenOwned(std::string bytes, size_t offset, const std::string& displayName, std::string& error) {
  Close();
  if (offset > bytes.size()) offset = bytes.size();
  storage_ = std::move(bytes);
  data_ = reinterpret_cast<const uint8_t*>(storage_.data()) + offset;
  size_ = storage_.size() - offset;
  return Verify(displayName, error);
}

bool ModelFile::Verify(const std::string& displayName, std::string& error) {
  auto refuse = [&](const std::string& text) {
    error = text;
    Close();
    return false;
  };
  if (size_ < 8 || !ModelBufferHasIdentifier(data_))
    return refuse("The file '" + displayName + "' is not a model file.");
  flatbuffers::Verifier::Options options;
  options.max_depth = 64;
  options.max_tables = 1u << 30;
  flatbuffers::Verifier verifier(data_, size_, options);
  if (!VerifyModelBuffer(verifier))
    return refuse("The model file '" + displayName + "' is damaged or truncated.");
  const Model* root = GetModel(data_);
  if (root->version() != kModelVersion)
    return refuse("The model file '" + displayName + "' has format version " + std::to_string(root->version()) +
                  "; this reader reads version " + std::to_string(kModelVersion) + ".");
  root_ = root;
  if (auto* objects = root_->objects())
    objects_.Build(objects->size(), [this](size_t i) { return ObjectIdAt(i); });
  if (auto* defs = root_->instance_definitions())
    definitions_.Build(defs->size(), [this](size_t i) { return DefinitionIdAt(i); });
  return true;
}

void ModelFile::Close() {
  root_ = nullptr;
  std::string().swap(storage_);
  data_ = nullptr;
  size_ = 0;
  objects_.Clear();
  definitions_.Clear();
}

int ModelFile::ObjectIndex(const Uuid& id) const {
  if (!root_ || !root_->objects()) return -1;
  return objects_.Find(id, [this](size_t i) { return ObjectIdAt(i); });
}

int ModelFile::InstanceDefinitionIndex(const Uuid& id) const {
  if (!root_ || !root_->instance_definitions()) return -1;
  return definitions_.Find(id, [this](size_t i) { return DefinitionIdAt(i); });
}

}  // namespace kelv::model
