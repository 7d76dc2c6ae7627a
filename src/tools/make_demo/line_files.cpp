#include "tools/make_demo/line_files.h"

#include <algorithm>
#include <cmath>

#include "tools/make_demo/data_file.h"
#include "tools/make_demo/movie_renderer.h"
#include "tools/make_demo/pictures.h"

namespace kestrel::demo {

namespace {

constexpr int kSignSize = 64;
constexpr int kBeaconSteps = 14;  // an animation runs through 14 pictures

std::vector<std::string> beaconFiles() {
  std::vector<std::string> files;
  for (int i = 0; i < kBeaconSteps; ++i) files.push_back("image\\line\\beacon" + std::to_string(i) + ".bmp");
  return files;
}

// Pictures shared by the three line files.
struct Trackside {
  std::string teimoku = "image\\line\\teimoku.bmp", lineS = "image\\line\\line_s.bmp", lineM = "image\\line\\line_m.bmp",
              lineE = "image\\line\\line_e.bmp", slope = "image\\line\\slope.bmp", limit = "image\\line\\limit.bmp",
              remain = "image\\line\\remain.bmp", other = "image\\line\\signs.bmp", signal = "image\\line\\signal.bmp",
              signalS = "image\\line\\signal_s.bmp", signalL = "image\\line\\signal_l.bmp",
              signalR = "image\\line\\signal_r.bmp", monitor = "image\\line\\monitor383.bmp";
  std::vector<std::string> traffic = {"image\\line\\tl0.bmp", "image\\line\\tl1.bmp", "image\\line\\tl2.bmp"};
  std::vector<std::string> crossing = {"image\\line\\cross0.bmp", "image\\line\\cross1.bmp"};
  std::vector<std::string> beacon = beaconFiles();
};

// Cells of the speed-limit post and of the other-signs strip.
const std::vector<std::string> kLimitCells = {"", "75", "45", "35", "解除"};
enum SignCell { kSignLeftDoor = 1, kSignRightDoor = 2, kSignWhistle = 3, kSignAtsP = 4 };
const std::vector<std::string> kSignCells = {"", "左ドア", "右ドア", "笛", "ATS-P"};
// Signal sprite places on the view (fields 12 to 21 of [Signal]).
constexpr int kSigX = 96, kSigY = 96, kSigW = 40, kSigH = 120;

void paintTrackside(Assets& a, const Route& r, const Trackside& t) {
  std::vector<std::string> names;
  for (const auto& s : r.stations) names.push_back(s.name);
  a.picture(t.teimoku, paint::stopMarkerStrip(kSignSize, names));
  a.picture(t.lineS, paint::stopLine(kViewWidth, 4, QColor(40, 120, 255)));
  a.picture(t.lineM, paint::stopLine(kViewWidth, 4, QColor(255, 40, 40)));
  a.picture(t.lineE, paint::stopLine(kViewWidth, 4, QColor(40, 120, 255)));
  std::vector<double> permils;
  for (const auto& s : r.slopes) permils.push_back(s.permil);
  a.picture(t.slope, paint::gradientPostStrip(kSignSize, permils));
  a.picture(t.limit, paint::limitPostStrip(kSignSize, kLimitCells));
  a.picture(t.remain, paint::remainBarStrip(24, kViewHeight));
  a.picture(t.other, paint::signStrip(kSignSize, kSignCells));
  a.picture(t.signal, paint::signalStrip(kSigW, kSigH));
  a.picture(t.signalS, paint::plateStrip(40, 24, {"", "場内", "出発", "閉塞"}));
  a.picture(t.signalL, paint::plateStrip(48, 28, {"", "←"}));
  a.picture(t.signalR, paint::plateStrip(48, 28, {"", "2番"}));
  for (size_t i = 0; i < t.traffic.size(); ++i) a.picture(t.traffic[i], paint::trafficLight(32, 80, static_cast<int>(i)));
  for (size_t i = 0; i < t.crossing.size(); ++i)
    a.picture(t.crossing[i], paint::crossingLamp(96, 64, i == 0));
  for (size_t i = 0; i < t.beacon.size(); ++i)
    a.picture(t.beacon[i], paint::worksiteBeacon(48, 72, static_cast<int>(i), kBeaconSteps));
  a.picture(t.monitor, paint::monitorStrip(160, 90, 4));
}

std::string sigFile(const Service& s) {
  return s.kind == ServiceKind::Express ? "exp" : (s.kind == ServiceKind::Rapid ? "rapid" : "local");
}

class LineWriter {
 public:
  LineWriter(Assets& a, const Route& r, const Filming& f, const MoviePlan& p, const Service& s, const LineSounds& snd,
             const Trackside& t)
      : a_(a), r_(r), f_(f), p_(p), s_(s), snd_(snd), t_(t) {}

