#pragma once
// The title window's state (TForm5) without the window: the three phases, the opening and menu
// reveal counters, the shift flag, which images are visible and where they stand, the line and
// train choice and the vehicle file picked with the right mouse button. The window shows what
// this model says and feeds it the timer, clicks and keys.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/front/session_choice.h"

namespace kestrel {

inline constexpr std::string_view kApplicationTitle = "鉄道運転シミュレータ";
inline constexpr std::string_view kOpeningMovieFailed = "オープニングムービーを開けません";
inline constexpr std::string_view kStatusCreatingForm = "Formを作成しています";
inline constexpr std::string_view kPickVehicleTitle = "この路線を任意の列車で運転することができます";
inline constexpr std::string_view kPickVehicleFilter = "列車データファイル (*.dat)|*.dat";

inline constexpr std::string_view kOpeningMovie = "move\\opening.avi";
inline constexpr std::string_view kOpeningFallbackSound = "sound\\46807.wav";
inline constexpr std::string_view kStartSound = "sound\\start.wav";
inline constexpr std::string_view kMenuPicture = "image\\title\\title2.jpg";
inline constexpr std::string_view kReadme = "readme.html";
// What the "?" image says, after kReadme, when the document is missing or nothing can show it.
inline constexpr std::string_view kReadmeMissing = "が見つかりません";
inline constexpr std::string_view kReadmeNoViewer = "を開くプログラムが見つかりません";

enum class TitlePhase { Opening, Title, Menu };

// The title window's pictures and buttons, each a picture of its own.
enum class TitleImage {
  MovieArea,
  Background,  // the title picture, later the menu picture
  StartPrompt,
  Quit,
  Line1,
  Line2,
  Line3,
  Train1,
  Train2,
  Train3,
  Cursor,
  Help,
  Back,
};
inline constexpr int kTitleImageCount = 13;

struct TitlePoint {
  int32_t x = 0, y = 0;
};
struct TitleSize {
  int32_t width = 0, height = 0;
};

// The opening window and its movie area; the window of the title and menu pictures.
inline constexpr TitleSize kOpeningSize{640, 360};
inline constexpr TitleSize kTitleSize{800, 600};
// The status line below the picture: the client area grows by its height while a drive loads
// (from 600 to 618 on the 800 x 600 menu picture).
inline constexpr int32_t kStatusLineHeight = 18;

// The picture file of each line and train image, the line file a line selects, the vehicle file
// a train runs, and the one train each line offers without Shift (an index into the trains).
struct TitleEntry {
  std::string_view picture;
  std::string_view file;
  int offeredTrain;  // lines only
};
inline constexpr std::array<TitleEntry, 3> kTitleLines{{
    {"image\\title\\line01.bmp", "line_exp.dat", 2},
    {"image\\title\\line02.bmp", "line_rapid.dat", 0},
    {"image\\title\\line03.bmp", "line_local.dat", 1},
}};
inline constexpr std::array<TitleEntry, 3> kTitleTrains{{
    {"image\\title\\train1.bmp", "train_313-1000_8cars.dat", -1},
    {"image\\title\\train2.bmp", "train_313-1000_10cars.dat", -1},
    {"image\\title\\train3.bmp", "train_383.dat", -1},
}};

// "image\title\title01.jpg" .. "title04.jpg" for index 0 .. 3.
std::string titlePictureName(int index);
// One of the four title pictures with equal probability, from a seed taken from the clock.
int chooseTitlePicture(uint64_t seed);

// Where the window stands: the opening window at ((screen - 1000) / 2, (screen - 666) / 2), the
// title window centred; halves rounded to even.
TitlePoint openingWindowPosition(TitleSize screen);
TitlePoint centredWindowPosition(TitleSize screen, TitleSize window);

class TitleMenu {
 public:
  // What a timer tick asks of the window.
  enum class TimerAction {
    None,
    Click,              // act as a click on the movie area (Imageclick)
    FallbackSoundClick  // no opening movie: play kOpeningFallbackSound, then act as a click
  };

  // FormCreate: the opening phase with the movie area alone visible and the title timer running.
  // `hasOpeningMovie`: the opening movie was found and handed to the player (even if it then
  // failed to play; the phase goes on until a click or the time limit).
  TitleMenu(int titlePicture, bool hasOpeningMovie);

  TitlePhase phase() const { return phase_; }
  bool visible(TitleImage image) const { return visible_[index(image)]; }
  TitlePoint position(TitleImage image) const;
  TitleSize windowSize() const { return phase_ == TitlePhase::Opening ? kOpeningSize : kTitleSize; }
  // The picture the background image shows: none in the opening, the title picture, the menu picture.
  std::string backgroundPicture() const;
  bool timerRunning() const { return timerRunning_; }
  int32_t openingTicks() const { return openingTicks_; }
  int32_t menuRevealTicks() const { return menuTicks_; }
  bool shiftFlag() const { return shift_; }
  const std::string& lineFileName() const { return lineFile_; }
  // The vehicle picked in the file dialog, waiting for the next train click, and its file name
  // (empty when none is picked).
  bool hasPickedVehicle() const { return picked_.has_value(); }
  std::string pickedVehicleName() const;

  // The 100 ms title timer (Timer1Timer).
  TimerAction Timer1Timer();
  // A click on the title picture, the start prompt or the movie area.
  void Imageclick();
  // A left click on a line or train image.
  void lineclick(TitleImage image);
  // The file dialog's answer to a right button press on a line or train image. A chosen file is
  // split at its last path separator into folder and name and kept as the picked vehicle, then the
  // press counts as a left click on the same image; a cancelled dialog (nullopt) changes nothing.
  void Menumousedown(TitleImage image, const std::optional<std::string>& chosenFile);
  // A click on a train image: the choice of the drive. The picked vehicle, when there is one,
  // wins over the clicked train and is used up.
  SessionChoice Trainclick(TitleImage train, const std::filesystem::path& programDirectory);
  // The back image: the title picture again, with the start prompt and the quit image.
  void backclick();
  // Keys on the title window: Shift alone sets the flag, any release clears it.
  void keyDown(bool shiftAlone);
  void keyUp() { shift_ = false; }
  // After every drive.
  void afterDrive() { shift_ = false; }

  static bool isLine(TitleImage image);
  static bool isTrain(TitleImage image);

 private:
  static size_t index(TitleImage image) { return static_cast<size_t>(image); }
  void show(TitleImage image, bool on) { visible_[index(image)] = on; }

  TitlePhase phase_ = TitlePhase::Opening;
  std::array<bool, kTitleImageCount> visible_{};
  int titlePicture_;
  bool hasOpeningMovie_;
  bool timerRunning_ = true;
  int32_t openingTicks_ = 0;
  int32_t menuTicks_ = 0;  // set to 0 once, never reset
  bool shift_ = false;
  std::string lineFile_;
  TitlePoint cursor_;
  // The line whose row the one offered train stands on; none with Shift or before a line click.
  std::optional<TitleImage> offeredRow_;
  struct Picked {
    std::string folder, name;
  };
  std::optional<Picked> picked_;
};

}  // namespace kestrel
