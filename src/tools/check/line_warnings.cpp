#include "tools/check/line_warnings.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "core/ports/avi_frame_count_reader.h"
#include "core/present/movie_playback.h"
#include "core/util/path_lookup.h"

namespace kestrel::check {

namespace {

// A position of a row of the line file.
struct Placed {
  std::string label;  // "[Station] 終着駅", "[SpeedLimit] end"
  int32_t line = 0;
  int32_t frame = 0;
  bool converted = false;  // the set-up gives it a distance through [SpeedUnit]
};

std::string clock(int32_t thirtieths) {
  const int32_t seconds = thirtieths / 30;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buffer;
}

class Checker {
 public:
  Checker(const LineUnderCheck& s, PictureLoader& pictures) : s_(s), l_(s.line), pictures_(pictures) {}

  std::vector<LineWarning> run() {
    collectPlaces();
    movie();
    for (const Placed& p : places_) placement(p);
    speedUnitRows();
    order("[Station]", l_.Station, [](const StationRow& r) { return r.stopFrame(); },
          [](const StationRow& r) { return r.name; });
    order("[Signal]", l_.Signal, [](const SignalRow& r) { return r.position(); }, nullptr);
    order("[SpeedLimit]", l_.SpeedLimit, [](const SpeedLimitRow& r) { return r.start(); }, nullptr);
    timetable();
    stillPicture();
    switchedMovies();
    // In the order of the file, as an author goes through it.
    std::stable_sort(out_.begin(), out_.end(), [](const LineWarning& a, const LineWarning& b) { return a.line < b.line; });
    return std::move(out_);
  }

 private:
  int32_t rowLine(std::string_view key, size_t row) const { return s_.lines ? s_.lines->rowLine(key, row) : 0; }
  // The n-th value line after a key line.
  int32_t valueLine(std::string_view key, int32_t n) const {
    const int32_t k = s_.lines ? s_.lines->keyLine(key) : 0;
    return k > 0 ? k + n : 0;
  }
  void warn(int32_t line, std::string message, const char* kind) { out_.push_back({line, std::move(message), kind}); }

  template <class Rows, class Frame>
  void place(std::string_view key, const Rows& rows, const std::string& what, Frame frame, bool converted,
             const std::function<std::string(size_t)>& name = nullptr) {
    for (size_t i = 0; i < rows.size(); ++i) {
      std::string label(key);
      if (name) label += " " + name(i);
      if (!what.empty()) label += " " + what;
      places_.push_back({label, rowLine(key, i), frame(rows[i]), converted});
    }
  }

  void collectPlaces() {
    if (s_.lines && s_.lines->keyLine("[StartPos]") > 0)
      places_.push_back({"[StartPos]", valueLine("[StartPos]", 1), l_.StartPos, true});
    place("[Station]", l_.Station, "", [](const StationRow& r) { return r.stopFrame(); }, true,
          [&](size_t i) { return l_.Station[i].name; });
    place("[Signal]", l_.Signal, "", [](const SignalRow& r) { return r.position(); }, true);
    place("[SpeedLimit]", l_.SpeedLimit, "start", [](const SpeedLimitRow& r) { return r.start(); }, true);
    place("[SpeedLimit]", l_.SpeedLimit, "end", [](const SpeedLimitRow& r) { return r.end(); }, false);
    place("[SpeedCheck1]", l_.SpeedCheck1, "", [](const SpeedCheck1Row& r) { return r.f(3); }, true);
    place("[SpeedCheck2]", l_.SpeedCheck2, "start", [](const SpeedCheck2Row& r) { return r.f(3); }, true);
    place("[SpeedCheck2]", l_.SpeedCheck2, "end", [](const SpeedCheck2Row& r) { return r.f(4); }, true);
    place("[TrafficSignal]", l_.TrafficSignal, "", [](const TrafficSignalRow& r) { return r.position(); }, true);
    place("[Doppler]", l_.Doppler, "", [](const DopplerRow& r) { return r.f(2); }, true);
    place("[Tunnel]", l_.Tunnel, "entry", [](const TunnelRow& r) { return r.entry; }, true);
    place("[Tunnel]", l_.Tunnel, "exit", [](const TunnelRow& r) { return r.exit; }, true);
    place("[Slope]", l_.Slope, "start", [](const SlopeRow& r) { return r.start; }, false);
    place("[Slope]", l_.Slope, "end", [](const SlopeRow& r) { return r.end; }, false);
    place("[MovieStop]", l_.MovieStop, "", [](int32_t f) { return f; }, false);
  }

  void movie() {
    const std::string name = mainMovieName(s_.settings, l_);
    const auto frames = aviFrameCount(mainMoviePath(s_.programDirectory, s_.settings, l_));
    const int32_t at = valueLine("[DataName]", 1);
    if (!frames) {
      warn(at, name + std::string(kMovieOpenFailed), "missing-file");
      return;
    }
    lastFrame_ = *frames * std::max<int64_t>(s_.settings.Disp.MovieFrameFactor, 1) - 1;
    const Placed* furthest = nullptr;
    for (const Placed& p : places_)
      if (!furthest || p.frame > furthest->frame) furthest = &p;
    // A [SpeedUnit] row's end is the first frame after it.
    const int32_t unitEnd = l_.SpeedUnit.empty() ? 0 : l_.SpeedUnit.back().end - 1;
    const int64_t lineEnd = std::max<int64_t>(furthest ? furthest->frame : 0, unitEnd);
    if (lineEnd > *lastFrame_)
      warn(at,
           "the movie " + name + " has frames 0 to " + std::to_string(*lastFrame_) + ", but the line runs to frame " +
               std::to_string(lineEnd) + " (" +
               (furthest && furthest->frame >= unitEnd ? furthest->label : std::string("[SpeedUnit]")) + ")",
           "movie-short");
  }