  void write() {
    header();
    general();
    tables();
    d_.write(a_.pathOf(s_.file));
  }

 private:
  int fr(double m) const { return f_.frameAt(m); }
  int tick(int seconds) const { return seconds * 30; }
  int lastStation() const { return static_cast<int>(r_.stations.size()) - 1; }

  void header() {
    d_.comment("鷹見線 " + s_.typeName + " 路線データ");
    d_.comment("位置はすべて路線映像のフレーム番号、時刻は 1/30 秒単位（10:00:00 = 1080000）です。");
    d_.comment("同じ映像と駅を 3 本の路線ファイル（特急・快速・普通）で使っています。");
    d_.blank();
  }

  void general() {
    d_.line("[LineName]").line(r_.lineName + " " + s_.typeName + " " + r_.stations.front().name + "→" +
                               r_.stations.back().name);
    d_.line("[LineName2]").line(s_.typeName + " " + r_.stations.back().name + "行");
    d_.line("[StartPos]").line(num(fr(r_.stations[0].stopM)));
    d_.line("[FrameRate]").line("30");
    const std::string staf = "image\\staf\\" + sigFile(s_);
    d_.line("[Staf]").line(staf + "_card.bmp").line(staf + "_still.bmp").line(staf + "_map.bmp");
    stafPictures(staf);
    d_.line("[Friction]").line("0.30");
    d_.blank();
    d_.comment("終点の車止め");
    d_.line("[MovieStop]").line(num(fr(r_.bufferStopM))).end();
    movieSwitch();
    d_.comment("信号の現示ごとの制限速度（停止・警戒・注意・減速・進行）");
    d_.line("[Speed_Signal]");
    for (int v : {0, 25, 55, 75, 120}) d_.line(num(v));
    d_.end();
    d_.line("[DataName]").line(p_.routeName);
    d_.comment("停止位置ラインの遠近（m）と縦の大きさ（ピクセル）: 映像のカメラから求めた値");
    d_.line("[Perspective]").line(fmt(kStopLinePerspectiveM, 2)).line(num(kStopLineScalePx));
    preTrain();
    d_.line("[OneMan]").line(s_.oneMan ? "1" : "0");
    d_.blank();
  }

  void stafPictures(const std::string& staf) {
    std::vector<std::string> rows;
    std::vector<bool> stops;
    for (size_t i = 0; i < r_.stations.size(); ++i) {
      const bool stop = s_.stops(i);
      stops.push_back(stop);
      const std::string mark = i + 1 == r_.stations.size() ? "着 " : (stop ? "発 " : "通 ");
      rows.push_back(r_.stations[i].name + "  " + mark + clockText(s_.timeSec[i]));
    }
    // The card as high as its rows: below it the cab window has room for the labels of text mode.
    const int cardHeight = 70 + 40 * static_cast<int>(rows.size()) + 10;
    a_.picture(staf + "_card.bmp", paint::stafCard(360, cardHeight, s_.typeName + " " + r_.stations.back().name + "行", rows));
    // The still shows while the drive is paused; the "Start" menu then reads "運転再開".
    a_.picture(staf + "_still.bmp",
               paint::stillPicture(kViewWidth, kViewHeight, r_.lineName + " " + s_.typeName,
                                   {r_.stations.front().name + " " + clockText(s_.timeSec.front()) + " 発",
                                    "「運転再開」か画面のクリックで運転を続けます", "F3: 数値表示  Enter: 喚呼"}));
    // sub_disp is 480 x 360 at (798, 545) of the 1202 x 758 cab window: 404 x 213 of it show.
    a_.picture(staf + "_map.bmp", paint::routeMap(480, 360, 404, 213, stationNames(), stops));
  }

