#include "ModelFile.h"

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

}  // namespace

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
  bytes_.resize(static_cast<size_t>(st.st_size));
  size_t got = bytes_.empty() ? 0 : std::fread(bytes_.data(), 1, bytes_.size(), file.get());
  if (got != bytes_.size()) {
    error = "The model file '" + displayName + "' cannot be read completely.";
    bytes_.clear();
    return false;
  }
  return Verify(displayName, error);
}

bool ModelFile::OpenBuffer(const uint8_t* data, size_t size, const std::string& displayName, std::string& error) {
  Close();
  bytes_.assign(data, data + size);
  return Verify(displayName, error);
}

bool ModelFile::Verify(const std::string& displayName, std::string& error) {
  auto refuse = [&](const std::string& text) {
    error = text;
    bytes_.clear();
    return false;
  };
  if (bytes_.size() < 8 || !ModelBufferHasIdentifier(bytes_.data()))
    return refuse("The file '" + displayName + "' is not a model file.");
  flatbuffers::Verifier::Options options;
  options.max_depth = 64;
  options.max_tables = 1u << 30;
  flatbuffers::Verifier verifier(bytes_.data(), bytes_.size(), options);
  if (!VerifyModelBuffer(verifier))
    return refuse("The model file '" + displayName + "' is damaged or truncated.");
  const Model* root = GetModel(bytes_.data());
  if (root->version() != kModelVersion)
    return refuse("The model file '" + displayName + "' has format version " + std::to_string(root->version()) +
                  "; this reader reads version " + std::to_string(kModelVersion) + ".");
  root_ = root;
  if (auto* objects = root_->objects()) {
    for (flatbuffers::uoffset_t i = 0; i < objects->size(); ++i) {
      const Object* o = objects->Get(i);
      if (o && o->attributes() && o->attributes()->uuid())
        objects_.emplace(*o->attributes()->uuid(), static_cast<int>(i));
    }
  }
  if (auto* defs = root_->instance_definitions()) {
    for (flatbuffers::uoffset_t i = 0; i < defs->size(); ++i) {
      const InstanceDefinition* d = defs->Get(i);
      if (d && d->uuid()) definitions_.emplace(*d->uuid(), static_cast<int>(i));
    }
  }
  return true;
}

void ModelFile::Close() {
  root_ = nullptr;
  bytes_.clear();
  bytes_.shrink_to_fit();
  objects_.clear();
  definitions_.clear();
}

int ModelFile::ObjectIndex(const Uuid& id) const {
  auto it = objects_.find(id);
  return it == objects_.end() ? -1 : it->second;
}

int ModelFile::InstanceDefinitionIndex(const Uuid& id) const {
  auto it = definitions_.find(id);
  return it == definitions_.end() ? -1 : it->second;
}

}  // namespace kelv::model
