// The whole-recording G graph's painting and clicks.
#include "views/CWholeGraphView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include "core/cardindex/EventRows.h"
#include "core/player/TimelineRules.h"

namespace vx {
namespace {

// The plot lines up with the 0-60 s plot above it; the labels of g sit left of it, the span's times below.
constexpr QRect kPlot(kPlotLeft, 16, kPlotWidth, 96);
constexpr QColor kBackground(24, 24, 24);
constexpr QColor kGrid(70, 70, 70);
constexpr QColor kText(200, 200, 200);
constexpr QColor kCurve(240, 200, 40);
constexpr QColor kEvent(200, 80, 220);

QString SpanTimeText(std::uint32_t ms) { return QString::fromStdString(TimeText(ms)); }

}  // namespace

CWholeGraphView::CWholeGraphView(QWidget* parent) : QWidget(parent) {
  setFixedSize(kSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::PointingHandCursor);
}

void CWholeGraphView::SetRecording(std::span<const AccelSample> samples, std::uint32_t durationMs,
                                   std::vector<DetectedEvent> events) {
  m_curve = MagnitudeCurve(samples);
  m_dTopG = WholeGraphTopG(m_curve);
  m_nLengthMs = WholeGraphLengthMs(durationMs, m_curve);
  m_events = std::move(events);
  update();
}

void CWholeGraphView::SetPosition(std::uint32_t positionMs) {
  m_nPosition = positionMs;
  update();
}

WholeGraphArea CWholeGraphView::Area() const {
  return {VisibleSpan(m_nLengthMs, m_nPosition), kPlot.width(), kPlot.height(), m_dTopG};
}

void CWholeGraphView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  const WholeGraphArea area = Area();
  painter.setFont(QFont(font().family(), 7));
  painter.setPen(kText);
  for (int g = 0; g <= static_cast<int>(area.topG); ++g) {
    const int y = kPlot.top() + area.RowOf(g);
    painter.setPen(kGrid);
    painter.drawLine(kPlot.left(), y, kPlot.right(), y);
    painter.setPen(kText);
    painter.drawText(QRect(0, y - 6, kPlot.left() - 4, 12), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("%1 g").arg(g));
  }
  const QRect times(kPlot.left(), kPlot.bottom() + 2, kPlot.width(), 16);
  painter.drawText(times, Qt::AlignLeft | Qt::AlignVCenter, SpanTimeText(area.span.startMs));
  painter.drawText(times, Qt::AlignRight | Qt::AlignVCenter, SpanTimeText(area.span.endMs));

  painter.translate(kPlot.topLeft());
  painter.setClipRect(0, -kPlot.top(), kPlot.width(), height());
  QPolygon curve;
  for (const PlotPoint& point : WholeGraphPoints(m_curve, area)) curve << QPoint(point.x, point.y);
  painter.setPen(kCurve);
  painter.drawPolyline(curve);
  painter.setPen(kEvent);
  for (const WholeGraphMark& mark : WholeGraphMarks(m_events, area)) {
    painter.drawLine(mark.x, -3, mark.x, kPlot.height());
    painter.drawText(QPoint(mark.x + 2, -4), QString::fromLatin1(EventKindShortName(mark.kind)));
  }
  if (m_nLengthMs > 0) {
    const int x = area.ColumnOf(m_nPosition);
    painter.setPen(QColor::fromRgb(kMarkerColour));
    painter.drawLine(x, 0, x, kPlot.height() - 1);
  }
}

void CWholeGraphView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || m_nLengthMs == 0) return;
  emit seekRequested(Area().MsAt(event->position().toPoint().x() - kPlot.left()));
}

}  // namespace vx