  std::vector<std::string> stationNames() const {
    std::vector<std::string> n;
    for (const auto& s : r_.stations) n.push_back(s.name);
    return n;
  }

  void movieSwitch() {
    d_.comment("映像の切り替え: 種別,開始,終了,映像,フレーム数,復帰位置/駅,時刻,音声開始,音声");
    d_.line("[MovieSwitch]");
    if (s_.takesLoop)
      d_.row({"0", num(p_.branchStart), num(p_.branchStart + 30), p_.branchName, num(p_.branchFrames),
              num(p_.branchResume), "0", "0", "0"});
    if (s_.stationMovie) {
      const int st = fr(r_.stations[static_cast<size_t>(p_.stationMovieStation)].stopM);
      d_.row({"2", num(st - 30), num(st + 30), p_.stationName, num(p_.stationMovieFrames),
              num(p_.stationMovieStation), "0", num(p_.stationMovieSoundFrame), num(snd_.passingTrain)});
    }
    d_.end();
  }

  // The rapid follows a local train that stands at the second station when the run begins. On the
  // quick line the local leaves only 30 s after the rapid, so the rapid finds the home signal of
  // that station at stop and waits there (the ATS stops a train that does not).
  void preTrain() {
    if (s_.kind == ServiceKind::Rapid) d_.comment("先行列車: 開始位置,消える位置 / 駅,速度,発車時刻");
    d_.line("[Pre_Train]");
    if (s_.kind == ServiceKind::Rapid) {
      const int t0 = s_.timeSec[0];
      const bool full = r_.variant == Variant::Full;
      const size_t removeAt = full ? 4 : 2;
      d_.row({num(fr(r_.stations[1].stopM)), num(fr(r_.stations[removeAt].stopM - 350.0))});
      d_.row({"1", "60", num(tick(full ? t0 - 10 : t0 + 30))});
      if (full) {
        d_.row({"2", "60", num(tick(t0 + 90))});
        d_.row({"3", "50", num(tick(t0 + 195))});
        d_.row({"4", "0", num(tick(t0 + 400))});
      } else {
        d_.row({"2", "0", num(tick(t0 + 300))});
      }
    } else {
      d_.row({"0", "0"});
    }
    d_.end();
  }

  void tables() {
    soundTables();
    stations();
    signalTable();
    trafficSignal();
    slopes();
    signs();
    animations();
    kanko();
    limits();
    speedChecks();
    imageLists();
    speedUnit();
    crossings();
    times();
    switches();
  }

