// A deterministic drive through Seoul: speed and heading drift smoothly, the sensors add road noise.
#include "DriveSimulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>

#include "core/common/CFormat.h"

namespace vx::mkcard {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 111320.0;
constexpr int kCameraUtcOffsetHours = 9;
constexpr int kUnitsPerG = 32;

struct CarState {
  double latDeg = 37.5665;
  double lonDeg = 126.9780;
  double courseDeg = 80.0;
  double speedKmh = 0.0;
};

// Start of a trip: the car has been out since 06:00, so later trips start further on.
CarState TripStart(const DriveScript& script, const LocalTime& tripStart) {
  CarState car;
  const double minutes = (tripStart.hour - 6) * 60.0 + tripStart.minute;
  car.latDeg += 0.0009 * std::sin(minutes / 17.0) * std::max(1.0, minutes / 30.0);
  car.lonDeg += 0.0011 * std::cos(minutes / 23.0) * std::max(1.0, minutes / 30.0);
  car.courseDeg = std::fmod(80.0 + minutes * 7.0, 360.0);
  car.speedKmh = script.parked ? 0.0 : 42.0;
  return car;
}

void AppendGps(Drive& drive, const DriveScript& script, const CarState& car, int second) {
  const LocalTime utc = ShiftSeconds(script.start, second - kCameraUtcOffsetHours * 3600LL);
  const bool lost = script.signalLossFrom >= 0 && second >= script.signalLossFrom &&
                    second < script.signalLossFrom + script.signalLossSeconds;
  drive.records.push_back({static_cast<std::uint32_t>(second * 1000),
                           MakeGpsRecord(utc, !lost, car.latDeg, car.lonDeg, car.speedKmh / 1.852, car.courseDeg)});
}

double ImpactShock(const DriveScript& script, int ms) {
  if (script.impactMs < 0 || ms < script.impactMs) return 0.0;
  return std::exp(-(ms - script.impactMs) / 150.0);
}

// `t` moved by `seconds`, read as UTC, in seconds since 1970.
std::time_t SecondsSince1970(const LocalTime& t, long long seconds) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = static_cast<int>(t.second + seconds);
  return timegm(&tm);
}

// An emergency stop: 0.6 g for 1.5 s, or until the car stands.
constexpr int kBrakeMs = 1500;
constexpr double kBrakeKmhPerTick = 0.6 * 9.81 * 3.6 * 0.1;

bool Braking(const DriveScript& script, int tripMs) {
  return script.brakeTripMs >= 0 && tripMs >= script.brakeTripMs && tripMs < script.brakeTripMs + kBrakeMs;
}

int AxisUnits(double g) { return std::clamp(static_cast<int>(std::lround(g * kUnitsPerG)), -127, 128); }

}  // namespace

LocalTime ShiftSeconds(const LocalTime& t, long long seconds) {
  const std::time_t flat = SecondsSince1970(t, seconds);
  std::tm out{};
  gmtime_r(&flat, &out);
  return {out.tm_year + 1900, out.tm_mon + 1, out.tm_mday, out.tm_hour, out.tm_min, out.tm_sec};
}

std::vector<std::uint8_t> MakeGSensorRecord(int x, int y, int z) {
  auto byteOf = [](int value) { return static_cast<std::uint8_t>(128 - value); };
  return {'M', byteOf(x), byteOf(y), byteOf(z)};
}

