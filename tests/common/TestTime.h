// Time for tests: a fixed computer time zone, and UTC moments written as dates.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace vx::test {

// Sets the computer's time zone (the TZ variable, as a POSIX rule that needs no zone database) for one scope.
class ScopedComputerZone {
 public:
  explicit ScopedComputerZone(const char* tz) {
    if (const char* old = std::getenv("TZ")) m_strOld = old;
    ::setenv("TZ", tz, 1);
    ::tzset();
  }
  ~ScopedComputerZone() {
    if (m_strOld) {
      ::setenv("TZ", m_strOld->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
  ScopedComputerZone(const ScopedComputerZone&) = delete;
  ScopedComputerZone& operator=(const ScopedComputerZone&) = delete;

 private:
  std::optional<std::string> m_strOld;
};

// Seconds since 1970 of a UTC date and time.
inline std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second = 0) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return ::timegm(&t);
}

}  // namespace vx::test