  void soundTables() {
    d_.comment("駅の放送と沿線の音");
    d_.line("[SoundData]");
    for (const auto& n : snd_.soundData) d_.line(n);
    d_.end();
    monitor();
    if (s_.oneMan) {
      d_.comment("ワンマン放送: 番号,再開可,駅,予備");
      d_.line("[Announce]").line(num(snd_.announce[0]));
      for (size_t i = 1; i < snd_.announce.size(); ++i) d_.row({num(snd_.announce[i]), "0", num(static_cast<long long>(i)), "0"});
      d_.end();
    }
    d_.line("[KankoSound1]");
    for (const auto& n : snd_.kanko1) d_.line(n);
    d_.line("[KankoSound2]");
    for (const auto& n : snd_.kanko2) d_.line(n);
    d_.end();
    d_.comment("環境音: 音,開始,終了,基準速度,ループ,音程,音量,モード");
    d_.line("[Sound]");
    for (size_t i = 0; i + 1 < r_.stations.size(); ++i)
      d_.row({num(snd_.running[i % 2]), num(fr(r_.stations[i].stopM) - 5), num(fr(r_.stations[i + 1].stopM) + 5), "100", "1", "1", "1",
              "0"});
    d_.line("; 鉄橋");
    d_.row({num(snd_.bridge), num(fr(r_.bridgeFromM)), num(fr(r_.bridgeToM)), "60", "0", "1", "0", "0"});
    d_.row({num(snd_.birds), num(fr(r_.stations[1].stopM + 150.0)), num(fr(r_.stations[1].stopM + 600.0)), "60", "1", "0", "0",
            "0"});
    d_.end();
    d_.comment("踏切の警報音（ドップラー）: 音,位置,範囲(cm),ドップラーなし,条件");
    d_.line("[Doppler]").row({num(snd_.crossingBell), num(fr(r_.crossingM)), "25000", "0", "0"}).end();
    d_.line("[Tunnel]").row({num(fr(r_.tunnel.startM)), num(fr(r_.tunnel.endM)), num(r_.tunnel.darkness)}).end();
    d_.comment("トンネル内は走行音を大きく");
    d_.line("[Atten]");
    d_.row({"0", num(fr(r_.tunnel.startM)), "0", "100"});
    d_.row({num(fr(r_.tunnel.startM)), num(fr(r_.tunnel.endM)), "0", "160"});
    d_.row({num(fr(r_.tunnel.endM)), num(f_.frameCount() + 10), "0", "100"});
    d_.end();
    d_.line("[TunnelR]").line("3");
  }

  void monitor() {
    d_.comment("383系だけの表示器");
    d_.line("[Monitor]").line("train_383.dat").line("600").line("8").line("160").line("90").line(t_.monitor);
  }

  void stations() {
    d_.comment("駅: 名前,種別,停止位置,停止範囲(cm),到着音,発車音,予備,発車時刻,線区速度,予備,予備,乱数,遅れ,ホーム側,予備");
    d_.line("[Station]");
    for (size_t i = 0; i < r_.stations.size(); ++i) {
      const auto& st = r_.stations[i];
      const bool last = i + 1 == r_.stations.size();
      const int arrival = i == 0 ? snd_.startChime : snd_.arrival[i];
      const int dep = s_.stops(i) && !last ? tick(s_.timeSec[i]) : 0;
      int side = st.platformSide;
      if (s_.takesLoop && static_cast<int>(i) == r_.loop.station) side = 1 - side;
      const bool rush = s_.oneMan && i == 1;  // a passenger runs for the doors here now and then
      d_.row({st.name, num(s_.stationType[i]), num(fr(st.stopM)), "500", num(arrival), num(snd_.departure), "0", num(dep),
              num(s_.lineSpeed[i]), "0", "0", rush ? "30" : "0", rush ? "100" : "0", num(side), "0"});
    }
    d_.end();
    d_.line("[StopSound]").line(num(snd_.startChime)).end();
  }

  bool stopsAt(int station) const { return s_.stops(static_cast<size_t>(station)); }

  void signalTable() {
    d_.comment("信号: 制御,標識,予備,種類,接近開始,位置,地上子1,地上子2,固定現示,時刻,駅,x,y,左表示,x,y,右表示,x,y,標識x,標識y,予備");
    d_.line("[Signal]");
    int prev = -1;
    for (const auto& sg : r_.signalPosts) {
      const int pos = fr(sg.posM);
      const int from = prev < 0 ? 0 : prev + 16;
      const bool held = sg.role == SignalRole::Starting && stopsAt(sg.station);
      int plate = 0;
      if (sg.role == SignalRole::Home) plate = 1;
      if (sg.role == SignalRole::Starting) plate = 2;
      if (sg.role == SignalRole::Block) plate = 3;
      const bool loopRoute = s_.takesLoop && sg.role == SignalRole::Home && sg.station == r_.loop.station;
      d_.row({held ? "3" : "0", num(plate), "0", num(sg.kind), num(from), num(pos), num(std::max(from, fr(sg.posM - 600.0))),
              num(fr(sg.posM - 30.0)), "0", "0", num(sg.station), num(kSigX), num(kSigY), "0", num(kSigX - 52),
              num(kSigY - 34), loopRoute ? "1" : "0", num(kSigX + 44), num(kSigY - 34), num(kSigX), num(kSigY + kSigH + 4),
              "0"});
      prev = pos;
    }
    d_.end();
  }

