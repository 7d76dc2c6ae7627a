#include "tools/run/check_summary.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/data/jump_menu.h"

namespace kestrel::run {

namespace {

using Counts = std::vector<std::pair<const char*, size_t>>;

void printCounts(std::ostream& out, const char* title, const Counts& counts) {
  out << "  " << title << ":";
  size_t column = 4 + std::string(title).size();
  for (size_t i = 0; i < counts.size(); ++i) {
    const auto& [name, count] = counts[i];
    std::string item = std::string(" ") + name + " " + std::to_string(count) + (i + 1 < counts.size() ? "," : "");
    if (column + item.size() > 100) {
      out << "\n   ";
      column = 3;
    }
    out << item;
    column += item.size();
  }
  out << "\n";
}

std::string metres(double cm) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f m", cm / 100.0);
  return buffer;
}

void printSettings(const SettingsData& s, std::ostream& out) {
  out << "settings (railvane.dat, mascon.dat):\n"
      << "  Disp: TickRate " << s.Disp.TickRate << ", MovieFrameFactor " << s.Disp.MovieFrameFactor << ", StafX "
      << s.Disp.StafX << ", W x H " << s.Disp.DisplayWidth << " x " << s.Disp.MovieHeight << ", PanelHeight "
      << s.Disp.PanelHeight << "\n"
      << "  Path: \"" << s.Path << "\"\n";
  printCounts(out, "tables", {{"InfoLabel", s.InfoLabel.size()}, {"mascon", s.mascon.size()}});
}

void printVehicle(const LoadedSession& session, std::ostream& out) {
  const VehicleParams& v = session.vehicle;
  out << "vehicle (" << session.choice.vehicleFileName << "):\n"
      << "  " << (v.Engine_Type == 1 ? "electric train" : "diesel railcar") << ", Cars " << v.Cars << ", Tons "
      << v.Tons.toString() << ", BrakeType " << v.BrakeType << ", Brake " << v.Brake << ", Power " << v.Power
      << ", MaxSpeed " << v.MaxSpeed << ", ATS_Type " << v.ATS_Type << "\n";
  printCounts(out, "tables",
              {{"SwitchSound", v.SwitchSound.size()}, {"EngineRate", v.EngineRate.size()},
               {"Notch", v.Notch.size()}, {"CurrentP", v.CurrentP.size()}, {"BrakeCurr", v.BrakeCurr.size()},
               {"CurrentB", v.CurrentB.size()}, {"Engine", v.Engine.size()}, {"PowerMode", v.PowerMode.size()},
               {"EngineSound1", v.EngineSound1.size()}, {"EngineSound3", v.EngineSound3.size()},
               {"DriveSound", v.DriveSound.size()}, {"Lamp_signal", session.panel.Lamp_signalPatterns.size()},
               {"Others", session.panel.Others.size()}});
}

void printLine(const LoadedSession& session, std::ostream& out) {
  const LineData& l = session.line;
  out << "line (" << session.choice.lineFileName << "): " << l.LineName << "\n"
      << "  movie: \"" << session.settings.Path << l.DataName << ".avi\", StartPos " << l.StartPos
      << ", FrameRate " << l.FrameRate << ", Friction " << l.Friction.toString() << "\n";
  printCounts(out, "tables",
              {{"StafSwitch", l.StafSwitch.size()},
               {"MovieStop", l.MovieStop.size()},
               {"MovieSwitch", l.MovieSwitch.size()},
               {"Speed_Signal", l.Speed_Signal.size()},
               {"Pre_Train", l.Pre_Train.rows.size()},
               {"SoundData", l.SoundData.size()},
               {"Announce", l.AnnounceTable.rows.size()},
               {"KankoSound2", l.KankoSound2.size()},
               {"Sound", l.Sound.size()},
               {"Sound2", l.Sound2.size()},
               {"Doppler", l.Doppler.size()},
               {"Tunnel", l.Tunnel.size()},
               {"Atten", l.Atten.size()},
               {"Station", l.Station.size()},
               {"StopSound", l.StopSound.size()},
               {"Signal", l.Signal.size()},
               {"TrafficSignal", l.TrafficSignal.size()},
               {"Slope", l.Slope.size()},
               {"Sign", l.Sign.size()},
               {"Anim", l.Anim.size()},
               {"SignalKanko", l.SignalKanko.size()},
               {"StationKanko", l.StationKanko.size()},
               {"SpeedLimit", l.SpeedLimit.size()},
               {"SpeedCheck1", l.SpeedCheck1.size()},
               {"SpeedCheck2", l.SpeedCheck2.size()},
               {"OtherKanko", l.OtherKanko.size()},
               {"LimitKanko", l.LimitKanko.size()},
               {"AnimImageList", l.AnimImageList.size()},
               {"TrafficSignalImageList", l.TrafficSignalImageList.size()},
               {"SpeedUnit", l.SpeedUnit.size()},
               {"CrossImageList", l.CrossImageList.size()},
               {"Cross", l.Cross.size()},
               {"Time", l.Time.size()},
               {"Switch", l.Switch.size()}});
  if (!l.SpeedUnit.empty())
    out << "  [SpeedUnit] frames " << l.SpeedUnit.front().start << " to " << l.SpeedUnit.back().end << ": "
        << metres(l.SpeedUnit.back().endDistanceCm) << "\n";
  out << "  merged events: " << l.events.size() << ", monitor: " << (l.Monitor.loaded ? "img_mon" : "none")
      << ", sprites: " << session.pictures.pictures.size() << "\n";
}

void printStations(const LineData& l, std::ostream& out) {
  out << "stations (stop position -> distance; platform):\n";
  for (size_t i = 0; i < l.Station.size(); ++i) {
    const StationRow& s = l.Station[i];
    out << "  " << i << " " << s.name << ": type " << s.type() << ", frame " << s.stopFrame() << " -> "
        << static_cast<long long>(s.stopDistanceCm) << " cm (" << metres(s.stopDistanceCm) << "); platform "
        << static_cast<long long>(s.platformStartCm) << " to " << static_cast<long long>(s.platformEndCm)
        << " cm\n";
  }
  out << "jump menu:";
  for (const JumpMenuEntry& e : jumpMenuEntries(l)) out << " " << e.name << " " << e.caption << ";";
  out << "\n";
}

}  // namespace

void printCheckSummary(const LoadedSession& session, std::ostream& out) {
  out << "kestrel-run --check: " << session.choice.lineFileName << " with " << session.choice.vehicleFileName
      << " in " << session.choice.programDirectory.string() << ": loaded\n";
  printSettings(session.settings, out);
  printVehicle(session, out);
  printLine(session, out);
  printStations(session.line, out);
  if (session.warnings.empty()) {
    out << "warnings: none\n";
  } else {
    out << "warnings:\n";
    for (const std::string& w : session.warnings) out << "  " << w << "\n";
  }
}

}  // namespace kestrel::run
