#pragma once
// The title window (TForm5), the program's main window: the opening movie, the title picture and
// the line menu, drawn from the TitleMenu model, with the status line that shows the loading of a
// drive. A click on a train hands the drive to the program (trainClicked); the window itself
// stays until the program ends.
//
// Thread contract: GUI thread only.
#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "core/front/title_menu.h"
#include "core/ports/mixer.h"
#include "core/ports/movie_reader.h"
#include "core/ports/user_dialogs.h"

class QLabel;
class QTimer;

namespace kestrel {

// The title sounds play on the mixer's last channel, which a drive's sounds do not reach in
// practice (its own channels run from 0 upwards).
inline constexpr int kTitleSoundChannel = Mixer::kChannelCount - 1;

struct TitleWindowPorts {
  Mixer& mixer;
  MovieReader& opening;  // the opening movie's reader, used by this window alone
  UserDialogs& dialogs;
  // The opening movie's soundtrack loaded into the mixer; nullopt when the movie has none (or
  // when this is not set).
  std::function<std::optional<WaveId>(const std::filesystem::path& movie)> soundtrack;
};

class TitleWindow final : public QWidget {
  Q_OBJECT

 public:
  TitleWindow(std::filesystem::path programDirectory, TitleWindowPorts ports, int titlePicture,
              QWidget* parent = nullptr);

  // FormCreate from step 3 on: the opening window, the title timer and the opening movie (or,
  // without one, the fallback sound on the first tick).
  void startOpening();
  // A drive given on the command line: straight to the menu, where the drive returns.
  void skipToMenu();

  // Train click, step 3 on: the status line appears, shows each text at once, and goes again.
  void beginLoading();
  void showStatus(std::string_view text);
  void endLoading();
  // After the drive: the shift flag cleared, the window shown again as it was left.
  void afterDrive();

  const TitleMenu& menu() const { return *menu_; }
  QLabel* image(TitleImage image) const { return images_[static_cast<size_t>(image)]; }
  QLabel* statusLine() const { return status_; }
  bool openingMoviePlaying() const;

 Q_SIGNALS:
  void trainClicked(kestrel::SessionChoice choice);
  // The menu's "Replay…" and "Ghost…" buttons: a recorded drive to play, or to race against.
  void replayClicked();
  void ghostClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void titleTimer();
  void imageClick();
  void trainClick(TitleImage train);
  void backClick();
  void quitClick();
  void helpClick();
  void refresh();
  void setClientSize(int width, int height);
  void playSound(std::string_view name);
  void nextOpeningFrame();
  void stopOpeningMovie();
  QPixmap picture(std::string_view name) const;
  static TitleImage trainImage(size_t i) {
    return static_cast<TitleImage>(static_cast<int>(TitleImage::Train1) + static_cast<int>(i));
  }

  std::filesystem::path dir_;
  TitleWindowPorts ports_;
  std::unique_ptr<TitleMenu> menu_;
  int titlePicture_;
  std::array<QLabel*, kTitleImageCount> images_{};
  std::string shownBackground_ = "-";
  TitleSize pictureSize_ = kTitleSize;   // of the picture shown, which the window takes in the menu
  std::array<QPixmap, 3> trainButtons_;  // the train pictures as the content has them
  QString shownPick_;                    // the picked vehicle file the buttons name
  QLabel* status_ = nullptr;
  QWidget* recordingButtons_ = nullptr;  // "Replay…" and "Ghost…", shown with the menu
  QTimer* timer_ = nullptr;
  QTimer* movieTimer_ = nullptr;
  QElapsedTimer movieClock_;  // since the opening movie started: its pictures follow the soundtrack
  int movieFrame_ = -1;       // the frame shown last
};

}  // namespace kestrel
