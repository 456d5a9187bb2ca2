// The map's share of a timeline tick with an hour of fixes (3 600), the time from the map button to the
// marker on the page (offline page: every connection goes to a closed port), and the first press of MAP in the
// playing main window of a fresh process: press to marker, and the longest the window's ticks stopped.
#include <gst/gst.h>

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
#include "core/player/ControlIds.h"
#include "core/player/ViewSlots.h"
#include "core/views/MapPosition.h"
#include "engine/CCameraSource.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "settings/CLinuxDriveList.h"
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

constexpr int kFirstPressRuns = 5;
// The press comes this far into the recording (its own clock), well after the first picture.
constexpr std::int64_t kPressAtMs = 3000;

// Times of a timer with the window's tick interval on the window's thread: a gap between two of them is
// time the window could not tick the video.
class CTickGaps {
 public:
  CTickGaps() {
    m_clock.start();
    m_timer.setInterval(vx::kTimelineTimerMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { m_ticks.push_back(Now()); });
    m_timer.start();
  }
  double Now() const { return static_cast<double>(m_clock.nsecsElapsed()) / 1e6; }
  // The longest time between ticks (or a window's ends) within [from, to].
  double LongestGap(double from, double to) const {
    double last = from;
    double longest = 0;
    for (double tick : m_ticks) {
      if (tick < from || tick > to) continue;
      longest = std::max(longest, tick - last);
      last = tick;
    }
    return std::max(longest, to - last);
  }

 private:
  QElapsedTimer m_clock;
  QTimer m_timer;
  std::vector<double> m_ticks;
};

// One fresh main window plays `recording`; MAP is pressed once kPressAtMs of it have played. Prints the press
// to the marker on the page, the longest tick gap from a second before the press to a second after the
// marker, and the longest one from the first picture on.
int FirstPress(const QString& recording) {
  CTickGaps ticks;
  vx::CLinuxDriveList drives;
  vx::CQuelmarDlg window(drives, {});
  window.OnInitDialog([](const QString&) {});
  window.show();
  window.Catalogue().AddPaths({recording});
  window.PlayPause();
  // The recording's own clock says when the press comes.
  const auto position = [&] {
    vx::RefTime at = 0;
    if (window.Engine().Recording()) window.Engine().Recording()->GetPosition(at);
    return vx::RefTimeToMs(at);
  };
  if (!vx::test::WaitUntil([&] { return !window.FrontView().Frame().IsNull(); })) return 1;
  const double firstPicture = ticks.Now();
  if (!vx::test::WaitUntil([&] { return position() >= kPressAtMs; })) return 1;
  const double press = ticks.Now();
  window.OnCommand(vx::IDC_MAP);
  bool placed = false;
  bool asking = false;
  const bool shown = vx::test::WaitUntil([&] {
    auto* map = qobject_cast<vx::CMapView*>(window.Control(vx::IDC_MAP_VIEW));
    if (map && !asking) {
      asking = true;
      map->CallScript(QStringLiteral("javascript:MapViewState()"), [&](const QString& state) {
        placed = state.contains(QStringLiteral("\"marker\":["));
        asking = false;
      });
    }
    return placed;
  });
  if (!shown) return 1;
  const double marker = ticks.Now();
  vx::test::WaitUntil([&] { return ticks.Now() > marker + 1000; });
  std::printf("%.1f %.1f %.1f\n", marker - press, ticks.LongestGap(press - 1000, marker + 1000),
              ticks.LongestGap(firstPicture, marker + 1000));
  return 0;
}

struct FirstPressFigures {
  std::vector<double> toMarker, gapAroundPress, gapAfterFirstPicture;
};

// Runs FirstPress in fresh processes of this program, each with the browser engine not yet started.
FirstPressFigures FirstPresses(const char* program, const std::string& recording) {
  FirstPressFigures figures;
  for (int run = 0; run < kFirstPressRuns; ++run) {
    const vx::test::ToolOutput out =
        vx::test::RunTool(vx::test::Quote(program) + " --first-press " + vx::test::Quote(recording));
    double toMarker = 0, around = 0, after = 0;
    if (out.status != 0 || std::sscanf(out.out.c_str(), "%lf %lf %lf", &toMarker, &around, &after) != 3) continue;
    figures.toMarker.push_back(toMarker);
    figures.gapAroundPress.push_back(around);
    figures.gapAfterFirstPicture.push_back(after);
  }
  return figures;
}

void PrintFirstPresses(const FirstPressFigures& figures) {
  std::printf("first_press_runs: %zu\n", figures.toMarker.size());
  if (figures.toMarker.empty()) return;
  std::printf("first_press_to_marker_ms_median: %.1f (max %.1f, goal 300)\n", Median(figures.toMarker),
              *std::max_element(figures.toMarker.begin(), figures.toMarker.end()));
  std::printf("first_press_longest_tick_gap_ms_median: %.1f (max %.1f, tick %d)\n", Median(figures.gapAroundPress),
              *std::max_element(figures.gapAroundPress.begin(), figures.gapAroundPress.end()), vx::kTimelineTimerMs);
  std::printf("after_first_picture_longest_tick_gap_ms_median: %.1f (max %.1f)\n",
              Median(figures.gapAfterFirstPicture),
              *std::max_element(figures.gapAfterFirstPicture.begin(), figures.gapAfterFirstPicture.end()));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 3 && argv[1] == std::string("--first-press")) {
    vx::PrepareWebEngine();
    QApplication app(argc, argv);
    gst_init(nullptr, nullptr);
    vx::RegisterCameraSource();
    return FirstPress(QString::fromLocal8Bit(argv[2]));
  }
  vx::test::TempDir home("map-bench");
  ::setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--proxy-server=http://127.0.0.1:9", 1);
  const std::string recording = home / "20261206_081500_D01.MP4";
  if (vx::test::RunTool(vx::test::Tool("vx880-mkcard") + " --file " + vx::test::Quote(recording) +
                        " --streams 2 --seconds 8 >/dev/null").status != 0)
    return 1;
  const FirstPressFigures firstPresses = FirstPresses(argv[0], recording);
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
  PrintFirstPresses(firstPresses);
  return firstPresses.toMarker.empty() ? 1 : 0;
}
