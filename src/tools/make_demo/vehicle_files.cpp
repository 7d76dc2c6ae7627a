#include "tools/make_demo/vehicle_files.h"

#include <functional>
#include <string>
#include <vector>

#include "tools/make_demo/data_file.h"
#include "tools/make_demo/pictures.h"
#include "tools/make_demo/synth.h"

namespace kestrel::demo {

namespace {

enum class Kind { Emu313, Emu383, Diesel };

struct Vehicle {
  Kind kind;
  std::string file, title, dir;  // dir: picture and sound folder, "image\313\"
  int cars = 8;
  double mt = 0, tt = 0, tct = 0;
};

// The vehicle sounds, numbered as in [DriveSound].
enum Snd {
  kBlank, kApply, kRelease, kEmergency, kNotch, kNotchOff, kDoorOpen, kDoorClose, kHorn, kHorn2, kAtsBell, kAtsAlarm,
  kAtsChime, kAtcDing, kBuzzer, kCpStart, kCpRun, kCpEnd, kEbRing, kSqueal, kStopChime, kDepSign, kAtsWarn, kSwitchSlow,
  kSwitchFast, kIdle, kEngineStart, kEngineStop
};

const std::vector<std::pair<std::string, std::function<Wave()>>>& driveSounds() {
  using namespace synth;
  static const std::vector<std::pair<std::string, std::function<Wave()>>> list = {
      {"blank", [] { return silence(0.1); }},        {"apply", airApply},         {"release", airRelease},
      {"emergency", emergencyAir},                   {"notch", notchClick},       {"notchoff", notchOff},
      {"dooropen", doorOpen},                        {"doorclose", doorClose},    {"horn", electricHorn},
      {"airhorn", airHorn},                          {"atsbell", atsBell},        {"atsalarm", atsAlarm},
      {"atschime", atsChime},                        {"atcding", atcDing},        {"buzzer", buzzer},
      {"cpstart", compressorStart},                  {"cprun", compressorRun},    {"cpend", compressorEnd},
      {"ebring", ebRing},                            {"squeal", squeal},          {"stopchime", chime},
      {"depsign", chime},                            {"atswarn", patternWarn},    {"switch1", [] { return switchClatter(false); }},
      {"switch2", [] { return switchClatter(true); }}, {"idle", engineIdle},      {"enginestart", engineStart},
      {"enginestop", engineStop},
  };
  return list;
}

std::string soundName(const std::string& base) { return "sound\\train\\" + base + ".wav"; }

class VehicleWriter {
 public:
  VehicleWriter(Assets& a, const Vehicle& v) : a_(a), v_(v) {}

  void write() {
    d_.comment(v_.title + " 車両データ");
    d_.comment("値の求め方は各節の説明を参照。加速度 km/h/s、圧力 kPa、質量 t、遅れは 1/30 秒の回数です。");
    d_.blank();
    handles();
    brakes();
    train();
    soundNumbers();
    tables();
    cabPanel();
    d_.write(a_.pathOf(v_.file));
  }

 private:
  bool diesel() const { return v_.kind == Kind::Diesel; }
  bool two() const { return v_.kind != Kind::Emu313; }
  int nB() const { return diesel() ? 4 : 8; }
  int nP() const { return v_.kind == Kind::Emu383 ? 5 : 4; }
  double tons() const { return v_.mt + v_.tt + v_.tct; }
  std::string img(const std::string& n) const { return v_.dir + n + ".bmp"; }
  // "image\\313\\" keeps its sounds in "sound\\313\\".
  std::string sdir() const { return "sound\\" + v_.dir.substr(6); }
  void kv(const std::string& key, const std::string& value) { d_.line(key).line(value); }

  void handles() {
    d_.comment("ハンドル: 0 ワンハンドル 1 ツーハンドル");
    kv("[Handle]", two() ? "1" : "0");
    d_.comment(diesel() ? "自動空気ブレーキ（ブレーキ弁）" : "電気指令式ブレーキ（回生ブレーキ併用）");
    kv("[BrakeType]", diesel() ? "0" : "2");
    kv("[BrakeType2]", diesel() ? "0" : "1");
    kv("[Brake]", num(nB()));
    kv("[Power]", num(nP()));
    kv("[NotchBack]", "1");
    kv("[Hold]", "0");
    kv("[Pull]", "0");
    d_.comment("定速: 入れるノッチ(1=最大ノッチで t キー), 速度");
    d_.line("[Const]").line(v_.kind == Kind::Emu383 ? "1" : "0").line(v_.kind == Kind::Emu383 ? "60" : "0");
    kv("[Back]", diesel() ? "0" : "1");
    d_.blank();
  }

