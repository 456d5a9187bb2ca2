// The map of the main window: loads the page of the user's language, hands it the open recording's track and
// events once per page load, moves the car on every timeline tick, and passes on the page's checked seeks.
// Whether the page fetches map tiles is the user's setting, read when the view is made.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/cardindex/RecordingSummary.h"
#include "core/telemetry/TelemetryTrack.h"
#include "views/CExplorerMapViewWnd.h"

class QWebChannel;

namespace vx {

class CMapBridge;

class CMapView : public CExplorerMapViewWnd {
  Q_OBJECT

 public:
  explicit CMapView(QWidget* parent = nullptr);

  // "OnlineTiles" under this key of the viewer's settings store: 0 keeps the map on its offline grid, so no
  // place of a recording goes to the tile server; absent or any other value fetches tiles.
  static constexpr const char* kSettingsKey = "Viewer\\Map";
  static constexpr const char* kOnlineTiles = "OnlineTiles";

  // (Re)loads the page of the language; the page shows its offline view by itself when no tiles come.
  void LoadPage(int languageIndex);
  // True while the page of the language is loading or loaded, unless its load failed.
  bool HoldsPage(int languageIndex) const { return m_nPageLanguage == languageIndex && !m_bPageFailed; }

  // A recording was opened (or closed: empty track, duration 0): its valid fixes go to the page's DrawTrack
  // and its placed events to DrawEvents, now and after every later page load, replacing the last recording's;
  // seeks from the page are allowed up to `durationMs`.
  void SetRecording(const TelemetryTrack& track, std::int64_t durationMs,
                    std::span<const DetectedEvent> events = {});

  // Sends DrawMotion and DrawCurrent for the fix of the playback position, or nothing (no fix at or after the
  // position, or it is not valid). Queued; nothing is waited for.
  void UpdateMapPosition(std::uint32_t positionMs, const TelemetryTrack& track);

 signals:
  // The user clicked the track: play from this media time (already checked against the duration).
  void seekRequested(qint64 ms);

 private:
  void DrawTrack();

  CMapBridge* m_pBridge;
  QWebChannel* m_pChannel;
  std::string m_strTrackScript;
  bool m_bPageLoaded = false;
  bool m_bPageFailed = false;
  int m_nPageLanguage = -1;  // of the last LoadPage
};

}  // namespace vx
