// The acceleration graph window: the three axes of the open recording's acceleration over its first minute
// and a marker at the playback position, and under them the whole recording's |G| around that position.
#pragma once

#include <QPainter>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "core/cardindex/RecordingSummary.h"
#include "core/telemetry/TelemetryTrack.h"

namespace vx {

class CMyButton;
class CWholeGraphView;

class CGSensorDlg : public QWidget {
  Q_OBJECT

 public:
  // Reads the samples of `track` (the main window's, which outlives the window) at every drawing. Made on
  // the first press of the graph button, centred over `owner` and shown.
  CGSensorDlg(const TelemetryTrack& track, QWidget* owner);

  // The graph button (and F3): shows the window when `graphHidden`, hides it otherwise; returns the new
  // hidden flag.
  bool ApplyGraphButton(bool graphHidden);

  // A recording opened, or its events found again: the whole graph reads the track's samples once here.
  void SetRecording(std::uint32_t durationMs, std::vector<DetectedEvent> events);

  // The timeline tick: redraws the plot with the marker at the position (none for 0), and scrolls the whole
  // graph with it.
  void UpdateGraphPosition(std::uint32_t positionMs);

  // Draws the plot with its traces, and the marker unless the position is 0, at (46, 31) of `target`.
  void DrawGraph(QPainter& target, std::uint32_t positionMs) const;

 signals:
  // The user closed the window (its close box or button 1113): it is hidden now, as the graph button would.
  void closedByUser();
  // A click on the whole graph: play from there.
  void seekRequested(qint64 ms);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  const TelemetryTrack& m_track;
  std::uint32_t m_nPosition = 0;
  CMyButton* m_pBtnClose;  // button 1113: prepared, never shown
  CWholeGraphView* m_pWholeGraph;
};

}  // namespace vx