  void trafficSignal() {
    d_.comment("踏切脇の道路信号: 位置,表示開始,表示終了,(絵,時間,表示灯)x6,表示灯,範囲,絵,絵,予備");
    const int pos = fr(r_.trafficLightM);
    d_.line("[TrafficSignal]")
        .row({num(pos), num(fr(r_.trafficLightM - 300.0)), num(pos), "1", "60", "0", "2", "40", "0", "0", "0", "0", "0", "0",
              "0", "0", "0", "0", "0", "0", "0", "0", num(pos), "0", "0", "0"})
        .end();
  }

  void slopes() {
    d_.comment("勾配: パーミル,開始,終了");
    d_.line("[Slope]");
    for (const auto& sl : r_.slopes) d_.row({fmt(sl.permil, 1), num(fr(sl.startM)), num(fr(sl.endM))});
    d_.end();
  }

  void signs() {
    d_.comment("標識: 絵,開始,終了,時刻条件");
    d_.line("[Sign]");
    d_.row({num(kSignWhistle), num(fr(r_.crossingM - 250.0)), num(fr(r_.crossingM - 150.0)), "0"});
    if (s_.oneMan)
      for (size_t i = 1; i < r_.stations.size(); ++i) {
        const auto& st = r_.stations[i];
        d_.row({num(st.platformSide == 0 ? kSignLeftDoor : kSignRightDoor), num(fr(st.stopM - 300.0)), num(fr(st.stopM - 150.0)),
                "0"});
      }
    d_.row({num(kSignWhistle), num(fr(r_.tunnel.startM - 200.0)), num(fr(r_.tunnel.startM - 80.0)), "0"});
    d_.end();
  }

  // The rotating beacon of the track work, one picture per tick while it is in sight.
  void animations() {
    d_.comment("動く絵: 開始,終了,1コマのタイマー回数,最初の絵");
    d_.line("[Anim]").row({num(fr(r_.worksiteFromM)), num(fr(r_.worksiteToM)), "0", "0"}).end();
  }

  void kanko() {
    d_.comment("信号喚呼: 信号,種類,値（998以下は喚呼番号、1000以上は時刻）");
    d_.line("[SignalKanko]");
    for (size_t i = 0; i < r_.signalPosts.size(); ++i) {
      const auto& sg = r_.signalPosts[i];
      if (sg.role == SignalRole::Starting && stopsAt(sg.station))
        d_.row({num(static_cast<long long>(i)), "1", num(tick(s_.timeSec[static_cast<size_t>(sg.station)]))});
    }
    d_.end();
    d_.comment("駅喚呼: 駅,種類,値");
    d_.line("[StationKanko]");
    for (size_t i = 0; i < r_.stations.size(); ++i) {
      if (!s_.stops(i)) continue;
      if (i > 0) d_.row({num(static_cast<long long>(i)), "4", num(snd_.clipStopPosition)});
      if (i + 1 < r_.stations.size()) d_.row({num(static_cast<long long>(i)), "1", num(tick(s_.timeSec[i]))});
    }
    d_.end();
  }

  // Speed limits, with the station stops of this service for the ATS pattern (kind 3).
  void limits() {
    struct Row {
      int start;
      std::vector<std::string> fields;
    };
    std::vector<Row> rows;
    for (const auto& l : r_.limits)
      rows.push_back({fr(l.startM),
                      {num(l.kmh), num(l.postPattern), "1", num(fr(l.startM)), num(fr(l.endM)), num(l.releasePattern)}});
    for (size_t i = 1; i < r_.stations.size(); ++i) {
      if (!s_.stops(i)) continue;
      const int at = fr(r_.stations[i].stopM + 25.0);
      rows.push_back({at, {"15", "0", "3", num(at), num(at + 1), "0"}});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& x, const Row& y) { return x.start < y.start; });
    d_.comment("速度制限: 制限,標識,種別(1 制限 3 停車駅),開始,終了,解除標識");
    d_.line("[SpeedLimit]");
    for (const auto& row : rows) d_.row(row.fields);
    d_.end();
  }

