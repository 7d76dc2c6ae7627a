#include "tools/check/pair_check.h"

#include <algorithm>
#include <vector>

#include "core/data/line_loader.h"
#include "core/data/panel_pictures.h"
#include "core/data/settings_loader.h"
#include "core/data/vehicle_loader.h"
#include "core/front/sound_stages.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "core/util/path_lookup.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/quiet_image_libraries.h"
#include "tools/check/line_warnings.h"

namespace kestrel::check {

namespace {

namespace fs = std::filesystem;

// The Qt loader, noting every picture asked for.
class NotingPictureLoader final : public PictureLoader {
 public:
  explicit NotingPictureLoader(NamedFiles& named) : named_(named) {}
  std::optional<Picture> load(const fs::path& path) override {
    named_.insert(normalised(path));
    return qt_.load(path);
  }

 private:
  QtPictureLoader qt_;
  NamedFiles& named_;
};

bool startsWith(const std::string& s, std::string_view prefix) { return s.rfind(prefix, 0) == 0; }
bool endsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A word for the kind of a fault, from the message the loaders gave it.
std::string faultKind(const LoadFault& f) {
  const std::string& m = f.message;
  if (startsWith(m, kLineFileFault) || startsWith(m, kVehicleFileFault) || m == kStringFileFault ||
      m == kMasconMissing || m == kMasconFaulty)
    return f.line == 0 ? "unreadable" : "syntax";
  const bool imageList = std::find(kSignImageFaults.begin(), kSignImageFaults.end(), m) != kSignImageFaults.end() ||
                         std::find(kSignalImageFaults.begin(), kSignalImageFaults.end(), m) != kSignalImageFaults.end();
  if (imageList || endsWith(m, kPictureFault) || endsWith(m, kStafPictureMissing)) return "picture";
  if (m == kNotchOnDiesel || m == kEngineOnElectric || m == kTooFewBrakeSteps) return "consistency";
  return "sound";
}

}  // namespace

fs::path normalised(const fs::path& path) { return fs::absolute(path).lexically_normal(); }

std::string contentName(const fs::path& contentFolder, const fs::path& path) {
  const fs::path relative = normalised(path).lexically_relative(normalised(contentFolder));
  if (relative.empty() || *relative.begin() == "..") return path.generic_string();
  return relative.generic_string();
}

LoadedSession checkPair(const SessionChoice& choice, Findings& findings, NamedFiles& named) {
  // A first start: no stored preferences, so every value takes its default.
  MemoryPreferenceStore preferences;
  NotingPictureLoader pictures(named);
  RecordingMixer mixer;
  FaultLog log;
  LoadedSession session = [&] {
    QuietImageLibraries quiet;
    return loadSession(choice, {preferences, pictures}, nullptr, withSoundStages({}, mixer, &log), {}, &log);
  }();
  for (const LoadedWave& sound : session.sounds.loaded) named.insert(normalised(sound.path));

  const fs::path& folder = choice.programDirectory;
  for (const LoadFault& f : log.faults())
    findings.addFault({contentName(folder, f.file), f.line, f.message, faultKind(f)});

  const fs::path lineFile = lineFilePath(choice);
  std::vector<LineWarning> warnings;
  {
    QuietImageLibraries quiet;
    warnings = lineWarnings({session.line, session.settings, log.findLinesOf(lineFile), folder}, pictures);
  }
  for (LineWarning& w : warnings)
    findings.addWarning({contentName(folder, lineFile), w.line, std::move(w.message), std::move(w.kind)});
  return session;
}

}  // namespace kestrel::check
