// Bitmap-skinned horizontal slider: track-bar range and position, own mouse and keyboard handling.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

#include "core/widgets/SliderMath.h"

class QPainter;

namespace vx {

class CTkSlider : public QWidget {
  Q_OBJECT

 public:
  explicit CTkSlider(QWidget* parent = nullptr);

  // Loads the channel and thumb pictures and places the thumb at the left margin, centred vertically (and
  // centred again whenever the slider's size changes).
  void InitSkin();

  void SetRange(int minimum, int maximum);  // a maximum below the minimum becomes the minimum
  void SetPos(int position);                // limited to [minimum, maximum], repainted
  int GetPos() const { return m_nPos; }
  int GetRangeMin() const { return m_range.minimum; }
  int GetRangeMax() const { return m_range.maximum; }
  int GetLineSize() const { return m_nLineSize; }
  int GetPageSize() const { return m_nPageSize; }
  // 0 from a left press on the slider until its release, 1 otherwise.
  int IsReleased() const { return m_bReleased; }
  bool IsDragging() const { return m_bDragging; }
  // Positions drawn as small ticks on the track (the events of the recording), under the thumb.
  void SetMarks(std::vector<int> positions);
  const std::vector<int>& Marks() const { return m_vecMarks; }
  // The span marked for export: a band between its in and out points, each drawn as a bar; a point alone
  // shows as its bar.
  void SetSpan(std::optional<int> in, std::optional<int> out);
  std::optional<int> SpanIn() const { return m_nSpanIn; }
  std::optional<int> SpanOut() const { return m_nSpanOut; }

 signals:
  // Posted to the parent after each change: a scroll code (TB_LINEUP ... TB_ENDTRACK) and the position it
  // was sent with. Nothing is posted while the slider has no parent.
  void HScroll(int code, int position);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceThumbVertically();
  void PaintMarks(QPainter& painter) const;
  void PaintSpan(QPainter& painter) const;
  int CentreOf(int position) const;
  bool SetPosFromPoint(int x);
  void EndLostDrag();
  void Notify(int code);
  SliderGeometry Geometry() const;

  int m_bReleased = 1;
  int m_nMargin = 1;
  int m_nThumbWidth = 0;
  int m_nThumbHeight = 0;
  int m_nChannelWidth = 0;
  int m_nChannelHeight = 0;
  QPixmap m_bmpThumbFocused;
  QPixmap m_bmpThumbDragging;
  QPixmap m_bmpThumb;
  QPixmap m_bmpChannel;
  int m_nThumbX = 0;
  int m_nThumbY = 0;
  bool m_bDragging = false;

  SliderRange m_range{0, 100};
  int m_nPos = 0;
  int m_nLineSize = 1;
  int m_nPageSize = 10;
  std::vector<int> m_vecMarks;
  std::optional<int> m_nSpanIn;
  std::optional<int> m_nSpanOut;
};

}  // namespace vx