  void speedChecks() {
    d_.comment("速度照査: 速度,予備,位置,信号");
    d_.line("[SpeedCheck1]");
    d_.row({"80", "0", num(fr(r_.limits[0].startM - 20.0)), "0"});
    d_.row({"25", "0", num(fr(r_.bufferStopM - 40.0)), "0"});
    d_.end();
    d_.comment("速度照査区間: 速度,予備,開始,終了");
    d_.line("[SpeedCheck2]");
    d_.row({"45", "0", num(fr(r_.loop.inM)), num(fr(r_.loop.outM))});
    d_.row({"35", "0", num(fr(r_.bufferStopM - 150.0)), num(fr(r_.bufferStopM))});
    d_.end();
  }

  void imageLists() {
    d_.comment("線路際の絵: ファイル,大きさ");
    d_.line("[SignImageList]");
    d_.row({t_.teimoku, num(kSignSize)}).row({t_.lineS, "4"}).row({t_.lineM, "4"}).row({t_.lineE, "4"});
    d_.row({t_.slope, num(kSignSize)}).row({t_.limit, num(kSignSize)}).row({t_.remain, "24"}).row({t_.other, num(kSignSize)});
    d_.line("[SignalImageList]");
    d_.row({"0", "0", num(kSigW), num(kSigH), t_.signal});
    d_.row({"40", "24", t_.signalS}).row({"48", "28", t_.signalL}).row({"48", "28", t_.signalR});
    d_.line("[OtherKanko]");
    for (const auto& n : snd_.otherKanko) d_.line(n);
    d_.end();
    d_.line("[LimitKanko]");
    for (const auto& n : snd_.limitKanko) d_.line(n);
    d_.end();
    d_.line("[AnimImageList]");
    for (const auto& n : t_.beacon) d_.line(n);
    d_.end();
    d_.line("[TrafficSignalImageList]");
    for (const auto& n : t_.traffic) d_.line(n);
    d_.end();
  }

  void speedUnit() {
    d_.comment("撮影列車の速度: 開始,終了,開始時の速度,終了時の速度（km/h）");
    d_.line("[SpeedUnit]");
    for (const auto& row : f_.rows()) d_.row({num(row.start), num(row.end), fmt(row.vStart, 2), fmt(row.vEnd, 2)});
    d_.end();
  }

  void crossings() {
    d_.line("[CrossImageList]");
    for (const auto& n : t_.crossing) d_.line(n);
    d_.end();
    d_.comment("踏切: 喚呼範囲の開始,終了,絵（動作中の表示）,喚呼番号,踏切の位置");
    d_.line("[Cross]")
        .row({num(fr(r_.crossingM - 300.0)), num(fr(r_.crossingM)), "0", num(snd_.clipCrossing),
              num(fr(r_.crossingM))})
        .end();
  }

  void times() {
    d_.comment("時刻喚呼: 開始,終了,時刻");
    d_.line("[Time]");
    for (size_t i = 1; i < r_.stations.size(); ++i)
      d_.row({num(fr(r_.stations[i].stopM - 300.0)), num(fr(r_.stations[i].stopM + 60.0)), num(tick(s_.timeSec[i]))});
    d_.end();
  }

  void switches() {
    d_.comment("分岐器: 位置,種類");
    d_.line("[Switch]");
    for (const auto& pt : r_.points) d_.row({num(fr(pt.posM)), num(pt.kind)});
    d_.end();
  }

  Assets& a_;
  const Route& r_;
  const Filming& f_;
  const MoviePlan& p_;
  const Service& s_;
  const LineSounds& snd_;
  const Trackside& t_;
  DataFile d_;
};

}  // namespace

void writeLineFiles(Assets& assets, const Route& route, const Filming& filming, const MoviePlan& plan,
                    const std::vector<Service>& services, const LineSounds& sounds) {
  Trackside t;
  paintTrackside(assets, route, t);
  for (const auto& s : services) LineWriter(assets, route, filming, plan, s, sounds, t).write();
}

}  // namespace kestrel::demo
