// The map's share of a timeline tick with an hour of fixes (3 600), and the time from the map button to the
// marker on the page (offline page: every connection goes to a closed port).
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "DriveTelemetry.h"
#include "ToolRunner.h"
#include "WaitUntil.h"
#include "core/player/ViewSlots.h"
#include "core/views/MapPosition.h"
#include "views/CMapView.h"
#include "views/WebEngineSetup.h"

namespace {

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

// Map button to marker: the command's slots, the page load, the first tick's calls, and the page's answer to a
// call queued behind them (it runs after DrawCurrent has placed the marker).
double ButtonToMarkerMs(vx::CMapView& map, const vx::TelemetryTrack& data) {
  QElapsedTimer clock;
  clock.start();
  const auto command = vx::MapCommand({vx::ViewSlot::Large, vx::ViewSlot::Small, vx::ViewSlot::Hidden}, 2, true);
  QSignalSpy loaded(&map, &vx::CExplorerMapViewWnd::pageLoaded);
  if (command && command->loadPage) map.LoadPage(1);
  vx::test::WaitUntil([&] { return !loaded.isEmpty(); });
  map.UpdateMapPosition(1800000, data);
  bool placed = false;
  map.CallScript(QStringLiteral("javascript:MapViewState()"),
                 [&](const QString& state) { placed = state.contains(QStringLiteral("\"marker\":[")); });
  vx::test::WaitUntil([&] { return placed; });
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
  vx::test::TempDir home("map-bench");
  ::setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--proxy-server=http://127.0.0.1:9", 1);
  vx::PrepareWebEngine();
  QApplication app(argc, argv);
  vx::mkcard::DriveScript hour;
  hour.start = {2026, 12, 6, 8, 0, 0};
  hour.seconds = 3600;
  const vx::TelemetryTrack data = vx::test::ReadDrive(hour);
  vx::CMapView map;
  map.resize(320, 240);
  map.show();

  std::vector<double> load;
  for (int run = 0; run < 7; ++run) load.push_back(ButtonToMarkerMs(map, data));
  map.SetRecording(data, 3600000);

  // One tick's call, at positions spread over the hour (the scan from the first fix grows with the position).
  constexpr int kTicks = 2000;
  std::vector<double> tick;
  std::vector<double> lookup;
  for (int i = 0; i < kTicks; ++i) {
    const auto position = static_cast<std::uint32_t>(i * 3599000LL / kTicks);
    QElapsedTimer clock;
    clock.start();
    map.UpdateMapPosition(position, data);
    tick.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    clock.restart();
    const auto calls = vx::MapCallsForPosition(data.gps, position);
    lookup.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    if (!calls) return 1;
    if (i % 50 == 0) QCoreApplication::processEvents();  // let the page take the queued calls, as ticks would
  }
  std::sort(tick.begin(), tick.end());
  std::printf("fixes: %zu\n", data.gps.size());
  std::printf("update_map_position_ms_median: %.4f\n", Median(tick));
  std::printf("update_map_position_ms_p99: %.4f\n", tick[tick.size() * 99 / 100]);
  std::printf("fix_lookup_and_texts_ms_median: %.4f\n", Median(lookup));
  std::printf("update_map_position_goal_ms: 0.2\n");
  std::printf("map_button_to_marker_ms_median: %.1f\n", Median(load));
  return 0;
}