  void brakes() {
    d_.comment("減速度: 非常圧力での減速度, 回生の減速度（電流 [EBrakeCurr] のとき）, 摩擦の基準速度");
    if (v_.kind == Kind::Emu313) d_.line("[BrakeRate]").line("4.9").line("4.0").line("60");
    if (v_.kind == Kind::Emu383) d_.line("[BrakeRate]").line("4.9").line("3.5").line("60");
    if (diesel()) d_.line("[BrakeRate]").line("4.0").line("0").line("40");
    kv("[BrakeRate2]", "0.0125");
    kv("[PowerDelay]", diesel() ? "6" : "3");
    kv("[BrakeDelay]", diesel() ? "10" : "8");
    kv("[EBrakeDelay]", "8");
    kv("[PowerJerk]", diesel() ? "10" : "0");
    kv("[SAPDelay]", "8");
    kv("[BrakeUp]", diesel() ? "150" : "200");
    kv("[BrakeDown]", diesel() ? "120" : "180");
    kv("[SAPUp]", "200");
    kv("[SAPDown]", "200");
    kv("[EBrakeUp]", "200");
    kv("[EBrakeDown]", "300");
    kv("[EBrakeCurr]", diesel() ? "100" : "500");
    kv("[BPReturn]", diesel() ? "80" : "100");
    kv("[MAXPress]", v_.kind == Kind::Emu313 ? "430" : (v_.kind == Kind::Emu383 ? "380" : "340"));
    kv("[EBPress]", diesel() ? "420" : "440");
    kv("[SAPPress]", "440");
    kv("[HighAirPress]", "880");
    kv("[LowAirPress]", "780");
    d_.blank();
  }

  void train() {
    kv("[Engine_Type]", diesel() ? "0" : "1");
    kv("[DoorLock]", "1");
    d_.comment(v_.kind == Kind::Emu383 ? "電流表で力行（[CurrentP]）" : "ノッチ表で力行（[Notch]）");
    kv("[Power_Type]", v_.kind == Kind::Emu383 ? "0" : "1");
    kv("[Brake_Type]", "1");
    kv("[DoorType]", "0");
    d_.comment("電動車・付随車・制御付随車の質量の合計 (t)");
    kv("[Mt]", fmt(v_.mt, 1));
    kv("[Tt]", fmt(v_.tt, 1));
    kv("[Tct]", fmt(v_.tct, 1));
    kv("[Cars]", num(v_.cars));
    kv("[Tons]", fmt(tons(), 1));
    d_.comment("EB装置あり");
    kv("[EB]", "1");
    kv("[MaxSpeed]", v_.kind == Kind::Emu313 ? "120" : (v_.kind == Kind::Emu383 ? "130" : "95"));
    kv("[Lose_elec]", "8");
    kv("[ELBR]", diesel() ? "20" : "40");
    kv("[Mc]", diesel() ? "1" : "0");
    d_.comment(diesel() ? "ATS-S形（確認扱いはスペースキー）" : "ATS-P形（速度パターン）");
    kv("[ATS_Type]", diesel() ? "0" : "1");
    kv("[ATS_Alert]", "0");
    kv("[ATS_Time]", "5");
    kv("[ATS_Cnt]", "0");
    d_.blank();
  }

  void list(const std::string& key, int count, int value) {
    d_.line(key);
    for (int i = 0; i < count; ++i) d_.line(num(value));
  }

