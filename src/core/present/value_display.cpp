#include "core/present/value_display.h"

#include <algorithm>

#include "core/util/number_parse.h"

namespace kestrel {

void ValueDisplay::update(const DriveContext& ctx) {
  const TrainState& t = ctx.train;
  const SignalState& s = t.signals;
  // The messages logged since the last tick are the newest of the list (as many as it still holds).
  const uint64_t fresh = s.messagesLogged >= messagesSeen_ ? s.messagesLogged - messagesSeen_ : 0;
  const size_t take = static_cast<size_t>(std::min<uint64_t>(fresh, s.messages.size()));
  for (auto it = s.messages.end() - static_cast<std::ptrdiff_t>(take); it != s.messages.end(); ++it)
    addMemoLine(*it);
  messagesSeen_ = s.messagesLogged;
  if (t.noticeText != noticeSeen_) {
    noticeSeen_ = t.noticeText;
    if (!t.texts.message.empty()) addMemoLine(t.texts.message);
  }

  if (!ctx.keys.valueDisplayVisible) return;
  texts_ = valueDisplayTexts(ctx, rateSource_ ? rateSource_() : 0);
  ++revision_;
}

std::string ValueDisplay::caption(const DriveContext& ctx) const {
  std::string text = ctx.keys.serialCommandText;
  std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
  return text;
}

void ValueDisplay::addMemoLine(std::string line) {
  memo_.push_back(std::move(line));
  while (memo_.size() > kPendingMemoLines) memo_.pop_front();
}

std::vector<std::string> ValueDisplay::takeMemoLines() {
  std::vector<std::string> lines(std::make_move_iterator(memo_.begin()),
                                 std::make_move_iterator(memo_.end()));
  memo_.clear();
  return lines;
}

void sc(Mixer& mixer, int channel) {
  mixer.stop(channel);
}

std::optional<std::string> Button2Click(DriveContext& ctx, std::string_view text) {
  // Blanks around the number are invisible in the edit field; they do not make it another number.
  std::string_view number = text;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!number.empty() && blank(number.back())) number.remove_suffix(1);
  while (!number.empty() && blank(number.front())) number.remove_prefix(1);
  const auto frame = parseInt(number);
  if (!frame) return "'" + std::string(text) + "' is not a valid integer value";
  ctx.train.MovieFrame = *frame;
  return std::nullopt;
}

bool Button3Click(DriveContext& ctx) {
  ctx.keys.resistanceOff = !ctx.keys.resistanceOff;
  return ctx.keys.resistanceOff;
}

}  // namespace kestrel
