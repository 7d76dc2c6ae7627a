#include "platform/qt/qt_preference_store.h"

#include <QSettings>
#include <QStringList>

namespace kestrel {

namespace {

class QtPreferenceKey final : public PreferenceKey {
 public:
  explicit QtPreferenceKey(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

  std::optional<int32_t> readInt(const std::string& name) override {
    const QVariant v = settings_->value(QString::fromStdString(name));
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    const int value = v.toString().toInt(&ok);  // an INI file holds every value as text
    if (!ok) return std::nullopt;
    return value;
  }
  std::optional<std::string> readString(const std::string& name) override {
    const QVariant v = settings_->value(QString::fromStdString(name));
    if (!v.isValid()) return std::nullopt;
    // Text with commas may come back from an INI file as a list: join it again.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(',')).toStdString();
    return v.toString().toStdString();
  }
  bool writeInt(const std::string& name, int32_t value) override {
    settings_->setValue(QString::fromStdString(name), value);
    return synced();
  }
  bool writeString(const std::string& name, const std::string& value) override {
    settings_->setValue(QString::fromStdString(name), QString::fromStdString(value));
    return synced();
  }

 private:
  bool synced() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
  }
  std::unique_ptr<QSettings> settings_;
};

}  // namespace

std::unique_ptr<PreferenceKey> QtPreferenceStore::openKey(const std::string& path) {
  const QStringList parts = QString::fromStdString(path).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  std::unique_ptr<QSettings> settings;
  if (iniFile_) {
    settings = std::make_unique<QSettings>(*iniFile_, QSettings::IniFormat);
    if (parts.isEmpty()) return nullptr;
    settings->beginGroup(parts.back());  // [kestrel], [dgcontroller]
  } else if (parts.size() >= 2) {
    settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           parts[parts.size() - 2], parts.back());
  } else {
    return nullptr;
  }
  // A file that cannot be read whole is left alone: rewriting it would drop what could not be
  // read. Qt reports the fault only to the first QSettings on the file (later ones share its parse),
  // so it is remembered for the rest of the run.
  const QString file = settings->fileName();
  if (faultyFiles_.contains(file)) return nullptr;
  if (settings->status() != QSettings::NoError) {
    faultyFiles_.insert(file);
    return nullptr;
  }
  // Saves write a new file and rename it over the old one, never the old file in place.
  settings->setAtomicSyncRequired(true);
  return std::make_unique<QtPreferenceKey>(std::move(settings));
}

}  // namespace kestrel
