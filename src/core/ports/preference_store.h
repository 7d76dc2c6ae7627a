#pragma once
// Port: per-user preferences, a registry-like store of keys holding named 32-bit integers and
// strings. Keys are paths such as "Software\\Railvane\\kestrel".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kestrel {

class PreferenceKey {
 public:
  virtual ~PreferenceKey() = default;
  // nullopt when the value is missing or of the other type.
  virtual std::optional<int32_t> readInt(const std::string& name) = 0;
  virtual std::optional<std::string> readString(const std::string& name) = 0;
  // False when the write failed.
  virtual bool writeInt(const std::string& name, int32_t value) = 0;
  virtual bool writeString(const std::string& name, const std::string& value) = 0;
};

class PreferenceStore {
 public:
  virtual ~PreferenceStore() = default;
  // Opens the key, creating it when missing; nullptr when it cannot be opened.
  virtual std::unique_ptr<PreferenceKey> openKey(const std::string& path) = 0;
};

}  // namespace kestrel
