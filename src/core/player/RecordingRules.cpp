// Row texts of the catalogue: recording files, event type, size and date.
#include "core/player/RecordingRules.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/common/CivilDays.h"

namespace vx {
namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr int kMinutesPerDay = 1440;
// About 12 700 years either side of 1970: beyond every date the text can show, and far from overflow.
constexpr std::int64_t kFarthestSeconds = 400'000'000'000;

// The number written by `count` decimal digits at `at`, or -1 when any of them is not a digit.
int DigitsValue(std::u16string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return -1;
    value = value * 10 + (text[i] - u'0');
  }
  return value;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::u16string Widen(const char* ascii) { return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii)); }

}  // namespace

bool HasRecordingExtension(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view tail = name.substr(name.size() - 4);
  return tail == ".MP4" || tail == ".AVI" || tail == ".mp4" || tail == ".avi";
}

std::u16string_view EventTypeOf(std::u16string_view path) {
  if (path.empty()) return u"None";
  const char16_t letter = path.size() < 7 ? path.front() : path[path.size() - 7];
  switch (letter) {
    case u'E': case u'e': return u"Event";
    case u'D': case u'd': return u"Drive";
    case u'P': case u'p': return u"Parking";
    default: return u"None";
  }
}

std::u16string SizeText(std::uint64_t bytes) {
  const std::uint64_t megabytes = bytes >> 20;
  // A remainder of 1000 to 1023 kilobytes would print "10"; it is still less than a tenth short of the next MB.
  const std::uint64_t tenth = std::min<std::uint64_t>(((bytes >> 10) & 1023) / 100, 9);
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%llu.%llu", static_cast<unsigned long long>(megabytes),
                static_cast<unsigned long long>(tenth));
  return Widen(text.data());
}

std::u16string DateText(std::int64_t utcSeconds, int offsetMinutes) {
  if (utcSeconds > kFarthestSeconds || utcSeconds < -kFarthestSeconds) return {};
  std::int64_t days = FloorDiv(utcSeconds, kSecondsPerDay);
  const std::int64_t minuteOfDay = (utcSeconds - days * kSecondsPerDay) / 60;
  days += FloorDiv(offsetMinutes + minuteOfDay, kMinutesPerDay);
  const CivilDate date = CivilFromDays(days);
  if (date.year < 1 || date.year > 9999) return {};
  std::array<char, 48> text{};
  std::snprintf(text.data(), text.size(), "%02d.%02d.%02d", static_cast<int>(date.year % 100), date.month,
                date.day);
  return Widen(text.data());
}

std::optional<NameStamp> OwnNameStamp(std::u16string_view fileName) {
  // "YYYYMMDD_HHMMSS_": sixteen characters before the type letter and number.
  constexpr std::size_t kStampLength = 16;
  if (fileName.size() < kStampLength || fileName[8] != u'_' || fileName[15] != u'_') return {};
  return ValidStamp(DigitsValue(fileName, 0, 4), DigitsValue(fileName, 4, 2), DigitsValue(fileName, 6, 2),
                    DigitsValue(fileName, 9, 2), DigitsValue(fileName, 11, 2), DigitsValue(fileName, 13, 2));
}

std::u16string NameDateText(std::u16string_view fileName) { return StampDateText(OwnNameStamp(fileName)); }

std::optional<NameStamp> ValidStamp(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return {};
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return {};
  return NameStamp{year, month, day, hour, minute, second};
}

std::u16string StampDateText(const std::optional<NameStamp>& stamp) {
  if (!stamp) return {};
  std::array<char, 48> text{};
  std::snprintf(text.data(), text.size(), "%02d.%02d.%02d", stamp->year % 100, stamp->month, stamp->day);
  return Widen(text.data());
}

std::int64_t CreationSeconds(std::optional<std::int64_t> birthSeconds, std::int64_t modifiedSeconds) {
  return birthSeconds ? std::min(*birthSeconds, modifiedSeconds) : modifiedSeconds;
}

}  // namespace vx