  void soundNumbers() {
    d_.comment("音の番号は [DriveSound] の行番号（0 から）");
    list("[Sound_BK]", nB(), kRelease);
    list("[Sound_BR]", nB(), kRelease);
    list("[Sound_BA]", nB() + 1, kApply);
    list("[Sound_PA]", nP(), kNotch);
    list("[Sound_PR]", nP(), kNotchOff);
    d_.line("[Sound_EB]").line(num(kEmergency)).line(";");
    d_.line("[Sound_Apply]").line(num(kApply)).line(num(kRelease));
    kv("[Sound_Ats1]", num(kAtsBell));
    kv("[Sound_Ats2]", num(kAtsAlarm));
    kv("[Sound_Ats3]", num(kAtsChime));
    kv("[Sound_Atc]", num(kAtcDing));
    kv("[Sound_Horn]", num(kHorn));
    kv("[Sound_Horn2]", num(kHorn2));
    kv("[Sound_Horn3]", num(kHorn2));
    d_.line("[Sound_Horn4]");
    for (int i = 0; i < 6; ++i) d_.line("0");
    kv("[Sound_DoorOpen]", num(kDoorOpen));
    kv("[Sound_DoorClose]", num(kDoorClose));
    kv("[Sound_EBring]", num(kEbRing));
    kv("[Sound_squeak]", num(kSqueal));
    kv("[CP_Start]", num(kCpStart));
    kv("[CP_Cnt]", num(kCpRun));
    kv("[CP_End]", num(kCpEnd));
    kv("[Stop]", num(kStopChime));
    kv("[Buzzer]", num(kBuzzer));
    kv("[DepSign]", num(kDepSign));
    kv("[ATS_Warn]", num(kAtsWarn));
    d_.blank();
  }

  void tables() {
    d_.comment("分岐器の音: 音,この速度未満,種類");
    d_.line("[SwitchSound]");
    for (int kind : {1, 2}) d_.row({num(kSwitchSlow), "40", num(kind)}).row({num(kSwitchFast), "999", num(kind)});
    d_.end();
    if (diesel()) {
      d_.comment("変速段ごとのエンジン回転: 加算,比（中立・変速・直結）");
      d_.line("[EngineRate]").row({"0", "0"}).row({"60", "1.0"}).row({"0", "1.0"}).end();
      kv("[Gear_Type]", "MT");
    }
    if (!diesel()) notch();
    if (v_.kind == Kind::Emu383) currentP();
    if (diesel()) engine();
    d_.line("[PowerMode]").row({"P", v_.kind == Kind::Emu313 ? "直並列" : (diesel() ? "液体" : "VVVF")}).end();
    motorSounds();
    d_.line("[DriveSound]");
    const size_t n = diesel() ? driveSounds().size() : static_cast<size_t>(kIdle);
    for (size_t i = 0; i < n; ++i) {
      const auto& [base, make] = driveSounds()[i];
      const std::string name = soundName(base);
      if (!a_.has(name)) a_.wave(name, make());
      d_.line(name);
    }
    d_.end();
    d_.blank();
  }

  // Notch table: A, B (km/h/s), C, D (km/h), E, group. Constant acceleration A up to C, then
  // constant power C*B/v up to D, falling by E per km/h above D.
  void notch() {
    d_.comment("ノッチ: 起動加速度,定加速度域の終わりの加速度,定加速度域の終わり,定出力域の終わり,特性の指数,グループ");
    d_.line("[Notch]");
    struct Row {
      const char *a, *b, *c, *d, *e;
    };
    std::vector<Row> rows = {{"1.0", "1.0", "15", "25", "0.90"}, {"1.8", "1.8", "30", "50", "0.95"},
                             {"2.66", "2.66", "40", "65", "0.97"}, {"2.66", "2.66", "40", "80", "0.98"}};
    if (v_.kind == Kind::Emu383) {
      // The 383 series draws its force from [CurrentP]; the rows give the notches of the handle.
      rows = {{"0.8", "0.8", "20", "30", "0.90"}, {"2.15", "2.15", "25", "40", "0.95"}, {"2.15", "2.15", "45", "60", "0.97"},
              {"2.15", "2.15", "45", "70", "0.98"}, {"2.15", "2.15", "45", "80", "0.985"}};
    }
    for (const auto& r : rows) d_.line(r.a).line(r.b).line(r.c).line(r.d).line(r.e).line("0");
    d_.end();
  }

  // Current table: Iref, a0 at Iref, vc; rows "notch, a, b, 0" give the motor current a / (v - b)
  // of each resistance step; a step is taken when the current falls below Iref.
  void currentP() {
    d_.comment("電流: 基準電流(A), その電流での加速度, 定加速度の上限速度 / 行: ノッチ,a,b,予備（電流 = a / (速度 - b)）");
    d_.line("[CurrentP]").line("300").line("2.15").line("45");
    d_.row({"1", "12000", "-100", "0"});
    for (int k = 0; k <= 15; ++k) {
      const int vl = k * 5;
      const int notch = vl <= 20 ? 2 : (vl <= 45 ? 3 : (vl <= 60 ? 4 : 5));
      d_.row({num(notch), "31500", num(vl - 100), "0"});
    }
    d_.end();
  }

