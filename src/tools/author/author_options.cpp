#include "tools/author/author_options.h"

#include <cmath>
#include <cstdlib>

namespace kestrel::author {

namespace {

bool decimal(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && std::isfinite(value);
}

bool pair(const std::string& text, double& a, double& b) {
  const size_t comma = text.find(',');
  return comma != std::string::npos && decimal(text.substr(0, comma), a) && decimal(text.substr(comma + 1), b);
}

std::string check(const AuthorOptions& o) {
  const bool track = !o.gpx.empty();
  const bool clock = o.offset || !o.sync.empty();
  if (o.command == AuthorCommand::SpeedUnit && track == !o.marks.empty()) return "give either --gpx or --marks";
  if (o.command == AuthorCommand::Locate && !track) return "locate needs --gpx";
  if (o.command == AuthorCommand::Locate && o.places.empty()) return "locate needs at least one --at LAT,LON";
  if (track && !clock) return "give --offset S or --sync FRAME=TIME to tie the movie to the track's clock";
  if (o.offset && !o.sync.empty()) return "give --offset or --sync, not both";
  if (!track && clock) return "--offset and --sync belong to a --gpx track";
  const bool movie = !o.movie.empty() || !o.line.empty();
  if (!o.movie.empty() && !o.line.empty()) return "give --movie or --line, not both";
  if (!o.data.empty() && o.line.empty()) return "--data belongs to --line";
  if (!movie && !o.fps) return "give --movie FILE or --line FILE, or --fps R with --frames N";
  if (o.command == AuthorCommand::SpeedUnit && !movie && !o.frames)
    return "give --frames N (the movie's frame count), or --movie FILE or --line FILE";
  if (!o.places.empty() && o.command != AuthorCommand::Locate) return "--at belongs to locate";
  return {};
}

}  // namespace

ParsedAuthorOptions parseAuthorOptions(const std::vector<std::string>& args) {
  ParsedAuthorOptions parsed;
  if (args.empty()) {
    parsed.error = "no command";
    return parsed;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    parsed.help = true;
    return parsed;
  }
  AuthorOptions o;
  if (args[0] == "speedunit") {
    o.command = AuthorCommand::SpeedUnit;
  } else if (args[0] == "locate") {
    o.command = AuthorCommand::Locate;
  } else {
    parsed.error = "unknown command " + args[0];
    return parsed;
  }
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      parsed.help = true;
      return parsed;
    }
    if (i + 1 >= args.size()) {
      parsed.error = a.rfind("--", 0) == 0 ? a + " needs a value" : "unexpected " + a;
      return parsed;
    }
    const std::string& v = args[++i];
    double x = 0, y = 0;
    auto bad = [&](const std::string& what) {
      parsed.error = a + " " + v + ": " + what;
      return parsed;
    };
    if (a == "--gpx") {
      o.gpx = v;
    } else if (a == "--marks") {
      o.marks = v;
    } else if (a == "--movie") {
      o.movie = v;
    } else if (a == "--line") {
      o.line = v;
    } else if (a == "--data") {
      o.data = v;
    } else if (a == "--out") {
      o.out = v;
    } else if (a == "--fps") {
      if (!decimal(v, x) || x <= 0) return bad("a frame rate above 0");
      o.fps = x;
    } else if (a == "--frames") {
      if (!decimal(v, x) || x < 2 || x != std::floor(x) || x > 2147483647) return bad("a whole frame count of 2 or more");
      o.frames = static_cast<int64_t>(x);
    } else if (a == "--offset") {
      if (!decimal(v, x)) return bad("seconds");
      o.offset = x;
    } else if (a == "--sync") {
      o.sync.push_back(v);
    } else if (a == "--tolerance") {
      if (!pair(v, x, y) || x <= 0 || y <= 0) return bad("PERCENT,METRES, both above 0 (default 0.5,2)");
      o.tolerance = {x / 100, y};
    } else if (a == "--at") {
      if (!pair(v, x, y) || std::fabs(x) > 90 || std::fabs(y) > 180) return bad("LAT,LON in degrees");
      o.places.emplace_back(x, y);
    } else {
      parsed.error = "unknown option " + a;
      return parsed;
    }
  }
  parsed.error = check(o);
  if (parsed.error.empty()) parsed.options = o;
  return parsed;
}

const char* authorUsage() {
  return "usage: kestrel-author speedunit --gpx FILE (--offset S | --sync FRAME=TIME ...) MOVIE\n"
         "                                [--tolerance PERCENT,METRES] [--out FILE]\n"
         "       kestrel-author speedunit --marks FILE.csv MOVIE [--tolerance PERCENT,METRES] [--out FILE]\n"
         "       kestrel-author locate --gpx FILE --at LAT,LON [--at LAT,LON ...]\n"
         "                             (--offset S | --sync FRAME=TIME ...) MOVIE\n"
         "MOVIE: --movie FILE | --line FILE [--data DIR] | --fps R --frames N\n"
         "\n"
         "speedunit writes the line file's [SpeedUnit] table for a route movie, from the GPS track\n"
         "recorded while filming or from marks of known kilometrage (frame,kilometre rows). The rows'\n"
         "distances stay within the tolerance (default 0.5 %, but at least 2 m) of the track's at\n"
         "every frame. locate gives the frame at which the train passed nearest each place.\n"
         "\n"
         "  --offset S          frame 0 was filmed S seconds after the track's first point\n"
         "  --sync FRAME=TIME   frame FRAME was filmed at TIME (2024-05-01T09:12:03Z, or seconds\n"
         "                      after the track's first point); two or more pairs also fix the rate\n"
         "  --movie FILE        the route movie: its frame rate and frame count\n"
         "  --line FILE         the route movie of this line file of the content folder (--data\n"
         "                      DIR, or found as every program finds it)\n"
         "  --fps R, --frames N the same, given (they override the movie's)\n"
         "  --out FILE          write the table there instead of to stdout\n"
         "\n"
         "Exit status: 0 done, 2 bad input (the message says what and where), 64 bad usage.\n";
}

}  // namespace kestrel::author
