#include "core/present/overlay_layout.h"

#include "core/util/rounding.h"

namespace kestrel {

namespace {

int32_t px(double fraction, int32_t size) {
  return roundHalfEven(fraction * size);
}

struct Place {
  OverlaySlot slot;
  const std::string& text;
  int32_t x, y;
  bool shown;  // a conditional text is drawn only when it is not empty
};

class Drawer {
 public:
  Drawer(int32_t d, const TextMetrics& metrics, OverlayExtents& extents, std::vector<OverlayText>& out)
      : d_(d), metrics_(metrics), extents_(extents), out_(out) {}

  void shadow(const Place& p, int32_t size) {
    out_.push_back({p.slot, p.text, p.x + d_, p.y + d_, size, kTextBlack});
  }
  void white(const Place& p, int32_t size) {
    out_.push_back({p.slot, p.text, p.x, p.y, size, kTextWhite});
    extents_[static_cast<size_t>(p.slot)] = metrics_.measure(p.text, size);
  }

 private:
  int32_t d_;
  const TextMetrics& metrics_;
  OverlayExtents& extents_;
  std::vector<OverlayText>& out_;
};

}  // namespace

std::vector<OverlayText> layOutOverlay(const DriveContext& ctx, const Preferences& preferences, int32_t W,
                                       int32_t H, const TextMetrics& metrics, OverlayExtents& extents) {
  std::vector<OverlayText> out;
  Drawer draw(px(0.002, W), metrics, extents, out);
  const TrainState& t = ctx.train;

  const std::string& message = t.texts.message;
  if (preferences.NoCommentary == 0 && !message.empty()) {
    const int32_t w = extents[static_cast<size_t>(OverlaySlot::Message)].width;
    const Place p{OverlaySlot::Message, message, roundHalfEven(W / 2.0) - roundHalfEven(w / 2.0),
                  preferences.TextMode == 0 ? px(0.05, H) : px(0.9, H), true};
    const int32_t size = px(0.015, W);
    draw.shadow(p, size);
    draw.white(p, size);
  }
  if (preferences.TextMode != 0) return out;

  const Place speed{OverlaySlot::Speed, t.speedText, px(0.8, W), px(0.84, H), true};
  draw.shadow(speed, px(0.02, W));
  draw.white(speed, px(0.02, W));

  const bool label8 = !t.texts.label8.empty();
  const int32_t y1 = px(0.8, H) - px(0.06, H);
  const int32_t y2 = label8 ? y1 - px(0.06, H) : y1;
  const int32_t line = px(0.92, H);
  const Place rest[] = {
      {OverlaySlot::Reverser, ctx.control.reverserText, px(0.8, W), line, true},
      {OverlaySlot::Power, ctx.control.powerText, px(0.87, W), line, true},
      {OverlaySlot::Brake, ctx.control.brakeText, px(0.92, W), line, true},
      {OverlaySlot::Label3, ctx.control.modeText, px(0.72, W), line, true},
      {OverlaySlot::NextLimit, t.texts.nextLimit, px(0.7, W), px(0.78, H), !t.texts.nextLimit.empty()},
      {OverlaySlot::LimitNotice, t.texts.limitNotice, px(0.7, W), px(0.72, H), !t.texts.limitNotice.empty()},
      {OverlaySlot::Label8, t.texts.label8, px(0.01, W), y1, label8},
      {OverlaySlot::Label9, t.texts.label9, px(0.01, W), y2, !t.texts.label9.empty()},
      {OverlaySlot::Door, t.stations.doorText, px(0.01, W), px(0.8, H), true},
      {OverlaySlot::Station, t.stations.stationText, px(0.01, W), px(0.86, H), true},
      {OverlaySlot::Clock, t.stations.clockText, px(0.01, W), line, true},
      {OverlaySlot::OneMan, ctx.keys.oneManText, px(0.15, W), line, ctx.line.OneMan != 0},
  };
  const int32_t size = px(0.017, W);
  for (const Place& p : rest)
    if (p.shown) draw.shadow(p, size);
  for (const Place& p : rest)
    if (p.shown) draw.white(p, size);
  return out;
}

std::array<std::string, kLabelCount> labelTexts(const DriveContext& ctx) {
  const TrainState& t = ctx.train;
  const auto stationName = [&ctx](int32_t i) -> std::string {
    if (i < 0 || i >= static_cast<int32_t>(ctx.line.Station.size())) return {};
    return ctx.line.Station[static_cast<size_t>(i)].name;
  };
  return {
      ctx.control.reverserText,
      ctx.control.powerText,
      ctx.control.brakeText,
      ctx.control.modeText,
      t.stations.stationText,
      t.stations.doorText,
      ctx.line.OneMan != 0 ? ctx.keys.oneManText : std::string{},
      t.stations.clockText,
      t.texts.label8,
      t.texts.label9,
      t.texts.nextLimit,
      t.speedText,
      t.distanceText,
      // The station the train stood at last and the one it must stop at next.
      stationName(t.stations.currentStation),
      stationName(t.stations.nextStopStation),
  };
}

}  // namespace kestrel