  void engine() {
    d_.comment("変速段: 速度s0,s1,s2, 引張力e0,e1,e2 (kgf、最大ノッチ)");
    d_.line("[Engine]");
    for (const auto& r : std::vector<std::vector<const char*>>{{"0", "0", "0", "0", "0", "0"},
                                                               {"0", "20", "50", "4200", "3000", "1200"},
                                                               {"35", "50", "100", "2600", "2000", "800"}})
      for (const char* v : r) d_.line(v);
    d_.end();
  }

  void motorSounds() {
    d_.comment("モーター音: ファイル,種類,速度s0,s1,s2,音程p0,p1,p2,音量w0,w1,w2 (%)");
    d_.line("[EngineSound1]");
    auto row = [&](const std::string& file, const Wave& w, int type, std::vector<const char*> values) {
      if (!a_.has(file)) a_.wave(file, w);
      d_.line(file).line(num(type));
      for (const char* v : values) d_.line(v);
    };
    if (diesel()) {
      row(sdir() + "engine.wav", synth::engineIdle(), -1, {"25", "60", "110", "0.8", "1.6", "2.4", "50", "80", "100"});
    } else {
      const double base = v_.kind == Kind::Emu313 ? 180.0 : 240.0;
      row(sdir() + "motor.wav", synth::motorWhine(base, 5), 0, {"0", "40", "130", "0.35", "1.0", "2.6", "30", "100", "80"});
      row(sdir() + "regen.wav", synth::motorWhine(base * 1.1, 4), 1, {"0", "40", "130", "0.35", "1.0", "2.6", "20", "80", "70"});
      row(sdir() + "gear.wav", synth::motorWhine(90.0, 2), 2, {"0", "60", "130", "0.3", "1.0", "2.0", "5", "40", "60"});
    }
    d_.end();
    // Idle, start and stop sounds of the engine; the fourth value is not used.
    if (diesel())
      d_.line("[EngineSound2]").line(num(kIdle)).line(num(kEngineStart)).line(num(kEngineStop)).line("0");
  }