  bool covered(int32_t frame) const {
    return std::any_of(l_.SpeedUnit.begin(), l_.SpeedUnit.end(),
                       [&](const SpeedUnitRow& r) { return r.start <= frame && frame <= r.end; });
  }

  void placement(const Placed& p) {
    if (p.frame < 0)
      warn(p.line, p.label + ": frame " + std::to_string(p.frame) + " lies before the movie's first frame",
           "outside-movie");
    else if (lastFrame_ && p.frame > *lastFrame_)
      warn(p.line,
           p.label + ": frame " + std::to_string(p.frame) + " lies beyond the movie's last frame " +
               std::to_string(*lastFrame_),
           "outside-movie");
    if (p.converted && !l_.SpeedUnit.empty() && !covered(p.frame))
      warn(p.line, p.label + ": frame " + std::to_string(p.frame) + " lies outside every [SpeedUnit] row, so it has no distance",
           "outside-speedunit");
  }

  void speedUnitRows() {
    const auto& rows = l_.SpeedUnit;
    if (rows.empty()) {
      warn(valueLine("[SpeedUnit]", 0), "[SpeedUnit] has no rows: no position of the line has a distance",
           "speedunit-gap");
      return;
    }
    auto span = [](int64_t a, int64_t b) { return "frames " + std::to_string(a) + " to " + std::to_string(b); };
    if (rows.front().start > 0)
      warn(rowLine("[SpeedUnit]", 0), "[SpeedUnit]: " + span(0, rows.front().start - 1) + " lie in no row",
           "speedunit-gap");
    // A row holds the frames from its start up to its end, which is the first frame after it.
    for (size_t i = 0; i < rows.size(); ++i) {
      const int32_t at = rowLine("[SpeedUnit]", i);
      if (rows[i].end <= rows[i].start)
        warn(at, "[SpeedUnit]: a row without frames (start " + std::to_string(rows[i].start) + ", end " +
                     std::to_string(rows[i].end) + ")",
             "speedunit-gap");
      if (i == 0) continue;
      const SpeedUnitRow& before = rows[i - 1];
      if (rows[i].start > before.end)
        warn(at, "[SpeedUnit]: " + span(before.end, rows[i].start - 1) + " lie in no row", "speedunit-gap");
      else if (rows[i].start < before.end)
        warn(at, "[SpeedUnit]: " + span(rows[i].start, std::min(before.end, rows[i].end) - 1) + " lie in two rows",
             "speedunit-overlap");
    }
    if (lastFrame_ && rows.back().end <= *lastFrame_)
      warn(rowLine("[SpeedUnit]", rows.size() - 1),
           "[SpeedUnit]: " + span(rows.back().end, *lastFrame_) + " of the movie lie in no row", "speedunit-gap");
  }

  template <class Rows, class Frame>
  void order(std::string_view key, const Rows& rows, Frame frame,
             const std::function<std::string(const typename Rows::value_type&)>& name) {
    for (size_t i = 1; i < rows.size(); ++i) {
      if (frame(rows[i]) >= frame(rows[i - 1])) continue;
      std::string label(key);
      if (name) label += " " + name(rows[i]);
      warn(rowLine(key, i),
           label + ": frame " + std::to_string(frame(rows[i])) + " comes before frame " +
               std::to_string(frame(rows[i - 1])) + " of the row above; the table must run in position order",
           "order");
    }
  }

  void timetable() {
    const StationRow* before = nullptr;
    for (size_t i = 0; i < l_.Station.size(); ++i) {
      const StationRow& s = l_.Station[i];
      if (s.departureTime() == 0) continue;
      if (before && s.departureTime() < before->departureTime())
        warn(rowLine("[Station]", i),
             "[Station] " + s.name + ": departs at " + clock(s.departureTime()) + ", before " + before->name +
                 " above it at " + clock(before->departureTime()),
             "timetable");
      before = &s;
    }
    const auto& pre = l_.Pre_Train.rows;
    for (size_t i = 1; i < pre.size(); ++i)
      if (pre[i].departure < pre[i - 1].departure)
        warn(rowLine("[Pre_Train]", i),
             "[Pre_Train]: the train ahead departs at " + clock(pre[i].departure) + ", before the row above at " +
                 clock(pre[i - 1].departure),
             "timetable");
  }

  // [Staf] line 2 is shown before the drive starts; a drive does not stop when it is missing.
  void stillPicture() {
    const std::string& name = l_.Staf[1];
    if (name.empty() || pictures_.load(resolveDataPath(s_.programDirectory, name))) return;
    warn(valueLine("[Staf]", 2),
         "[Staf]: the still picture " + name + " cannot be loaded; the movie area stays black until the drive starts",
         "missing-file");
  }

  // A switched movie that cannot be opened is not reported by a drive: its picture freezes.
  void switchedMovies() {
    for (size_t i = 0; i < l_.MovieSwitch.size(); ++i) {
      const std::string& movie = l_.MovieSwitch[i].movie;
      if (aviFrameCount(switchedMoviePath(s_.programDirectory, s_.settings, movie))) continue;
      warn(rowLine("[MovieSwitch]", i),
           "[MovieSwitch]: the movie " + s_.settings.Path + movie + ".avi cannot be opened; the picture stands still "
           "while it should play",
           "missing-file");
    }
  }

  const LineUnderCheck& s_;
  const LineData& l_;
  PictureLoader& pictures_;
  std::vector<Placed> places_;
  std::optional<int64_t> lastFrame_;
  std::vector<LineWarning> out_;
};

}  // namespace

std::vector<LineWarning> lineWarnings(const LineUnderCheck& subject, PictureLoader& pictures) {
  return Checker(subject, pictures).run();
}

}  // namespace kestrel::check
