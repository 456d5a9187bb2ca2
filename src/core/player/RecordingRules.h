// The texts of one catalogue row: which files are recordings, the event type, the size and the date.
//
// The catalogue's search worker and the open and drop commands build each row with these rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

// True when the last four characters are exactly ".MP4", ".AVI", ".mp4" or ".avi" (so "a.Avi" is not one).
// Works on the bytes of a file name or path as the file system gives them.
bool HasRecordingExtension(std::string_view name);

// "Event", "Drive", "Parking" or "None" from the letter seven characters from the end of the full path
// (its first character when the path is shorter): E/e, D/d, P/p, anything else.
std::u16string_view EventTypeOf(std::u16string_view path);

// Megabytes with one decimal: whole megabytes, then the kilobyte remainder / 100 as one digit (at most 9).
std::u16string SizeText(std::uint64_t bytes);

// "yy.mm.dd" of the local date of a UTC time (seconds since 1970), with the zone's offset from UTC in minutes.
// m = offset + hour x 60 + minute: m < 0 moves the date one day back, m >= 1440 one day forward. Empty for a
// date outside the years 1 to 9999.
std::u16string DateText(std::int64_t utcSeconds, int offsetMinutes);

// A date and time of day read from a file name, in the camera's local time.
struct NameStamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The stamp when the year is 1 to 9999 and both the date and the time of day exist (no 30 February, no hour
// 24, no second 60); nothing otherwise.
std::optional<NameStamp> ValidStamp(int year, int month, int day, int hour, int minute, int second);

// The camera's own time in a file name "YYYYMMDD_HHMMSS_..." (a valid date and time of day), as it stands:
// the camera names its files in its local time. Nothing when the name does not start so.
std::optional<NameStamp> OwnNameStamp(std::u16string_view fileName);

// "yy.mm.dd" of a stamp; empty for none.
std::u16string StampDateText(const std::optional<NameStamp>& stamp);

// "yy.mm.dd" of OwnNameStamp.
std::u16string NameDateText(std::u16string_view fileName);

// When a file came to be: the earlier of its birth time (where the file system keeps one) and its
// modification time. A card copied to a disk keeps the modification times, while the copies are born on
// the day of the copy.
std::int64_t CreationSeconds(std::optional<std::int64_t> birthSeconds, std::int64_t modifiedSeconds);

}  // namespace vx
