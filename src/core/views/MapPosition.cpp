// Fix lookup and the texts handed to the map page.
#include "core/views/MapPosition.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/cardindex/EventRows.h"
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

double Heading(const GpsSample& fix) { return fix.headingDeg.value_or(0.0); }

// Not-a-number fails both comparisons.
bool OnGlobe(double latitude, double longitude) { return std::fabs(longitude) <= 180.0 && std::fabs(latitude) <= 90.0; }

// A valid fix with coordinates on the globe and readable numbers: text the page can take as a number.
bool IsTrackPoint(const GpsSample& fix) {
  const double speed = fix.speedKmh;
  const double heading = Heading(fix);
  return fix.valid && OnGlobe(fix.latitude, fix.longitude) &&
         std::isfinite(speed) && std::isfinite(heading) && std::fabs(speed) < 1e6 && std::fabs(heading) < 1e6;
}

}  // namespace

std::string_view MapPageFile(int languageIndex) {
  const bool known = languageIndex >= 0 && languageIndex < static_cast<int>(kPages.size());
  return kPages[static_cast<std::size_t>(known ? languageIndex : kEnglish)];
}

bool HasValidFix(std::span<const GpsSample> fixes) {
  return std::ranges::any_of(fixes, [](const GpsSample& fix) { return fix.valid; });
}

const GpsSample* FixAtOrAfter(std::span<const GpsSample> fixes, std::uint32_t positionMs) {
  const auto found = std::ranges::find_if(fixes, [=](const GpsSample& fix) { return fix.mediaMs >= positionMs; });
  return found == fixes.end() ? nullptr : &*found;
}

std::string DrawCurrentText(const GpsSample& fix) { return CallText("DrawCurrent", fix.longitude, fix.latitude); }

std::string DrawMotionText(const GpsSample& fix) { return CallText("DrawMotion", fix.speedKmh, Heading(fix)); }

std::optional<MapPositionCalls> MapCallsForPosition(std::span<const GpsSample> fixes, std::uint32_t positionMs) {
  const GpsSample* fix = FixAtOrAfter(fixes, positionMs);
  if (!fix || !fix->valid) return std::nullopt;
  return MapPositionCalls{DrawMotionText(*fix), DrawCurrentText(*fix)};
}

std::string DrawTrackJavaScript(std::span<const GpsSample> fixes) {
  std::string points;
  for (const GpsSample& fix : fixes) {
    if (!IsTrackPoint(fix)) continue;
    if (!points.empty()) points += ',';
    points += '[' + Lf(fix.longitude) + ',' + Lf(fix.latitude) + ',' + FormatFixed(fix.speedKmh, 1) + ',' +
              FormatFixed(Heading(fix), 1) + ',' + std::to_string(fix.mediaMs) + ']';
  }
  return "if(typeof DrawTrack==='function')DrawTrack([" + points + "]);";
}

std::string DrawEventsJavaScript(std::span<const DetectedEvent> events) {
  std::string marks;
  for (const DetectedEvent& event : events) {
    if (!event.latitude || !event.longitude || !OnGlobe(*event.latitude, *event.longitude)) continue;
    // Kind names and strengths are our own texts: letters, digits, spaces and a full stop, nothing to escape.
    const std::string strength = EventStrengthText(event);
    const std::string text = EventKindName(event.kind) + (strength.empty() ? "" : " " + strength);
    if (!marks.empty()) marks += ',';
    marks += '[' + Lf(*event.longitude) + ',' + Lf(*event.latitude) + ",\"" + text + "\"]";
  }
  return "if(typeof DrawEvents==='function')DrawEvents([" + marks + "]);";
}

std::optional<std::int64_t> PageSeekTarget(double ms, std::int64_t durationMs) {
  if (durationMs <= 0 || !std::isfinite(ms) || ms < 0 || ms > static_cast<double>(durationMs)) return std::nullopt;
  return static_cast<std::int64_t>(ms);
}

}  // namespace vx
