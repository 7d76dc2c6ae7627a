#include "tools/run/session_json.h"

namespace kestrel::run {

using Json = nlohmann::ordered_json;

namespace {

Json decimal(Fixed f) { return f.toDouble(); }

template <class T>
Json optionalText(const std::optional<T>& v) {
  return v ? Json(*v) : Json(nullptr);
}

template <int N>
Json intRow(const IntRow<N>& row) {
  Json a = Json::array();
  for (int n = 1; n <= N; ++n) a.push_back(row.f(n));
  return a;
}

template <class Rows, class F>
Json rows(const Rows& rows, F toJson) {
  Json a = Json::array();
  for (const auto& r : rows) a.push_back(toJson(r));
  return a;
}

template <class Rows>
Json intRows(const Rows& list) {
  return rows(list, [](const auto& r) { return intRow(r); });
}

Json picture(const PanelPicture& p) { return {{"file", p.file}, {"x", p.x}, {"y", p.y}}; }

Json needle(const NeedleSection& n) {
  return {{"file", n.file}, {"x", n.x}, {"y", n.y}, {"unused1", n.unused1}, {"unused2", n.unused2},
          {"a0", n.a0},     {"k", n.k}, {"k2", n.k2}, {"mode", n.mode}};
}

Json linear(const LinearGauge& g) { return {{"file", g.file}, {"x", g.x}, {"baseY", g.baseY}, {"k", g.k}}; }

Json pattern(const PatternImage& p) {
  return {{"x", p.x},
          {"y", p.y},
          {"patternWidth", p.patternWidth},
          {"patternHeight", p.patternHeight},
          {"file", p.file}};
}

Json catalogPicture(const CatalogPicture& p) {
  return {{"name", p.name},
          {"file", p.file},
          {"pictureWidth", p.picture ? p.picture->width : 0},
          {"pictureHeight", p.picture ? p.picture->height : 0},
          {"x", p.x},
          {"y", p.y},
          {"z", p.z},
          {"width", p.width},
          {"height", p.height},
          {"patternWidth", p.patternWidth},
          {"patternHeight", p.patternHeight},
          {"transparent", p.transparent},
          {"transparentColor", p.transparentColor},
          {"rotating", p.rotating},
          {"alpha", p.alpha},
          {"visible", p.visible}};
}

Json pictureList(const PictureList& list) {
  return {{"pictures", rows(list.pictures, catalogPicture)}, {"width", list.width}, {"height", list.height}};
}

}  // namespace

Json settingsJson(const SettingsData& s) {
  Json j;
  j["Disp"] = {{"TickRate", s.Disp.TickRate},       {"MovieFrameFactor", s.Disp.MovieFrameFactor},
               {"StafX", s.Disp.StafX},             {"DisplayWidth", s.Disp.DisplayWidth},
               {"MovieHeight", s.Disp.MovieHeight}, {"PanelHeight", s.Disp.PanelHeight}};
  j["Path"] = s.Path;
  for (auto [name, text] : {std::pair{"Forward", &s.Forward}, {"Neutral", &s.Neutral}, {"Reverse", &s.Reverse},
                            {"Stop", &s.Stop}, {"Pass", &s.Pass}, {"Stop2", &s.Stop2}, {"Neut", &s.Neut},
                            {"Neut2", &s.Neut2}, {"Apply", &s.Apply}, {"Maintain", &s.Maintain},
                            {"Remove", &s.Remove}, {"Hold", &s.Hold}, {"Hold2", &s.Hold2}, {"EB", &s.EB},
                            {"Const", &s.Const}, {"Cars", &s.Cars}, {"TC", &s.TC}})
    j[name] = *text;
  j["Stops"] = s.Stops;
  j["Doors"] = s.Doors;
  j["Gears"] = s.Gears;
  j["InfoLabel"] = s.InfoLabel;
  for (auto [name, caption] : {std::pair{"Start", &s.Start}, {"Move", &s.Move}, {"Display", &s.Display},
                               {"Control", &s.Control}, {"Save", &s.Save}})
    j[name] = optionalText(*caption);
  j["mascon"] = s.mascon;
  const Preferences& p = s.preferences;
  j["preferences"] = {{"Kanko", p.CalloutsOff},
                      {"Information", p.NoCommentary},
                      {"ATS", p.AtsOff},
                      {"Tunnel", p.VisualEffectsOff},
                      {"Moji", p.TextMode}};
  const ControllerCodes& c = s.controller;
  j["controller"] = {{"P", c.P}, {"B", c.B}, {"EB", c.EB}};
  return j;
}

Json vehicleJson(const VehicleParams& v) {
  Json j;
  j["Handle"] = v.Handle;
  j["BrakeType"] = v.BrakeType;
  j["BrakeType2"] = v.BrakeType2;
  j["Brake"] = v.Brake;
  j["Power"] = v.Power;
  j["NotchBack"] = v.NotchBack;
  j["Hold"] = v.Hold;
  j["Pull"] = v.Pull;
  j["Const"] = v.Const;
  j["Back"] = v.Back;
  j["BrakeRate"] = rows(v.BrakeRate, decimal);
  j["BrakeRate2"] = v.BrakeRate2;
  for (auto [name, value] :
       {std::pair{"PowerDelay", v.PowerDelay}, {"BrakeDelay", v.BrakeDelay}, {"EBrakeDelay", v.EBrakeDelay},
        {"PowerJerk", v.PowerJerk}, {"SAPDelay", v.SAPDelay}, {"BrakeUp", v.BrakeUp}, {"BrakeDown", v.BrakeDown},
        {"SAPUp", v.SAPUp}, {"SAPDown", v.SAPDown}, {"EBrakeUp", v.EBrakeUp}, {"EBrakeDown", v.EBrakeDown},
        {"EBrakeCurr", v.EBrakeCurr}, {"BPReturn", v.BPReturn}, {"MAXPress", v.MAXPress}, {"EBPress", v.EBPress},
        {"SAPPress", v.SAPPress}, {"HighAirPress", v.HighAirPress}, {"LowAirPress", v.LowAirPress},
        {"Engine_Type", v.Engine_Type}, {"DoorLock", v.DoorLock}, {"Power_Type", v.Power_Type},
        {"Brake_Type", v.Brake_Type}, {"DoorType", v.DoorType}})
    j[name] = value;
  j["Mt"] = decimal(v.Mt);
  j["Tt"] = decimal(v.Tt);
  j["Tct"] = decimal(v.Tct);
  j["Cars"] = v.Cars;
  j["Tons"] = decimal(v.Tons);
  for (auto [name, value] :
       {std::pair{"EB", v.EB}, {"MaxSpeed", v.MaxSpeed}, {"Lose_elec", v.Lose_elec}, {"ELBR", v.ELBR},
        {"Mc", v.Mc}, {"ATS_Type", v.ATS_Type}, {"ATS_Alert", v.ATS_Alert}, {"ATS_Time", v.ATS_Time},
        {"ATS_Cnt", v.ATS_Cnt}})
    j[name] = value;
  j["Sound_BK"] = v.Sound_BK;
  j["Sound_BR"] = v.Sound_BR;
  j["Sound_BA"] = v.Sound_BA;
  j["Sound_PA"] = v.Sound_PA;
  j["Sound_PR"] = v.Sound_PR;
  j["Sound_EB"] = v.Sound_EB;
  j["Sound_Apply"] = v.Sound_Apply;
  for (auto [name, value] : {std::pair{"Sound_Ats1", v.Sound_Ats1}, {"Sound_Ats2", v.Sound_Ats2},
                             {"Sound_Ats3", v.Sound_Ats3}, {"Sound_Atc", v.Sound_Atc}, {"Sound_Horn", v.Sound_Horn},
                             {"Sound_Horn2", v.Sound_Horn2}, {"Sound_Horn3", v.Sound_Horn3}})
    j[name] = value;
  Json horn4 = v.Sound_Horn4;
  horn4.push_back(v.Sound_Horn4Value);
  j["Sound_Horn4"] = horn4;
  for (auto [name, value] :
       {std::pair{"Sound_DoorOpen", v.Sound_DoorOpen}, {"Sound_DoorClose", v.Sound_DoorClose},
        {"Sound_EBring", v.Sound_EBring}, {"Sound_squeak", v.Sound_squeak}, {"CP_Start", v.CP_Start},
        {"CP_Cnt", v.CP_Cnt}, {"CP_End", v.CP_End}, {"Stop", v.Stop}, {"Buzzer", v.Buzzer},
        {"DepSign", v.DepSign}, {"ATS_Warn", v.ATS_Warn}, {"Gear_Type", v.Gear_Type}})
    j[name] = value;
  j["SwitchSound"] = rows(v.SwitchSound, [](const SwitchSoundRow& r) { return Json{r.channel, r.threshold, r.kind}; });
  j["EngineRate"] = rows(v.EngineRate, [](const EngineRateRow& r) { return Json{r.offset, r.ratio}; });
  j["Notch"] = rows(v.Notch, [](const NotchRow& r) { return Json{r.A, r.B, r.C, r.D, r.E, r.group}; });
  j["CurrentPHeader"] = {v.CurrentPHead.Iref, v.CurrentPHead.a0, v.CurrentPHead.vc};
  j["CurrentP"] = rows(v.CurrentP, [](const CurrentPRow& r) { return Json{r.notch, r.a, r.b, r.extra}; });
  j["BrakeCurr"] = v.BrakeCurr;
  j["CurrentB"] = rows(v.CurrentB, [](const CurrentBRow& r) { return Json{r.a, r.b, r.extra}; });
  j["Engine"] = rows(v.Engine, [](const EngineRow& r) { return Json{r.s0, r.s1, r.s2, r.e0, r.e1, r.e2}; });
  j["PowerMode"] = rows(v.PowerMode, [](const PowerModeRow& r) { return Json{r.prefix, r.name}; });
  j["EngineSound1"] = rows(v.EngineSound1, [](const EngineSound1Row& r) {
    return Json{r.file, r.type, r.s0, r.s1, r.s2, r.p0, r.p1, r.p2, r.w0, r.w1, r.w2};
  });
  j["EngineSound2"] = v.EngineSound2;
  j["EngineSound3"] = rows(v.EngineSound3, [](const EngineSound3Row& r) {
    Json row = {r.file, r.i1, r.i2};
    for (double d : r.d) row.push_back(d);
    return row;
  });
  j["DriveSound"] = v.DriveSound;
  j["powerModeIndex"] = v.powerModeIndex;
  return j;
}

Json panelJson(const PanelLayout& p) {
  Json j;
  j["Clock"] = {{"x", p.Clock.x}, {"y", p.Clock.y}, {"r", p.Clock.r}};
  for (auto [name, pic] :
       {std::pair{"Panel", &p.Panel}, {"Panel2", &p.Panel2}, {"Lamp_Door", &p.Lamp_Door},
        {"Lamp_Power", &p.Lamp_Power}, {"Lamp_EB", &p.Lamp_EB}, {"Lamp_Gen", &p.Lamp_Gen}, {"Lamp_Air", &p.Lamp_Air},
        {"Lamp_Fin", &p.Lamp_Fin}, {"Lamp_Ele", &p.Lamp_Ele}, {"Lamp_Ats1", &p.Lamp_Ats1},
        {"Lamp_Ats2", &p.Lamp_Ats2}, {"Lamp_ATSP1", &p.Lamp_ATSP1}, {"Lamp_ATSP2", &p.Lamp_ATSP2},
        {"Lamp_Fwd", &p.Lamp_Fwd}, {"Lamp_Back", &p.Lamp_Back}, {"Lamp_Stop", &p.Lamp_Stop},
        {"Lamp_Const", &p.Lamp_Const}, {"Lamp_G", &p.Lamp_G}, {"Lamp_YG", &p.Lamp_YG}, {"Lamp_Y", &p.Lamp_Y},
        {"Lamp_YY", &p.Lamp_YY}, {"Lamp_R", &p.Lamp_R}})
    j[name] = picture(*pic);
  for (auto [name, n] : {std::pair{"Needle_Speed", &p.Needle_Speed}, {"Needle_BC", &p.Needle_BC},
                         {"Needle_SAP", &p.Needle_SAP}, {"Needle_ER", &p.Needle_ER}, {"Needle_BP", &p.Needle_BP},
                         {"Needle_MR", &p.Needle_MR}, {"Needle_V", &p.Needle_V}, {"Needle_I", &p.Needle_I}})
    j[name] = needle(*n);
  j["Needle_BC_L"] = linear(p.Needle_BC_L);
  j["Needle_MR_L"] = linear(p.Needle_MR_L);
  for (auto [name, pat] :
       {std::pair{"Lamp_signal", &p.Lamp_signal}, {"NotchImageP", &p.NotchImageP}, {"NotchImageB", &p.NotchImageB},
        {"NotchImageP2", &p.NotchImageP2}, {"NotchImageB2", &p.NotchImageB2}, {"GearImageList", &p.GearImageList},
        {"GearImageList2", &p.GearImageList2}, {"Digi_Speed", &p.Digi_Speed}})
    j[name] = pattern(*pat);
  j["Lamp_signalPatterns"] = rows(p.Lamp_signalPatterns, [](const std::optional<int32_t>& v) { return optionalText(v); });
  j["Others"] = rows(p.Others, picture);
  return j;
}

Json lineJson(const LineData& l) {
  Json j;
  j["LineName"] = l.LineName;
  j["LineName2"] = l.LineName2;
  j["StartPos"] = l.StartPos;
  j["FrameRate"] = l.FrameRate;
  j["Staf"] = l.Staf;
  j["Friction"] = decimal(l.Friction);
  j["DataName"] = l.DataName;
  j["Perspective"] = {{"P", l.PerspectiveValues.P}, {"K", l.PerspectiveValues.K}};
  j["OneMan"] = l.OneMan;
  j["TunnelR"] = l.TunnelR;
  const MonitorSection& m = l.Monitor;
  j["Monitor"] = {{"vehicle", m.vehicle}, {"loaded", m.loaded},           {"x", m.x},
                  {"y", m.y},             {"patternWidth", m.patternWidth}, {"patternHeight", m.patternHeight},
                  {"file", m.file}};
  j["KankoSound1"] = l.KankoSound1;
  j["SignImageList"] = l.hasSignImageList ? rows(l.SignImageList, [](const SignImage& s) {
    return Json{{"file", s.file}, {"size", s.size}};
  })
                                          : Json(nullptr);
  j["SignalImageList"] = l.hasSignalImageList ? rows(l.SignalImageList, [](const SignalImage& s) {
    return Json{{"x", s.x}, {"y", s.y}, {"width", s.width}, {"height", s.height}, {"file", s.file}};
  })
                                              : Json(nullptr);
  j["Pre_Train"] = {{"startPos", l.Pre_Train.startPos}, {"removePos", l.Pre_Train.removePos}};
  j["Announce"] = {{"first", l.AnnounceTable.first}};

  Json tables;
  for (auto [name, count] :
       {std::pair{"StafSwitch", l.StafSwitch.size()}, {"MovieStop", l.MovieStop.size()},
        {"MovieSwitch", l.MovieSwitch.size()}, {"Speed_Signal", l.Speed_Signal.size()},
        {"Pre_Train", l.Pre_Train.rows.size()}, {"SoundData", l.SoundData.size()},
        {"Announce", l.AnnounceTable.rows.size()}, {"KankoSound2", l.KankoSound2.size()}, {"Sound", l.Sound.size()},
        {"Sound2", l.Sound2.size()}, {"Doppler", l.Doppler.size()}, {"Tunnel", l.Tunnel.size()},
        {"Atten", l.Atten.size()}, {"Station", l.Station.size()}, {"StopSound", l.StopSound.size()},
        {"Signal", l.Signal.size()}, {"TrafficSignal", l.TrafficSignal.size()}, {"Slope", l.Slope.size()},
        {"Sign", l.Sign.size()}, {"Anim", l.Anim.size()}, {"SignalKanko", l.SignalKanko.size()},
        {"StationKanko", l.StationKanko.size()}, {"SpeedLimit", l.SpeedLimit.size()},
        {"SpeedCheck1", l.SpeedCheck1.size()}, {"SpeedCheck2", l.SpeedCheck2.size()},
        {"OtherKanko", l.OtherKanko.size()}, {"LimitKanko", l.LimitKanko.size()},
        {"AnimImageList", l.AnimImageList.size()}, {"TrafficSignalImageList", l.TrafficSignalImageList.size()},
        {"SpeedUnit", l.SpeedUnit.size()}, {"CrossImageList", l.CrossImageList.size()}, {"Cross", l.Cross.size()},
        {"Time", l.Time.size()}, {"Switch", l.Switch.size()}})
    tables[name] = count;
  j["tables"] = tables;

  j["stations"] = rows(l.Station, [](const StationRow& s) {
    return Json{{"name", s.name},
                {"type", s.type()},
                {"stopFrame", s.stopFrame()},
                {"stopDistanceCm", s.stopDistanceCm},
                {"platformStartCm", s.platformStartCm},
                {"platformEndCm", s.platformEndCm}};
  });
  j["speedUnit"] = rows(l.SpeedUnit, [](const SpeedUnitRow& r) {
    return Json{{"start", r.start}, {"end", r.end}, {"vStart", r.vStart}, {"vEnd", r.vEnd},
                {"endDistanceCm", r.endDistanceCm}};
  });
  j["events"] = rows(l.events, [](const LineEvent& e) {
    return Json{{"distanceCm", e.distanceCm}, {"value", e.value}, {"index", e.index}, {"kind", e.kind}};
  });
  j["soundLengths"] = l.soundLengths;
  j["signals"] = rows(l.Signal, [](const SignalRow& s) {
    return Json{{"fields", intRow(s)}, {"positionCm", s.positionCm}};
  });
  j["speedLimits"] = rows(l.SpeedLimit, [](const SpeedLimitRow& s) {
    return Json{{"fields", intRow(s)}, {"startCm", s.startCm}};
  });
  j["slopes"] = rows(l.Slope, [](const SlopeRow& s) { return Json{decimal(s.gradient), s.start, s.end}; });
  j["tunnels"] = rows(l.Tunnel, [](const TunnelRow& t) {
    return Json{{"entry", t.entry}, {"exit", t.exit}, {"level", t.level}, {"entryCm", t.entryCm},
                {"exitCm", t.exitCm}};
  });
  j["sounds"] = intRows(l.Sound);
  return j;
}

Json picturesJson(const PictureCatalog& c) {
  Json j;
  j["sprites"] = rows(c.pictures, catalogPicture);
  j["stafCard"] = c.stafCard ? catalogPicture(*c.stafCard) : Json(nullptr);
  j["subDisplay"] = c.subDisplay ? catalogPicture(*c.subDisplay) : Json(nullptr);
  j["AnimImageList"] = pictureList(c.AnimImageList);
  j["TrafficSignalImageList"] = pictureList(c.TrafficSignalImageList);
  j["CrossImageList"] = pictureList(c.CrossImageList);
  return j;
}

Json sessionJson(const LoadedSession& s) {
  Json j;
  j["settings"] = settingsJson(s.settings);
  j["vehicle"] = vehicleJson(s.vehicle);
  j["panel"] = panelJson(s.panel);
  j["line"] = lineJson(s.line);
  j["pictures"] = picturesJson(s.pictures);
  j["warnings"] = s.warnings;
  return j;
}

}  // namespace kestrel::run
