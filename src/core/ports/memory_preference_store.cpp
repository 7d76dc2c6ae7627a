#include "core/ports/memory_preference_store.h"

namespace kestrel {

class MemoryPreferenceKey final : public PreferenceKey {
 public:
  MemoryPreferenceKey(MemoryPreferenceStore& store, std::string path) : store_(store), path_(std::move(path)) {}

  std::optional<int32_t> readInt(const std::string& name) override {
    auto v = read(name);
    if (!v || !std::holds_alternative<int32_t>(*v)) return std::nullopt;
    return std::get<int32_t>(*v);
  }
  std::optional<std::string> readString(const std::string& name) override {
    auto v = read(name);
    if (!v || !std::holds_alternative<std::string>(*v)) return std::nullopt;
    return std::get<std::string>(*v);
  }
  bool writeInt(const std::string& name, int32_t value) override { return write(name, value); }
  bool writeString(const std::string& name, const std::string& value) override { return write(name, value); }

 private:
  std::optional<MemoryPreferenceStore::Value> read(const std::string& name) const {
    if (store_.failRead_.count({path_, name})) return std::nullopt;
    return store_.get(path_, name);
  }
  bool write(const std::string& name, MemoryPreferenceStore::Value value) {
    if (store_.failWrites_) return false;
    store_.keys_[path_][name] = std::move(value);
    return true;
  }

  MemoryPreferenceStore& store_;
  std::string path_;
};

std::unique_ptr<PreferenceKey> MemoryPreferenceStore::openKey(const std::string& path) {
  if (failOpen_.count(path)) return nullptr;
  keys_[path];  // created when missing, like the registry
  return std::make_unique<MemoryPreferenceKey>(*this, path);
}

void MemoryPreferenceStore::set(const std::string& path, const std::string& name, Value value) {
  keys_[path][name] = std::move(value);
}

std::optional<MemoryPreferenceStore::Value> MemoryPreferenceStore::get(const std::string& path,
                                                                        const std::string& name) const {
  auto key = keys_.find(path);
  if (key == keys_.end()) return std::nullopt;
  auto value = key->second.find(name);
  if (value == key->second.end()) return std::nullopt;
  return value->second;
}

}  // namespace kestrel
