// The acceleration graph window.
#include "views/CGSensorDlg.h"

#include <QCloseEvent>
#include <QPolygon>

#include "core/views/PlotGeometry.h"
#include "views/CWholeGraphView.h"
#include "widgets/CClientDrag.h"
#include "widgets/CMyButton.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

constexpr QSize kBackgroundSize(515, 225);  // the background picture; the frame is the window manager's
constexpr QSize kClientSize(515, kBackgroundSize.height() + CWholeGraphView::kSize.height());
constexpr QRect kCloseButton(471, 1, 43, 18);

QPen PlotPen(std::uint32_t rgb) { return QPen(QColor::fromRgb(rgb), 1, Qt::SolidLine, Qt::SquareCap); }

}  // namespace

CGSensorDlg::CGSensorDlg(const TelemetryTrack& track, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      m_track(track),
      m_pBtnClose(new CMyButton(this)),
      m_pWholeGraph(new CWholeGraphView(this)) {
  setWindowTitle(QStringLiteral("Acceleration"));
  setFixedSize(kClientSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (owner) move(owner->frameGeometry().center() - rect().center());
  m_pBtnClose->SetBitmaps(IDB_GRAPH_CLOSE, IDB_GRAPH_CLOSE_HOT, IDB_GRAPH_CLOSE_HOT, kKeyMagenta);
  m_pBtnClose->setGeometry(kCloseButton);
  m_pBtnClose->hide();
  connect(m_pBtnClose, &CMyButton::clicked, this, &QWidget::close);
  m_pWholeGraph->move(0, kBackgroundSize.height());
  connect(m_pWholeGraph, &CWholeGraphView::seekRequested, this, &CGSensorDlg::seekRequested);
  new CClientDrag(this);
}

bool CGSensorDlg::ApplyGraphButton(bool graphHidden) {
  if (graphHidden) {
    showNormal();
    raise();
    update();
    return false;
  }
  hide();
  return true;
}

void CGSensorDlg::SetRecording(std::uint32_t durationMs, std::vector<DetectedEvent> events) {
  m_pWholeGraph->SetRecording(m_track.accel, durationMs, std::move(events));
  update();
}

void CGSensorDlg::UpdateGraphPosition(std::uint32_t positionMs) {
  m_nPosition = positionMs;
  m_pWholeGraph->SetPosition(positionMs);
  update();
}

void CGSensorDlg::DrawGraph(QPainter& target, std::uint32_t positionMs) const {
  // Every drawing starts from the clean background.
  QImage plot = LoadSkinImage(IDB_GRAPH_PLOT);
  if (plot.isNull()) plot = QImage(kPlotWidth, kPlotHeight, QImage::Format_RGB32);
  QPainter painter(&plot);
  const PlotAxis axes[] = {PlotAxis::X, PlotAxis::Y, PlotAxis::Z};
  if (!m_track.accel.empty()) {
    for (int i = 0; i < 3; ++i) {
      QPolygon line;
      for (const PlotPoint& point : TracePoints(m_track.accel, axes[i])) line << QPoint(point.x, point.y);
      painter.setPen(PlotPen(kTraceColours[i]));
      painter.drawPolyline(line);
    }
  }
  if (const auto x = PlotMarkerX(positionMs)) {
    painter.setPen(PlotPen(kMarkerColour));
    painter.drawLine(*x, 0, *x, kPlotHeight);
  }
  painter.end();
  // The pictures hold no pure green, the colour the window's copies leave out, so a plain copy is the same.
  target.drawImage(kPlotLeft, kPlotTop, plot);
}

void CGSensorDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, LoadSkinImage(IDB_GRAPH_BACKGROUND));
  DrawGraph(painter, m_nPosition);
}

void CGSensorDlg::closeEvent(QCloseEvent* event) {
  // Closing only hides: the window lives as long as the main window.
  event->accept();
  emit closedByUser();
}

}  // namespace vx
