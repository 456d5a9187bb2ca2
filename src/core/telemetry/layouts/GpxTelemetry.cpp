// GPX points from the XML tokens: position, time, elevation, speed and course, then the recording's time.
#include "core/telemetry/layouts/GpxTelemetry.h"

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/telemetry/layouts/XmlTokens.h"

namespace vx {
namespace {

constexpr double kEarthRadiusM = 6371008.8;  // mean radius
constexpr double kMaxSpeedKmh = 1000.0;      // beyond any car: a damaged field
constexpr std::int64_t kMaxMediaMs = 0xFFFFFFFFll;
constexpr std::int64_t kMsPerDay = 86400000;

enum PointKind { kTrackPoint, kRoutePoint, kWayPoint, kNoPoint };

PointKind KindOf(std::string_view name) {
  if (name == "trkpt") return kTrackPoint;
  if (name == "rtept") return kRoutePoint;
  return name == "wpt" ? kWayPoint : kNoPoint;
}

struct GpxPoint {
  std::optional<double> latitude;
  std::optional<double> longitude;
  std::optional<double> elevation;
  std::optional<std::int64_t> utcMs;
  std::optional<double> speedMs;
  std::optional<double> course;
};

// The whole text as one decimal number (blanks around it allowed), in the C locale.
std::optional<double> Number(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "2024-06-12T08:30:05.250Z", with "Z", "+02:00", "-0500" or no zone (UTC); nullopt for an impossible date.
std::optional<std::int64_t> IsoTimeMs(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  const auto digits = [&text](std::size_t at, std::size_t count) -> int {
    int value = 0;
    if (at + count > text.size()) return -1;
    for (std::size_t i = at; i < at + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  if (text.size() < 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
  const int hour = digits(11, 2), minute = digits(14, 2), second = digits(17, 2);
  if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 60 || hour < 0 || minute < 0 || second < 0) {
    return std::nullopt;
  }
  std::size_t at = 19;
  double fraction = 0.0;
  if (at < text.size() && text[at] == '.') {
    double scale = 0.1;
    for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10) fraction += (text[at] - '0') * scale;
  }
  std::int64_t zoneMs = 0;
  const std::string_view zone = text.substr(at);
  if (zone == "Z") {
  } else if (!zone.empty()) {
    const bool colon = zone.size() == 6 && zone[3] == ':';
    const int zoneHour = digits(at + 1, 2), zoneMinute = digits(at + (colon ? 4 : 3), 2);
    if ((zone[0] != '+' && zone[0] != '-') || (zone.size() != 5 && !colon) || zoneHour < 0 || zoneHour > 14 ||
        zoneMinute < 0 || zoneMinute > 59) {
      return std::nullopt;
    }
    zoneMs = (zone[0] == '+' ? 1 : -1) * (zoneHour * 60 + zoneMinute) * 60000ll;
  }
  return DaysFromCivil(year, month, day) * kMsPerDay + ((hour * 60 + minute) * 60 + second) * 1000ll +
         std::llround(fraction * 1000.0) - zoneMs;
}

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

double DistanceM(const GpsSample& a, const GpsSample& b) {
  const double dLat = Radians(b.latitude - a.latitude), dLon = Radians(b.longitude - a.longitude);
  const double h = std::pow(std::sin(dLat / 2), 2) +
                   std::cos(Radians(a.latitude)) * std::cos(Radians(b.latitude)) * std::pow(std::sin(dLon / 2), 2);
  return 2 * kEarthRadiusM * std::asin(std::min(1.0, std::sqrt(h)));
}

double BearingDeg(const GpsSample& a, const GpsSample& b) {
  const double lat1 = Radians(a.latitude), lat2 = Radians(b.latitude), dLon = Radians(b.longitude - a.longitude);
  const double y = std::sin(dLon) * std::cos(lat2);
  const double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
  return std::fmod(std::atan2(y, x) * 180.0 / std::numbers::pi + 360.0, 360.0);
}

// Collects the points of each kind as the tokens pass.
class PointReader {
 public:
  void Start(const XmlToken& token) {
    m_field.clear();
    if (m_open) return;
    const PointKind kind = KindOf(token.name);
    if (kind == kNoPoint) return;
    m_open = GpxPoint{};
    m_openKind = kind;
    for (const auto& [name, value] : token.attributes) {
      if (name == "lat") m_open->latitude = Number(value);
      if (name == "lon") m_open->longitude = Number(value);
    }
    if (token.selfClosing) Finish();
  }
  void Text(const std::string& text) { m_field += text; }
  void End(std::string_view name) {
    if (!m_open) return;
    if (KindOf(name) == m_openKind) return Finish();
    if (name == "ele") m_open->elevation = Number(m_field);
    if (name == "time") m_open->utcMs = IsoTimeMs(m_field);
    if (name == "speed") m_open->speedMs = Number(m_field);
    if (name == "course") m_open->course = Number(m_field);
    m_field.clear();
  }
  // The fixes of the first kind that has any, in time order.
  std::vector<GpsSample> Fixes() const {
    for (const std::vector<GpsSample>& fixes : m_fixes) {
      if (!fixes.empty()) return fixes;
    }
    return {};
  }
  bool SawUntimedPoints() const { return m_bUntimed; }

 private:
  void Finish() {
    const GpxPoint point = *m_open;
    m_open.reset();
    if (!point.latitude || !point.longitude || std::abs(*point.latitude) > 90.0 || std::abs(*point.longitude) > 180.0 ||
        (*point.latitude == 0.0 && *point.longitude == 0.0)) {
      return;
    }
    m_bUntimed |= !point.utcMs;
    std::vector<GpsSample>& fixes = m_fixes[m_openKind];
    if (!point.utcMs || (!fixes.empty() && *point.utcMs < *fixes.back().utcMs)) return;
    GpsSample fix;
    fix.valid = true;
    fix.utcMs = point.utcMs;
    fix.latitude = *point.latitude;
    fix.longitude = *point.longitude;
    fix.altitudeM = point.elevation;
    if (point.speedMs && *point.speedMs >= 0.0 && *point.speedMs * 3.6 <= kMaxSpeedKmh) {
      fix.speedKmh = *point.speedMs * 3.6;
    } else {
      fix.speedKmh = -1.0;  // worked out from the neighbours once all points are in
    }
    if (point.course && *point.course >= 0.0 && *point.course <= 360.0) fix.headingDeg = point.course;
    fixes.push_back(fix);
  }

  std::optional<GpxPoint> m_open;
  PointKind m_openKind = kNoPoint;
  std::string m_field;
  std::array<std::vector<GpsSample>, 3> m_fixes;
  bool m_bUntimed = false;
};

// Speed and heading that the points do not state, from the segment to the point before (the first point:
// to the point after).
void FillMotion(std::vector<GpsSample>& fixes) {
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    if (fixes.size() < 2 || (fixes[i].speedKmh >= 0.0 && fixes[i].headingDeg)) continue;
    const GpsSample& from = fixes[i == 0 ? 0 : i - 1];
    const GpsSample& to = fixes[i == 0 ? 1 : i];
    const std::int64_t ms = *to.utcMs - *from.utcMs;
    if (fixes[i].speedKmh < 0.0 && ms > 0) fixes[i].speedKmh = std::min(kMaxSpeedKmh, DistanceM(from, to) / static_cast<double>(ms) * 3600.0);
    if (!fixes[i].headingDeg && DistanceM(from, to) > 0.0) fixes[i].headingDeg = BearingDeg(from, to);
  }
  for (GpsSample& fix : fixes) fix.speedKmh = std::max(0.0, fix.speedKmh);
}

}  // namespace

TelemetryTrack ReadGpxText(std::span<const std::uint8_t> bytes, std::optional<std::int64_t> startUtcMs,
                           std::int64_t offsetMs) {
  TelemetryTrack track;
  track.layout = kGpxLayoutName;
  XmlTokenizer tokens(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  PointReader points;
  for (bool root = true;;) {
    const XmlToken token = tokens.Next();
    if (token.kind == XmlToken::Kind::Done) break;
    if (token.kind == XmlToken::Kind::Error) {
      track.warning = (token.offset >= bytes.size() ? "GPX cut short at byte " : "damaged GPX at byte ") +
                      std::to_string(token.offset);
      break;
    }
    if (root && token.name != "gpx") {
      track.warning = "not a GPX file";
      break;
    }
    root = false;
    if (token.kind == XmlToken::Kind::Start) points.Start(token);
    if (token.kind == XmlToken::Kind::Text) points.Text(token.text);
    if (token.kind == XmlToken::Kind::End) points.End(token.name);
  }
  std::vector<GpsSample> fixes = points.Fixes();
  if (fixes.empty() && points.SawUntimedPoints() && track.warning.empty()) track.warning = "GPX points have no times";
  FillMotion(fixes);
  const std::int64_t start = (startUtcMs ? *startUtcMs : fixes.empty() ? 0 : *fixes.front().utcMs) + offsetMs;
  for (GpsSample& fix : fixes) {
    const std::int64_t mediaMs = *fix.utcMs - start;
    if (mediaMs < 0 || mediaMs > kMaxMediaMs) continue;
    fix.mediaMs = static_cast<std::uint32_t>(mediaMs);
    track.gps.push_back(fix);
  }
  return track;
}

TelemetryTrack ReadGpxTelemetry(const SideFiles& side) {
  TelemetryTrack track;
  if (!side) return track;
  for (const char* suffix : {".gpx", ".GPX"}) {
    const std::unique_ptr<ByteSource> file = side(suffix);
    if (!file) continue;
    std::string warning;
    track = ReadGpxText(ReadWhole(*file, warning), std::nullopt, 0);
    if (track.warning.empty()) track.warning = warning;
    break;
  }
  return track;
}

}  // namespace vx