  // The cab panel: 800 x 160 at the bottom of the cab surface; gauges, lamps and indicators.
  void cabPanel() {
    constexpr int y0 = 600;
    const paint::PanelStyle style = v_.kind == Kind::Emu313   ? paint::PanelStyle{QColor(70, 90, 110), QColor(240, 240, 232), Qt::black, "313系"}
                                    : v_.kind == Kind::Emu383 ? paint::PanelStyle{QColor(60, 60, 70), QColor(20, 24, 30), Qt::white, "383系"}
                                                              : paint::PanelStyle{QColor(96, 104, 90), QColor(236, 232, 214), Qt::black, "キハ25形"};
    d_.comment("アナログ時計: x, y, 針の長さ");
    d_.line("[Clock]").line("550").line(num(y0 + 6)).line("20");
    pic("[Panel]", "panel", paint::panel(800, 160, style, two(), diesel()), 0, y0);
    pic("[Panel2]", "panel2", paint::panelOverlay(800, 160), 0, y0);
    lamps(y0);
    d_.comment("針: ファイル,x,y,未使用,未使用,0の角度,1あたりの角度(,低速の角度/形式)");
    // Every needle stands out from its dial: dark needles on the light faces, light ones on the
    // dark face of the 383 series; on the shared BC / MR dial red for BC, the face's text
    // colour for MR.
    const bool darkFace = style.face.lightness() < 128;
    const QColor speed = darkFace ? QColor(240, 240, 240) : QColor(200, 50, 0);
    const QColor meter = darkFace ? QColor(250, 180, 30) : QColor(20, 60, 170);
    const QColor mr = darkFace ? QColor(240, 240, 240) : QColor(20, 20, 20);
    needle("[Needle_Speed]", "needle_speed", 140, speed, 10, y0 + 10, "225", "1.6875", "0");
    const QColor bc = darkFace ? QColor(255, 90, 70) : QColor(210, 30, 30);
    needle("[Needle_BC]", "needle_bc", 120, bc, 160, y0 + 20, "225", "0.27", "");
    needle("[Needle_MR]", "needle_mr", 120, mr, 160, y0 + 20, "225", "0.27", "");
    if (diesel()) {
      needle("[Needle_ER]", "needle_er", 72, bc, 304, y0 + 10, "225", "0.27", "");
      needle("[Needle_BP]", "needle_bp", 72, mr, 304, y0 + 10, "225", "0.27", "");
    } else {
      needle("[Needle_V]", "needle_v", 72, meter, 304, y0 + 10, "225", "0.135", "");
      needle("[Needle_I]", "needle_i", 72, meter, 394, y0 + 10, "0", "0.27", "0");
    }
    d_.comment("棒グラフ: ファイル,x,基準y,1kPaあたりのピクセル");
    bar("[Needle_BC_L]", "bar_bc", QColor(220, 40, 40), 596);
    bar("[Needle_MR_L]", "bar_mr", QColor(40, 40, 220), 603);
    d_.comment("パターン画像: x,y,幅,高さ,ファイル");
    std::vector<std::string> cab = {"", "15", "25", "35", "45", "55", "75", "120"};
    d_.line("[Lamp_signal]").line("480").line(num(y0 + 12)).line("56").line("36").line(img("cabsignal"));
    a_.picture(img("cabsignal"), paint::textStrip(56, 36, cab, QColor(255, 160, 40), QColor(20, 20, 20)));
    d_.line("0");
    for (size_t i = 1; i < cab.size(); ++i) d_.line(cab[i]);
    d_.end();
    std::vector<std::string> p = {diesel() ? "切" : "切"};
    for (int i = 1; i <= nP(); ++i) p.push_back("P" + num(i));
    std::vector<std::string> b;
    if (diesel()) {
      b = {"運転", "重なり", "保ち", "常用", "非常", "ユルメ"};
    } else {
      b.push_back("緩め");
      for (int i = 1; i < nB(); ++i) b.push_back("B" + num(i));
      b.push_back("非常");
    }
    strip("[NotchImageP]", "notch_p", 620, y0 + 12, p, QColor(80, 230, 120));
    strip("[NotchImageB]", "notch_b", 710, y0 + 12, b, QColor(255, 120, 80));
    std::vector<std::string> b2 = b;
    b2.push_back("ATS常用");
    b2.push_back("ATS非常");
    strip("[NotchImageP2]", "notch_p2", 620, y0 + 44, p, QColor(120, 200, 255));
    strip("[NotchImageB2]", "notch_b2", 710, y0 + 44, b2, QColor(255, 200, 120));
    if (diesel()) {
      strip("[GearImageList]", "gear", 620, y0 + 76, {"中立", "変速", "直結"}, QColor(255, 230, 90));
      strip("[GearImageList2]", "gearlever", 710, y0 + 76, {"中立", "変速", "直結"}, QColor(200, 200, 200));
    } else {
      // An electric train has no gears: the indicator names its drive.
      strip("[GearImageList]", "gear", 620, y0 + 76, {v_.kind == Kind::Emu313 ? "直並列" : "VVVF"}, QColor(255, 230, 90));
    }
    // The digital speed in the speed dial's foot, below its "0" and "160", where no needle goes.
    d_.line("[Digi_Speed]").line("56").line(num(y0 + 121)).line("48").line("20").line(img("digits"));
    a_.picture(img("digits"), paint::digitStrip(48, 20, 200));
    others(y0);
  }

  void pic(const char* key, const std::string& name, const QImage& image, int x, int y) {
    a_.picture(img(name), image);
    d_.line(key).line(img(name)).line(num(x)).line(num(y));
  }

  void lamps(int y0) {
    struct L {
      const char* key;
      const char* name;
      const char* label;
      QColor colour;
    };
    const std::vector<L> list = {{"[Lamp_Door]", "lamp_door", "戸閉", QColor(255, 170, 40)},
                                 {"[Lamp_Power]", "lamp_power", "力行", QColor(80, 230, 120)},
                                 {"[Lamp_EB]", "lamp_eb", "EB", QColor(255, 60, 40)},
                                 {"[Lamp_Gen]", "lamp_gen", "電制", QColor(120, 200, 255)},
                                 {"[Lamp_Air]", "lamp_air", "空制", QColor(255, 230, 90)},
                                 {"[Lamp_Fin]", "lamp_fin", "終段", QColor(200, 200, 255)},
                                 // Lit while the motors carry current, powering or braking.
                                 {"[Lamp_Ele]", "lamp_ele", "主回路", QColor(120, 200, 255)},
                                 {"[Lamp_Ats1]", "lamp_ats1", "ATS", QColor(245, 245, 245)},
                                 {"[Lamp_Ats2]", "lamp_ats2", "ATS", QColor(255, 50, 40)},
                                 {"[Lamp_ATSP1]", "lamp_atsp1", "P接近", QColor(255, 170, 40)},
                                 {"[Lamp_ATSP2]", "lamp_atsp2", "Pブレ", QColor(255, 60, 40)},
                                 {"[Lamp_Fwd]", "lamp_fwd", "前", QColor(80, 230, 120)},
                                 {"[Lamp_Back]", "lamp_back", "後", QColor(255, 170, 40)},
                                 {"[Lamp_Stop]", "lamp_stop", "停車", QColor(255, 230, 90)},
                                 {"[Lamp_Const]", "lamp_const", "定速", QColor(80, 230, 120)}};
    d_.comment("表示灯: ファイル,x,y");
    // Two rows from y 108, clear of the kilometre post that the program writes at y 91 (313 series)
    // or 94 (383 series) of the panel.
    for (size_t i = 0; i < list.size(); ++i) {
      const int x = 290 + static_cast<int>(i % 8) * 38, y = y0 + 108 + static_cast<int>(i / 8) * 24;
      a_.picture(img(list[i].name), paint::lamp(36, 20, list[i].label, list[i].colour));
      d_.line(list[i].key).line(img(list[i].name)).line(num(x)).line(num(y));
    }
  }

