#include "core/front/title_menu.h"

#include "core/util/rounding.h"

namespace kestrel {

namespace {

// Where each image stands on the 800 x 600 pictures (the movie area and the background fill the
// window from the top-left corner). The lines stand left in rows, the trains right; a line's one
// train stands on that line's row, beside the cursor (left of the clicked line), and with Shift
// the three trains stand in the three rows.
constexpr std::array<TitlePoint, kTitleImageCount> kPositions{{
    {0, 0},      // MovieArea
    {0, 0},      // Background
    {280, 410},  // StartPrompt
    {660, 540},  // Quit
    {100, 150},  // Line1
    {100, 240},  // Line2
    {100, 330},  // Line3
    {500, 150},  // Train1
    {500, 240},  // Train2
    {500, 330},  // Train3
    {0, 0},      // Cursor: placed by lineclick
    {700, 440},  // Help
    {40, 440},   // Back
}};

constexpr std::array kLineImages{TitleImage::Line1, TitleImage::Line2, TitleImage::Line3};
constexpr std::array kTrainImages{TitleImage::Train1, TitleImage::Train2, TitleImage::Train3};

int lineIndex(TitleImage image) {
  return static_cast<int>(image) - static_cast<int>(TitleImage::Line1);
}
int trainIndex(TitleImage image) {
  return static_cast<int>(image) - static_cast<int>(TitleImage::Train1);
}

}  // namespace

std::string titlePictureName(int index) {
  return "image\\title\\title0" + std::to_string(index + 1) + ".jpg";
}

int chooseTitlePicture(uint64_t seed) {
  // splitmix64: every seed spreads over all four pictures.
  uint64_t z = seed + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<int>(z % 4);
}

TitlePoint openingWindowPosition(TitleSize screen) {
  return {roundHalfEven((screen.width - 1000) / 2.0), roundHalfEven((screen.height - 666) / 2.0)};
}

TitlePoint centredWindowPosition(TitleSize screen, TitleSize window) {
  return {roundHalfEven((screen.width - window.width) / 2.0),
          roundHalfEven((screen.height - window.height) / 2.0)};
}

bool TitleMenu::isLine(TitleImage image) {
  return image == TitleImage::Line1 || image == TitleImage::Line2 || image == TitleImage::Line3;
}

bool TitleMenu::isTrain(TitleImage image) {
  return image == TitleImage::Train1 || image == TitleImage::Train2 || image == TitleImage::Train3;
}

TitleMenu::TitleMenu(int titlePicture, bool hasOpeningMovie)
    : titlePicture_(titlePicture), hasOpeningMovie_(hasOpeningMovie) {
  show(TitleImage::MovieArea, true);
  show(TitleImage::Background, true);
}

TitlePoint TitleMenu::position(TitleImage image) const {
  if (image == TitleImage::Cursor) return cursor_;
  if (isTrain(image) && offeredRow_) return {kPositions[index(image)].x, kPositions[index(*offeredRow_)].y};
  return kPositions[index(image)];
}

std::string TitleMenu::pickedVehicleName() const {
  return picked_ ? picked_->name : std::string();
}

std::string TitleMenu::backgroundPicture() const {
  switch (phase_) {
    case TitlePhase::Opening:
      return {};
    case TitlePhase::Title:
      return titlePictureName(titlePicture_);
    case TitlePhase::Menu:
      return std::string(kMenuPicture);
  }
  return {};
}

TitleMenu::TimerAction TitleMenu::Timer1Timer() {
  if (!timerRunning_) return TimerAction::None;
  switch (phase_) {
    case TitlePhase::Opening: {
      const int32_t before = openingTicks_++;
      if (!visible(TitleImage::MovieArea)) return TimerAction::None;
      if (!hasOpeningMovie_) return TimerAction::FallbackSoundClick;
      if (before == 1599) return TimerAction::Click;  // the 1600th tick: 160 s
      return TimerAction::None;
    }
    case TitlePhase::Menu:
      ++menuTicks_;
      show(TitleImage::Quit, false);
      if (menuTicks_ > 2) show(TitleImage::Line1, true);
      if (menuTicks_ > 3) show(TitleImage::Line2, true);
      if (menuTicks_ > 4) show(TitleImage::Line3, true);
      if (menuTicks_ > 10) show(TitleImage::Help, true);
      if (menuTicks_ > 11) {
        show(TitleImage::Back, true);
        timerRunning_ = false;
      }
      return TimerAction::None;
    case TitlePhase::Title:
      return TimerAction::None;
  }
  return TimerAction::None;
}

void TitleMenu::Imageclick() {
  switch (phase_) {
    case TitlePhase::Opening:
      // A movie still playing is not stopped here: the train click stops it.
      show(TitleImage::MovieArea, false);
      phase_ = TitlePhase::Title;
      show(TitleImage::StartPrompt, true);
      break;
    case TitlePhase::Title:
      phase_ = TitlePhase::Menu;
      timerRunning_ = true;
      show(TitleImage::Quit, false);
      show(TitleImage::StartPrompt, false);
      break;
    case TitlePhase::Menu:
      break;
  }
}

void TitleMenu::lineclick(TitleImage image) {
  if (!isLine(image) && !isTrain(image)) return;
  // Every train shows, each in its own row, until a line without Shift offers its one train.
  offeredRow_.reset();
  for (TitleImage t : kTrainImages) show(t, true);
  const TitlePoint at = position(image);
  cursor_ = {at.x - 32, at.y + 7};
  show(TitleImage::Cursor, true);
  if (!isLine(image)) return;
  const TitleEntry& line = kTitleLines[static_cast<size_t>(lineIndex(image))];
  lineFile_ = std::string(line.file);
  if (shift_) return;
  offeredRow_ = image;
  for (size_t t = 0; t < kTrainImages.size(); ++t)
    if (static_cast<int>(t) != line.offeredTrain) show(kTrainImages[t], false);
}

void TitleMenu::Menumousedown(TitleImage image, const std::optional<std::string>& chosenFile) {
  if (!isLine(image) && !isTrain(image)) return;
  // A cancelled dialog changes nothing: the press was meant for the file, not for the line.
  if (!chosenFile) return;
  const size_t cut = chosenFile->find_last_of("\\/");
  if (cut == std::string::npos)
    picked_ = Picked{std::string(), *chosenFile};
  else
    picked_ = Picked{chosenFile->substr(0, cut + 1), chosenFile->substr(cut + 1)};
  lineclick(image);
}

SessionChoice TitleMenu::Trainclick(TitleImage train, const std::filesystem::path& programDirectory) {
  SessionChoice choice;
  choice.programDirectory = programDirectory;
  choice.lineFileName = lineFile_;
  if (picked_) {
    choice.vehicleDirectory = picked_->folder;
    choice.vehicleFileName = picked_->name;
  } else if (isTrain(train)) {
    choice.vehicleFileName = std::string(kTitleTrains[static_cast<size_t>(trainIndex(train))].file);
  }
  picked_.reset();
  return choice;
}

void TitleMenu::backclick() {
  phase_ = TitlePhase::Title;
  for (TitleImage l : kLineImages) show(l, false);
  for (TitleImage t : kTrainImages) show(t, false);
  show(TitleImage::Help, false);
  show(TitleImage::Cursor, false);
  show(TitleImage::Back, false);
  offeredRow_.reset();
  show(TitleImage::StartPrompt, true);
  show(TitleImage::Quit, true);
}

void TitleMenu::keyDown(bool shiftAlone) {
  if (shiftAlone) shift_ = true;
}

}  // namespace kestrel
