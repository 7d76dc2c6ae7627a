#include "tools/author/iso_time.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace kestrel::author {

namespace {

bool digits(std::string_view text, size_t at, size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::optional<double> parseIsoTime(std::string_view text) {
  // Blanks around the element's text are common in hand-edited files.
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  int year, month, day, hour, minute, second;
  if (!digits(text, 0, 4, year) || text.size() < 19 || text[4] != '-' || !digits(text, 5, 2, month) ||
      text[7] != '-' || !digits(text, 8, 2, day) || (text[10] != 'T' && text[10] != ' ') ||
      !digits(text, 11, 2, hour) || text[13] != ':' || !digits(text, 14, 2, minute) || text[16] != ':' ||
      !digits(text, 17, 2, second))
    return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
    return std::nullopt;
  size_t at = 19;
  double fraction = 0;
  if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
    double scale = 0.1;
    size_t from = ++at;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10) fraction += (text[at] - '0') * scale;
    if (at == from) return std::nullopt;
  }
  int offsetSeconds = 0;
  if (at < text.size()) {
    if (text[at] == 'Z' && at + 1 == text.size()) {
      ++at;
    } else if ((text[at] == '+' || text[at] == '-') && text.size() == at + 6 && text[at + 3] == ':') {
      int oh, om;
      if (!digits(text, at + 1, 2, oh) || !digits(text, at + 4, 2, om) || oh > 23 || om > 59) return std::nullopt;
      offsetSeconds = (text[at] == '-' ? -1 : 1) * (oh * 3600 + om * 60);
      at = text.size();
    } else {
      return std::nullopt;
    }
  }
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  const std::time_t utc = timegm(&tm);
  return static_cast<double>(utc) - offsetSeconds + fraction;
}

std::string formatIsoTime(double seconds) {
  const long long totalMillis = std::llround(seconds * 1000);
  long long whole = totalMillis / 1000, millis = totalMillis % 1000;
  if (millis < 0) millis += 1000, whole -= 1;
  const auto t = static_cast<std::time_t>(whole);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buffer[40];
  const int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", tm.tm_year + 1900,
                              tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  std::string text(buffer, static_cast<size_t>(n));
  if (millis != 0) {
    std::snprintf(buffer, sizeof buffer, ".%03lld", millis);
    text += buffer;
  }
  return text + "Z";
}

}  // namespace kestrel::author
