// Bitmap-skinned horizontal slider: track-bar range and position, own mouse and keyboard handling.
#include "widgets/CTkSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <optional>

#include "core/widgets/ScrollCodes.h"
#include "widgets/CCMemDC.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

// The six keys the slider handles itself; Up and Down move like Left and Right, as on a track bar.
std::optional<SliderKey> SliderKeyOf(int key) {
  switch (key) {
    case Qt::Key_PageUp: return SliderKey::PageUp;
    case Qt::Key_PageDown: return SliderKey::PageDown;
    case Qt::Key_End: return SliderKey::End;
    case Qt::Key_Home: return SliderKey::Home;
    case Qt::Key_Left: case Qt::Key_Up: return SliderKey::Left;
    case Qt::Key_Right: case Qt::Key_Down: return SliderKey::Right;
    default: return std::nullopt;
  }
}

}  // namespace

CTkSlider::CTkSlider(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // a move without the button held tells that a release was lost
}

void CTkSlider::InitSkin() {
  m_bmpChannel = QPixmap::fromImage(LoadSkinImage(IDB_SLIDER_CHANNEL));
  m_bmpThumb = QPixmap::fromImage(LoadSkinImage(IDB_SLIDER_THUMB));
  m_bmpThumbFocused = m_bmpThumb;
  m_bmpThumbDragging = m_bmpThumb;
  m_nChannelWidth = m_bmpChannel.width();
  m_nChannelHeight = m_bmpChannel.height();
  m_nThumbWidth = m_bmpThumb.width();
  m_nThumbHeight = m_bmpThumb.height();
  m_nMargin = 1;
  m_nThumbX = m_nMargin;
  PlaceThumbVertically();
  // The channel covers every pixel: nothing to erase first. Until then the parent shows through.
  setAttribute(Qt::WA_OpaquePaintEvent, !m_bmpChannel.isNull());
  update();
}

// The thumb is centred on the slider's height, which the window may set before or after the skin.
void CTkSlider::PlaceThumbVertically() { m_nThumbY = height() / 2 - m_nThumbHeight / 2; }

void CTkSlider::resizeEvent(QResizeEvent* event) {
  PlaceThumbVertically();
  QWidget::resizeEvent(event);
}

void CTkSlider::SetRange(int minimum, int maximum) {
  m_range = {minimum, std::max(minimum, maximum)};
  m_nPos = m_range.Clamp(m_nPos);
  update();
}

void CTkSlider::SetPos(int position) {
  m_nPos = m_range.Clamp(position);
  update();
}

SliderGeometry CTkSlider::Geometry() const { return {width(), m_nMargin, m_nThumbWidth}; }

// Moves to the position under x; true when that changed the position.
bool CTkSlider::SetPosFromPoint(int x) {
  const int position = m_range.Clamp(SliderPositionFromPoint(Geometry(), m_range, x));
  if (position == m_nPos) return false;
  SetPos(position);
  return true;
}

void CTkSlider::Notify(int code) {
  if (!parentWidget()) return;
  const int position = m_nPos;
  QMetaObject::invokeMethod(this, [this, code, position] { emit HScroll(code, position); }, Qt::QueuedConnection);
}

void CTkSlider::paintEvent(QPaintEvent* event) {
  if (m_bmpChannel.isNull()) return;
  QPainter target(this);
  CCMemDC memDC(target, event->rect());
  QPainter& painter = memDC.Painter();
  painter.drawPixmap(rect(), m_bmpChannel, QRect(0, 0, m_nChannelWidth, m_nChannelHeight));
  PaintSpan(painter);
  PaintMarks(painter);
  m_nThumbX = SliderThumbX(Geometry(), m_range, m_nPos);
  const QPixmap& thumb = m_bDragging ? m_bmpThumbDragging : (hasFocus() ? m_bmpThumbFocused : m_bmpThumb);
  painter.drawPixmap(m_nThumbX, m_nThumbY, thumb);
}

void CTkSlider::SetMarks(std::vector<int> positions) {
  m_vecMarks = std::move(positions);
  update();
}

// Each mark stands where the thumb's centre would be at its position, across the slider's height: sky blue
// reads on both the orange channel and the dark rims around it, and differs from the pale thumb.
int CTkSlider::CentreOf(int position) const {
  return SliderThumbX(Geometry(), m_range, m_range.Clamp(position)) + m_nThumbWidth / 2;
}

void CTkSlider::PaintMarks(QPainter& painter) const {
  constexpr int kMarkWidth = 2;
  for (const int position : m_vecMarks) {
    painter.fillRect(CentreOf(position) - kMarkWidth / 2, 0, kMarkWidth, height(), QColor(64, 196, 255));
  }
}

void CTkSlider::SetSpan(std::optional<int> in, std::optional<int> out) {
  m_nSpanIn = in;
  m_nSpanOut = out;
  update();
}

// Magenta: it stands apart from the skin's orange channel, the blue event ticks, the grey thumb and the green
// texts; the band is translucent so that the channel and the ticks inside it still show.
void CTkSlider::PaintSpan(QPainter& painter) const {
  constexpr int kPointWidth = 3;
  const QColor magenta(255, 80, 210);
  if (m_nSpanIn && m_nSpanOut) {
    QColor band = magenta;
    band.setAlpha(120);
    painter.fillRect(CentreOf(*m_nSpanIn), 0, CentreOf(*m_nSpanOut) - CentreOf(*m_nSpanIn), height(), band);
  }
  for (const std::optional<int>& point : {m_nSpanIn, m_nSpanOut}) {
    if (point) painter.fillRect(CentreOf(*point) - kPointWidth / 2, 0, kPointWidth, height(), magenta);
  }
}

void CTkSlider::mousePressEvent(QMouseEvent* event) {
  if (m_bDragging || event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  m_bReleased = 0;
  m_bDragging = true;
  setFocus(Qt::MouseFocusReason);
  if (SetPosFromPoint(event->position().toPoint().x())) Notify(TB_THUMBTRACK);
  repaint();
}

// The release went elsewhere (a message box or another window took the mouse): the drag is over where it
// stands, or the released flag would hold the timeline for good.
bool CTkSlider::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowDeactivate:
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::UngrabMouse:
      EndLostDrag();
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

void CTkSlider::EndLostDrag() {
  if (!m_bDragging) return;
  m_bReleased = 1;
  m_bDragging = false;
  update();
}

void CTkSlider::mouseMoveEvent(QMouseEvent* event) {
  if (m_bDragging && !(event->buttons() & Qt::LeftButton)) EndLostDrag();
  if (!m_bDragging) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  if (SetPosFromPoint(event->position().toPoint().x())) {
    Notify(TB_THUMBTRACK);
    repaint();
  }
}

void CTkSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_bDragging || event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  m_bReleased = 1;
  m_bDragging = false;
  if (SetPosFromPoint(event->position().toPoint().x())) Notify(TB_THUMBTRACK);
  repaint();
}

void CTkSlider::keyPressEvent(QKeyEvent* event) {
  const std::optional<SliderKey> key = SliderKeyOf(event->key());
  if (!key) {
    QWidget::keyPressEvent(event);
    return;
  }
  const SliderKeyStep step = SliderKeyMove(*key, m_range, m_nPos, m_nLineSize, m_nPageSize);
  SetPos(m_range.Clamp(step.position));
  repaint();
  Notify(step.code);
}

void CTkSlider::keyReleaseEvent(QKeyEvent* event) {
  if (!SliderKeyOf(event->key())) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  if (!event->isAutoRepeat()) Notify(TB_ENDTRACK);
}

}  // namespace vx
