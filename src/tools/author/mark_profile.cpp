#include "tools/author/mark_profile.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tools/author/author_error.h"
#include "tools/author/input_file.h"

namespace kestrel::author {

namespace {

std::string trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return std::string(s);
}

bool number(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && std::isfinite(value);
}

// Fritsch-Carlson tangents of a monotone cubic through (x, y).
std::vector<double> tangents(const std::vector<double>& x, const std::vector<double>& y) {
  const size_t n = x.size();
  std::vector<double> delta(n - 1), m(n);
  for (size_t k = 0; k + 1 < n; ++k) delta[k] = (y[k + 1] - y[k]) / (x[k + 1] - x[k]);
  m[0] = delta[0];
  m[n - 1] = delta[n - 2];
  for (size_t k = 1; k + 1 < n; ++k) {
    if (delta[k - 1] * delta[k] <= 0) {
      m[k] = 0;
      continue;
    }
    const double h0 = x[k] - x[k - 1], h1 = x[k + 1] - x[k];
    m[k] = 3 * (h0 + h1) / ((2 * h1 + h0) / delta[k - 1] + (h1 + 2 * h0) / delta[k]);
  }
  return m;
}

}  // namespace

std::vector<Mark> parseMarks(const std::string& text, const std::string& fileName) {
  std::vector<Mark> marks;
  std::istringstream in(text);
  std::string raw;
  int32_t number_ = 0;
  bool header = true;
  while (std::getline(in, raw)) {
    ++number_;
    const std::string row = trimmed(raw);
    if (row.empty() || row.front() == '#') continue;
    const size_t comma = row.find(',');
    double frame = 0, km = 0;
    const bool ok = comma != std::string::npos && row.find(',', comma + 1) == std::string::npos &&
                    number(trimmed(row.substr(0, comma)), frame) && number(trimmed(row.substr(comma + 1)), km);
    const std::string at = fileName + ":" + std::to_string(number_) + ": ";
    if (!ok) {
      if (header && marks.empty()) {  // "frame,kilometre"
        header = false;
        continue;
      }
      throw AuthorError(at + "not a mark: \"" + row + "\" (give frame,kilometre)");
    }
    header = false;
    if (frame < 0 || frame != std::floor(frame)) throw AuthorError(at + "the frame must be a whole number from 0");
    if (!marks.empty() && frame <= marks.back().frame)
      throw AuthorError(at + "frame " + std::to_string(static_cast<int64_t>(frame)) + " does not follow frame " +
                        std::to_string(static_cast<int64_t>(marks.back().frame)) + " (line " +
                        std::to_string(marks.back().line) + ")");
    if (marks.size() >= 2 && (km - marks.back().kilometre) * (marks[1].kilometre - marks[0].kilometre) <= 0)
      throw AuthorError(at + "the kilometres turn back or stand still here; a movie runs one way along the line");
    if (marks.size() == 1 && km == marks[0].kilometre)
      throw AuthorError(at + "the kilometre is the same as the mark before; a movie runs one way along the line");
    marks.push_back({frame, km, number_});
  }
  if (marks.size() < 2)
    throw AuthorError(fileName + ": " + std::to_string(marks.size()) + (marks.size() == 1 ? " mark" : " marks") +
                      "; at least two are needed");
  return marks;
}

std::vector<Mark> readMarks(const std::filesystem::path& path) {
  return parseMarks(readInputFile(path), path.string());
}

std::vector<double> markDistancesCm(const std::vector<Mark>& marks, int64_t frames, const std::string& fileName) {
  std::string missing;
  if (marks.front().frame > 0)
    missing += "frames 0 to " + std::to_string(static_cast<int64_t>(marks.front().frame) - 1) +
               " lie before the first mark (line " + std::to_string(marks.front().line) + "): add a mark at frame 0";
  if (marks.back().frame < static_cast<double>(frames - 1)) {
    if (!missing.empty()) missing += "; ";
    missing += "frames " + std::to_string(static_cast<int64_t>(marks.back().frame) + 1) + " to " +
               std::to_string(frames - 1) + " lie after the last mark (line " + std::to_string(marks.back().line) +
               "): add a mark at frame " + std::to_string(frames - 1);
  }
  if (!missing.empty()) throw AuthorError(fileName + ": the marks do not span the movie: " + missing);

  std::vector<double> x, y;
  for (const Mark& m : marks) {
    x.push_back(m.frame);
    y.push_back(std::fabs(m.kilometre - marks.front().kilometre) * 100000);
  }
  const std::vector<double> m = tangents(x, y);
  std::vector<double> out(static_cast<size_t>(frames));
  size_t k = 0;
  for (int64_t f = 0; f < frames; ++f) {
    const double fx = static_cast<double>(f);
    while (k + 2 < x.size() && fx > x[k + 1]) ++k;
    const double h = x[k + 1] - x[k], t = (fx - x[k]) / h;
    const double t2 = t * t, t3 = t2 * t;
    out[static_cast<size_t>(f)] = (2 * t3 - 3 * t2 + 1) * y[k] + (t3 - 2 * t2 + t) * h * m[k] +
                                  (-2 * t3 + 3 * t2) * y[k + 1] + (t3 - t2) * h * m[k + 1];
  }
  const double origin = out.front();
  for (double& d : out) d -= origin;
  return out;
}

}  // namespace kestrel::author
