#pragma once
// The short texts of the grading events, as the debrief and the report show them. Numbers are
// written the same in every locale.
#include <cstdint>
#include <string>

namespace kestrel::grade::texts {

// `places` decimals, '.' as the point, no "-0".
std::string decimal(double value, int places);

std::string stop(const std::string& station, double errorCm);
std::string stopOutside(const std::string& station, double errorCm);
std::string stopPassed(const std::string& station);
std::string arrivalLate(const std::string& station, int32_t lateS);
std::string departureEarly(const std::string& station, int32_t earlyS);
std::string departureLate(const std::string& station, int32_t lateS);
std::string overspeed(int32_t limit, int32_t ticks, double peakSpeed);
std::string signalAtStop(double speed);
std::string atsWarning(double speed);
std::string atsPatternBrake(double speed, int32_t pattern);
std::string atcBrake(double speed);
std::string atsEmergency(double speed);
std::string rollbackEmergency(double speed);
std::string emergencyBrake(double speed);
std::string vigilanceBrake(double speed);
std::string comfortDeceleration(double kmhPerS);
std::string comfortJerk(double kmhPerS2);
std::string brakeReversal(int32_t times);
std::string jumped(const std::string& station);
std::string restored();
std::string examVoid();

}  // namespace kestrel::grade::texts
