#pragma once
// An in-memory PreferenceStore for tests and the headless runner. It starts empty (a first start)
// and can simulate the registry's failures: a key that cannot be opened, a value that cannot be
// read, a write that fails.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>

#include "core/ports/preference_store.h"

namespace kestrel {

class MemoryPreferenceStore final : public PreferenceStore {
 public:
  using Value = std::variant<int32_t, std::string>;

  std::unique_ptr<PreferenceKey> openKey(const std::string& path) override;

  // Direct access, for setting up and inspecting a test.
  void set(const std::string& path, const std::string& name, Value value);
  std::optional<Value> get(const std::string& path, const std::string& name) const;
  bool hasKey(const std::string& path) const { return keys_.count(path) != 0; }

  void failOpen(const std::string& path) { failOpen_.insert(path); }
  void failRead(const std::string& path, const std::string& name) { failRead_.insert({path, name}); }
  void failWrites(bool fail) { failWrites_ = fail; }

 private:
  friend class MemoryPreferenceKey;
  std::map<std::string, std::map<std::string, Value>> keys_;
  std::set<std::string> failOpen_;
  std::set<std::pair<std::string, std::string>> failRead_;
  bool failWrites_ = false;
};

}  // namespace kestrel
