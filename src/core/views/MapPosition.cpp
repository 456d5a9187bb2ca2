// Fix lookup, coordinate conversion and the texts handed to the map page.
#include "core/views/MapPosition.h"

#include <array>
#include <cmath>

#include "core/common/CFormat.h"

namespace vx {
namespace {

constexpr std::array<std::string_view, 5> kPages = {"MapView.htm", "MapView_En.htm", "MapView_Por.htm",
                                                     "MapView_Ja.htm", "MapView_Tw.htm"};
constexpr int kEnglish = 1;

// "%lf": six decimals, always with a full stop.
std::string Lf(double value) { return FormatFixed(value, 6); }

std::string CallText(std::string_view function, double first, double second) {
  return "javascript:" + std::string(function) + "('" + Lf(first) + "', '" + Lf(second) + "')";
}

// A valid fix with coordinates on the globe and readable numbers: text the page can take as a number.
bool IsTrackPoint(const CGPSData& fix) {
  const double lon = NmeaToDegrees(fix.longitude);
  const double lat = NmeaToDegrees(fix.latitude);
  return fix.valid != 0 && std::fabs(lon) <= 180.0 && std::fabs(lat) <= 90.0 && std::isfinite(fix.speed) &&
         std::isfinite(fix.course) && std::fabs(fix.speed) < 1e6 && std::fabs(fix.course) < 1e6;
}

}  // namespace

std::string_view MapPageFile(int languageIndex) {
  const bool known = languageIndex >= 0 && languageIndex < static_cast<int>(kPages.size());
  return kPages[static_cast<std::size_t>(known ? languageIndex : kEnglish)];
}

const CGPSData* FixAtOrAfter(const CArray<CGPSData>& fixes, std::uint32_t positionMs) {
  for (const CGPSData& fix : fixes) {
    if (fix.time >= positionMs) return &fix;
  }
  return nullptr;
}

double NmeaToDegrees(double stored) {
  const double x = stored * 0.01;
  const double degrees = std::trunc(x);
  return degrees + (x - degrees) * 100.0 / 60.0;
}

std::string DrawCurrentText(const CGPSData& fix) {
  return CallText("DrawCurrent", NmeaToDegrees(fix.longitude), NmeaToDegrees(fix.latitude));
}

std::string DrawMotionText(const CGPSData& fix) { return CallText("DrawMotion", fix.speed, fix.course); }

std::optional<MapPositionCalls> MapCallsForPosition(const CArray<CGPSData>& fixes, std::uint32_t positionMs) {
  const CGPSData* fix = FixAtOrAfter(fixes, positionMs);
  if (!fix || fix->valid == 0) return std::nullopt;
  return MapPositionCalls{DrawMotionText(*fix), DrawCurrentText(*fix)};
}

std::string DrawTrackJavaScript(const CArray<CGPSData>& fixes) {
  std::string points;
  for (const CGPSData& fix : fixes) {
    if (!IsTrackPoint(fix)) continue;
    if (!points.empty()) points += ',';
    points += '[' + Lf(NmeaToDegrees(fix.longitude)) + ',' + Lf(NmeaToDegrees(fix.latitude)) + ',' +
              FormatFixed(fix.speed, 1) + ',' + FormatFixed(fix.course, 1) + ',' + std::to_string(fix.time) + ']';
  }
  return "if(typeof DrawTrack==='function')DrawTrack([" + points + "]);";
}

std::optional<std::int64_t> PageSeekTarget(double ms, std::int64_t durationMs) {
  if (durationMs <= 0 || !std::isfinite(ms) || ms < 0 || ms > static_cast<double>(durationMs)) return std::nullopt;
  return static_cast<std::int64_t>(ms);
}

}  // namespace vx
