#pragma once
// Where the keys of the program's small windows go: the cab window of the drive in progress. The
// help and easy cab windows forward their key presses and typed characters, and the easy cab's
// buttons post characters, through one DriveKeys; with no drive in progress they go nowhere.
#include <QKeyEvent>

namespace kestrel {

class DriveKeyTarget {
 public:
  virtual ~DriveKeyTarget() = default;
  virtual void driveKeyPressed(const QKeyEvent& event) = 0;
  virtual void driveKeyReleased(const QKeyEvent& event) = 0;
  // A character posted to the cab window (a button of the easy cab).
  virtual void drivePost(char32_t character) = 0;
  // The reverser's position, for the easy cab's reverser button.
  virtual int32_t driveReverser() const = 0;
};

class DriveKeys {
 public:
  void setTarget(DriveKeyTarget* target) { target_ = target; }
  DriveKeyTarget* target() const { return target_; }

  void pressed(const QKeyEvent& e) {
    if (target_) target_->driveKeyPressed(e);
  }
  void released(const QKeyEvent& e) {
    if (target_) target_->driveKeyReleased(e);
  }
  void post(char32_t c) {
    if (target_) target_->drivePost(c);
  }

 private:
  DriveKeyTarget* target_ = nullptr;
};

// For a window that forwards its keys: true when the event was a key handed to the drive.
inline bool forwardDriveKey(DriveKeys& keys, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    keys.pressed(static_cast<const QKeyEvent&>(*event));
    return true;
  }
  if (event->type() == QEvent::KeyRelease) {
    keys.released(static_cast<const QKeyEvent&>(*event));
    return true;
  }
  return false;
}

}  // namespace kestrel