std::vector<std::uint8_t> MakeGpsRecord(const LocalTime& utc, bool valid, double latDeg, double lonDeg,
                                        double speedKnots, double courseDeg) {
  char clock[16], date[8];
  std::snprintf(clock, sizeof clock, "%02d%02d%02d.00", utc.hour, utc.minute, utc.second);
  std::snprintf(date, sizeof date, "%02d%02d%02d", utc.day, utc.month, utc.year % 100);
  std::string body = std::string("GPRMC,") + clock;
  if (valid) {
    auto degMin = [](double deg) { return std::floor(deg) * 100.0 + (deg - std::floor(deg)) * 60.0; };
    body += ",A," + FormatFixedZeroPadded(degMin(std::fabs(latDeg)), 4, 9) + (latDeg < 0 ? ",S," : ",N,") +
            FormatFixedZeroPadded(degMin(std::fabs(lonDeg)), 4, 10) + (lonDeg < 0 ? ",W," : ",E,") +
            FormatFixed(speedKnots, 2) + "," + FormatFixed(courseDeg, 2) + "," + date + ",,,A";
  } else {
    body += std::string(",V,,,,,,,") + date + ",,,N";
  }
  // NMEA checksum: XOR of the characters between '$' (not stored) and '*'.
  unsigned checksum = 0;
  for (const char c : body) checksum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", checksum);
  body += tail;
  std::vector<std::uint8_t> record(body.begin(), body.end());
  record.push_back(0);
  return record;
}

std::int64_t StartUtcMs(const DriveScript& script) {
  return static_cast<std::int64_t>(SecondsSince1970(script.start, -kCameraUtcOffsetHours * 3600LL)) * 1000;
}

Drive SimulateDrive(const DriveScript& script) {
  std::mt19937 rng(script.seed);
  std::normal_distribution<double> noise(0.0, 1.0);
  CarState car = TripStart(script, ShiftSeconds(script.start, -script.tripSecondsBefore));
  Drive drive;
  const double dt = 0.1;
  double targetSpeed = car.speedKmh, turnRate = 0.0;
  // The trip is replayed from its start; only this recording's part is kept.
  for (int tripTick = 0; tripTick < (script.tripSecondsBefore + script.seconds) * 10; ++tripTick) {
    const int tick = tripTick - script.tripSecondsBefore * 10;
    const int ms = tick * 100;
    if (tick >= 0 && tick % 10 == 0) AppendGps(drive, script, car, tick / 10);
    if (!script.parked && tripTick % 30 == 0) {
      targetSpeed = std::clamp(targetSpeed + 8.0 * noise(rng), 20.0, 75.0);
      turnRate = std::clamp(4.0 * noise(rng), -9.0, 9.0);
    }
    const double shock = ImpactShock(script, ms);
    const double before = car.speedKmh;
    car.speedKmh = script.parked ? 0.0 : before + (targetSpeed - before) * 0.05;
    if (!script.parked && Braking(script, tripTick * 100)) {
      car.speedKmh = std::max(0.0, before - kBrakeKmhPerTick);
      targetSpeed = car.speedKmh;  // the driver pulls away gently afterwards
    }
    if (shock > 0.9) car.speedKmh *= 0.6;
    const double road = script.parked ? 0.005 : 0.03;
    const double along = (car.speedKmh - before) / 3.6 / dt / 9.81 - 3.2 * shock + road * noise(rng);
    const double lateral = (car.speedKmh / 3.6) * (turnRate * kPi / 180.0) / 9.81 + 1.5 * shock + road * noise(rng);
    const double vertical = 1.0 + 1.2 * shock + 2 * road * noise(rng);
    if (tick >= 0) {
      drive.records.push_back({static_cast<std::uint32_t>(ms),
                               MakeGSensorRecord(AxisUnits(along), AxisUnits(lateral), AxisUnits(vertical))});
      drive.motion.push_back({car.speedKmh, script.parked ? 0.0 : turnRate, shock});
    }
    car.courseDeg = std::fmod(car.courseDeg + turnRate * dt + 360.0, 360.0);
    const double metres = car.speedKmh / 3.6 * dt;
    car.latDeg += metres * std::cos(car.courseDeg * kPi / 180.0) / kMetresPerDegree;
    car.lonDeg += metres * std::sin(car.courseDeg * kPi / 180.0) / (kMetresPerDegree * std::cos(car.latDeg * kPi / 180.0));
  }
  return drive;
}

}  // namespace vx::mkcard
