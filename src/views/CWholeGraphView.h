// The whole-recording G graph: |G| over two minutes of the recording around the playing position (all of a
// shorter one), a line at the position and the events marked; a click asks to play from there.
#pragma once

#include <QWidget>

#include <cstdint>
#include <span>
#include <vector>

#include "core/views/WholeGraph.h"

namespace vx {

class CWholeGraphView : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kSize{515, 132};

  explicit CWholeGraphView(QWidget* parent);

  // A recording opened (or its events found again): its samples are prepared once here, not at each drawing.
  void SetRecording(std::span<const AccelSample> samples, std::uint32_t durationMs,
                    std::vector<DetectedEvent> events);

  // The playing position, which the span follows.
  void SetPosition(std::uint32_t positionMs);

 signals:
  void seekRequested(qint64 ms);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  WholeGraphArea Area() const;

  std::vector<GMagnitude> m_curve;
  std::vector<DetectedEvent> m_events;
  std::uint32_t m_nLengthMs = 0;
  std::uint32_t m_nPosition = 0;
  double m_dTopG = 2.0;
};

}  // namespace vx
