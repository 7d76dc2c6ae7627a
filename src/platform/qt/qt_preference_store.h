#pragma once
// PreferenceStore on QSettings. A key path "Software\<Organisation>\<Application>" is the
// QSettings of that organisation and application in the user scope: on Windows the registry key
// of that name under HKEY_CURRENT_USER, elsewhere an INI file under the user's configuration
// directory ($XDG_CONFIG_HOME/<Organisation>/<Application>.conf). Given a file instead, each key
// is the group of that one INI file named after its application (kestrel-run --prefs).
//
// Thread contract: the thread that owns the drive. Every write is synced at once, so that a
// failure to write is seen by the caller and a crash loses nothing; the file is replaced whole (a
// new file renamed over the old one), never half written. A file that exists but cannot be read
// whole (unreadable, or not an INI file) cannot be opened as a key for the rest of the run: the
// preferences keep their defaults, saves report that they could not save, and the file is left as
// it is.
#include <QSet>
#include <QString>
#include <optional>

#include "core/ports/preference_store.h"

namespace kestrel {

class QtPreferenceStore final : public PreferenceStore {
 public:
  QtPreferenceStore() = default;
  explicit QtPreferenceStore(const QString& iniFile) : iniFile_(iniFile) {}

  std::unique_ptr<PreferenceKey> openKey(const std::string& path) override;

 private:
  std::optional<QString> iniFile_;
  QSet<QString> faultyFiles_;
};

}  // namespace kestrel
