#pragma once
// The race against a ghost as the driver sees it over the cab view: the time difference to the
// ghost at the same place ("+3.2 s": green while ahead, red while behind), and the ghost's place on
// the remaining-distance bar as a thin line across it.
//
// Thread contract: GUI thread only.
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "core/state/drive_context.h"


namespace kestrel {

class GhostOverlay {
 public:
  // Over `view` (the cab view), whose child widgets they become.
  explicit GhostOverlay(QWidget* view);
  ~GhostOverlay();
  GhostOverlay(const GhostOverlay&) = delete;
  GhostOverlay& operator=(const GhostOverlay&) = delete;

  // After a tick: the difference (nullopt: the ghost never passed here) and the ghost's distance
  // run (nullopt: no ghost sample yet).
  void show(const DriveContext& ctx, std::optional<double> deltaS, std::optional<double> ghostDistanceCm);
  QLabel* gap() const { return gap_; }

 private:
  QPointer<QLabel> gap_;
  QPointer<QWidget> mark_;
};

}  // namespace kestrel
