// Day counts and Gregorian dates: floor division and the civil date of a day number since 1970-01-01.
#pragma once

#include <cstdint>

namespace vx {

// a / b rounded toward minus infinity, so that moments before 1970 fall on the right day.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b);

struct CivilDate {
  std::int64_t year;
  int month;
  int day;
};

// The proleptic Gregorian date of the day `days` after 1 January 1970 (400-year eras).
CivilDate CivilFromDays(std::int64_t days);

}  // namespace vx