  void needle(const char* key, const std::string& name, int size, QColor colour, int x, int y, const char* a0, const char* k,
              const char* eighth) {
    a_.picture(img(name), paint::needle(size, size, colour));
    d_.line(key).line(img(name)).line(num(x)).line(num(y)).line("0").line("0").line(a0).line(k);
    if (std::string(key) == "[Needle_Speed]" || std::string(key) == "[Needle_I]") d_.line(eighth);
  }

  void bar(const char* key, const std::string& name, QColor colour, int x) {
    a_.picture(img(name), paint::linearBar(6, 60, colour));
    d_.line(key).line(img(name)).line(num(x)).line("750").line("0.05");
  }

  void strip(const char* key, const std::string& name, int x, int y, const std::vector<std::string>& labels, QColor fg) {
    a_.picture(img(name), paint::textStrip(80, 28, labels, fg, QColor(16, 16, 16)));
    d_.line(key).line(num(x)).line(num(y)).line("80").line("28").line(img(name));
  }

  // Extra pictures; the third shows the right-hand doors selected, the fifth the passenger who
  // runs for the doors after an announcement.
  void others(int y0) {
    d_.comment("その他の画像: ファイル,x,y（3番目は右側ドア選択、5番目は駆け込み乗車）");
    d_.line("[Others]");
    auto row = [&](const std::string& name, const QImage& image, int x, int y) {
      a_.picture(img(name), image);
      d_.line(img(name)).line(num(x)).line(num(y));
    };
    row("placard", paint::placard(80, 18, v_.kind == Kind::Diesel ? "普通" : "1234M", QColor(20, 20, 20), Qt::white), 620, y0 + 138);
    row("oneman", paint::placard(80, 18, "ワンマン", QColor(30, 90, 200), Qt::white), 710, y0 + 138);
    row("doorside", paint::placard(74, 20, "右側ドア", QColor(250, 200, 30), Qt::black), 290, y0 + 78);
    row("spare", paint::placard(74, 20, "予備", QColor(90, 90, 90), Qt::white), 370, y0 + 78);
    row("passenger", paint::passenger(160, 320), 320, 240);
    d_.end();
  }

  Assets& a_;
  Vehicle v_;
  DataFile d_;
};

}  // namespace

void writeVehicleFiles(Assets& assets) {
  // Masses: 313 series 1M1T per two cars, about 32 t a car; 383 series 3M3T, about 35.5 t a car.
  const std::vector<Vehicle> vehicles = {
      {Kind::Emu313, "train_313-1000_8cars.dat", "313系1000番台 8両編成", "image\\313\\", 8, 132.0, 60.0, 64.0},
      {Kind::Emu313, "train_313-1000_10cars.dat", "313系1000番台 10両編成", "image\\313\\", 10, 165.0, 90.0, 64.0},
      {Kind::Emu383, "train_383.dat", "383系 6両編成", "image\\383\\", 6, 114.0, 33.0, 66.0},
      {Kind::Diesel, "train_kiha25.dat", "キハ25形 2両編成（気動車）", "image\\kiha25\\", 2, 80.0, 0.0, 0.0},
  };
  for (const auto& v : vehicles) VehicleWriter(assets, v).write();
}

}  // namespace kestrel::demo
