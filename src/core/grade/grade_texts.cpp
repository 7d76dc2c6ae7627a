#include "core/grade/grade_texts.h"

#include <charconv>
#include <cmath>

#include "core/util/rounding.h"

namespace kestrel::grade::texts {

namespace {

std::string kmh(double speed) {
  return std::to_string(roundHalfAway(speed)) + " km/h";
}

// Under a metre in centimetres, else in metres with two decimals.
std::string length(double cm) {
  const double a = std::fabs(cm);
  if (roundHalfAway(a) < 100) return std::to_string(roundHalfAway(a)) + " cm";
  return decimal(a / 100, 2) + " m";
}

std::string where(double errorCm) {
  if (roundHalfAway(errorCm) == 0) return "on the stop target";
  return length(errorCm) + (errorCm < 0 ? " short of the stop target" : " past the stop target");
}

}  // namespace

std::string decimal(double value, int places) {
  const double scale = std::pow(10.0, places);
  double v = std::round(value * scale) / scale;
  if (v == 0) v = 0;  // no "-0.0"
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, places);
  return std::string(buf, r.ptr);
}

std::string stop(const std::string& station, double errorCm) {
  return station + ": stopped " + where(errorCm);
}
std::string stopOutside(const std::string& station, double errorCm) {
  return station + ": stopped " + where(errorCm) + ", outside the platform";
}
std::string stopPassed(const std::string& station) {
  return station + ": passed without stopping";
}
std::string arrivalLate(const std::string& station, int32_t lateS) {
  return station + ": arrived " + std::to_string(lateS) + " s late";
}
std::string departureEarly(const std::string& station, int32_t earlyS) {
  return station + ": left " + std::to_string(earlyS) + " s early";
}
std::string departureLate(const std::string& station, int32_t lateS) {
  return station + ": left " + std::to_string(lateS) + " s late";
}
std::string overspeed(int32_t limit, int32_t ticks, double peakSpeed) {
  return decimal(ticks / 10.0, 1) + " s over the " + std::to_string(limit) + " km/h limit, up to " + kmh(peakSpeed);
}
std::string signalAtStop(double speed) {
  return "Passed a signal at stop at " + kmh(speed);
}
std::string atsWarning(double speed) {
  return "ATS warning at " + kmh(speed);
}
std::string atsPatternBrake(double speed, int32_t pattern) {
  return "ATS pattern brake at " + kmh(speed) + " (pattern " + std::to_string(pattern) + " km/h)";
}
std::string atcBrake(double speed) {
  return "ATC brake at " + kmh(speed);
}
std::string atsEmergency(double speed) {
  return "ATS emergency brake at " + kmh(speed);
}
std::string rollbackEmergency(double speed) {
  return "Rollback protection: emergency brake at " + kmh(speed);
}
std::string emergencyBrake(double speed) {
  return "Emergency brake at " + kmh(speed);
}
std::string vigilanceBrake(double speed) {
  return "Vigilance device: emergency brake at " + kmh(speed);
}
std::string comfortDeceleration(double kmhPerS) {
  return "Braked at " + decimal(kmhPerS, 1) + " km/h/s before the stand";
}
std::string comfortJerk(double kmhPerS2) {
  return "Stopped with a jerk of " + decimal(kmhPerS2, 0) + " km/h/s²";
}
std::string brakeReversal(int32_t times) {
  return "Brake released and applied again " + std::to_string(times) + (times == 1 ? " time" : " times") +
         " while stopping";
}
std::string jumped(const std::string& station) {
  return "Moved to " + station;
}
std::string restored() {
  return "Restored a saved drive";
}
std::string examVoid() {
  return "exam void";
}

}  // namespace kestrel::grade::texts
