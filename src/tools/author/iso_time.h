#pragma once
// Times of day as GPS tracks write them: ISO 8601 date and time, "2024-05-01T09:12:03Z",
// "2024-05-01T09:12:03.250Z" or with an offset "2024-05-01T18:12:03+09:00".
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::author {

// Seconds since 1970-01-01 00:00 UTC; nullopt when the text is no such time. Without a zone the
// time counts as UTC, as GPX defines it.
std::optional<double> parseIsoTime(std::string_view text);

// The time again in the form above (UTC, milliseconds when they are not zero), for messages.
std::string formatIsoTime(double seconds);

}  // namespace kestrel::author
