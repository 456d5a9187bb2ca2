// Bitmap-skinned push button: one picture per state, shaped by the picture's key colour, with mouse-over.
#include "widgets/CMyButton.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "core/widgets/RegionRuns.h"
#include "widgets/BitmapToRegion.h"
#include "widgets/SkinBitmaps.h"

namespace vx {
namespace {

constexpr int kHoverMilliseconds = 1;
constexpr int kNoSlotShaped = -2;

// The part of the button that takes the mouse: the box around its picture's shape, holes and gaps included,
// so that a click between the strokes of a symbol reaches the button rather than the window under it. Qt
// clears a widget's mask when given an empty region; a region outside the widget keeps it fully cut away.
QRegion ClickMask(const QRegion& shape) { return shape.isEmpty() ? QRegion(-1, -1, 1, 1) : QRegion(shape.boundingRect()); }

// The disabled look drawn from the normal picture: its opaque pixels in a flat mid grey that no key colour
// range holds, key-coloured pixels as they were.
QImage Dimmed(const QImage& picture, std::uint32_t key) {
  if (picture.isNull()) return {};
  QImage dimmed = picture.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < dimmed.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(dimmed.scanLine(y));
    for (int x = 0; x < dimmed.width(); ++x) {
      if (IsKeyColour(row[x], key)) continue;
      const int grey = 60 + qGray(row[x]) * 90 / 255;
      row[x] = qRgb(grey, grey, grey);
    }
  }
  return dimmed;
}

}  // namespace

CMyButton::CMyButton(QWidget* parent) : QAbstractButton(parent) {
  setMouseTracking(true);
  m_hoverTimer.setSingleShot(true);
  m_hoverTimer.setInterval(kHoverMilliseconds);
  connect(&m_hoverTimer, &QTimer::timeout, this, &CMyButton::OnHover);
  // A click made by the program (click, animateClick) presses and releases without mouse events.
  connect(this, &QAbstractButton::pressed, this, &CMyButton::ApplyShape);
  connect(this, &QAbstractButton::released, this, &CMyButton::ApplyShape);
}

void CMyButton::SetBitmaps(int normalId, int pressedId, int mouseOverId, std::uint32_t key) {
  std::array<QImage, 5> bitmaps;
  bitmaps[kSlotNormal] = LoadSkinImage(normalId);
  bitmaps[kSlotPressed] = LoadSkinImage(pressedId);
  bitmaps[kSlotMouseOver] = LoadSkinImage(mouseOverId);
  bitmaps[kSlotDisabled] = Dimmed(bitmaps[kSlotNormal], key);
  SetStateBitmaps(bitmaps, key);
}

void CMyButton::SetStateBitmaps(const std::array<QImage, 5>& bitmaps, std::uint32_t key) {
  m_bMouseOver = 0;
  m_nShapedSlot = kNoSlotShaped;
  for (std::size_t i = 0; i < bitmaps.size(); ++i) {
    m_bitmaps[i] = bitmaps[i].isNull() ? QPixmap() : QPixmap::fromImage(bitmaps[i]);
    m_regions[i] = BitmapToRegion(bitmaps[i], key);
  }
  clearMask();
  ApplyShape();
  update();
}

int CMyButton::CurrentSlot() const {
  std::array<bool, 5> present{};
  for (std::size_t i = 0; i < present.size(); ++i) present[i] = !m_bitmaps[i].isNull();
  return ChooseButtonSlot({!isEnabled(), isDown(), hasFocus(), m_bMouseOver != 0}, present);
}

// Every change of state reshapes the button to the picture it now shows, as its painting would.
bool CMyButton::event(QEvent* event) {
  const bool handled = QAbstractButton::event(event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::Show:
    case QEvent::Resize:  // laid out at a place: it takes the size of its picture there
      ApplyShape();
      break;
    default:
      break;
  }
  return handled;
}

// Takes the chosen picture's size and shape. A button of zero size (laid out out of the way) stays so.
void CMyButton::ApplyShape() {
  const int slot = CurrentSlot();
  if (slot < 0 || size().isEmpty()) return;
  const auto index = static_cast<std::size_t>(slot);
  if (slot == m_nShapedSlot && size() == m_bitmaps[index].size()) return;
  m_nShapedSlot = slot;
  resize(m_bitmaps[index].size());
  if (m_regions[index]) setMask(ClickMask(*m_regions[index]));
  else clearMask();
  update();
}

void CMyButton::paintEvent(QPaintEvent*) {
  const int slot = CurrentSlot();
  if (slot < 0) return;
  // A state changed with no event of its own (setDown): the shape follows once this paint is done.
  if (slot != m_nShapedSlot) QMetaObject::invokeMethod(this, &CMyButton::ApplyShape, Qt::QueuedConnection);
  const auto index = static_cast<std::size_t>(slot);
  QPainter painter(this);
  if (m_regions[index]) painter.setClipRegion(*m_regions[index]);
  painter.drawPixmap(0, 0, m_bitmaps[index]);
}

void CMyButton::mouseMoveEvent(QMouseEvent* event) {
  m_hoverTimer.start();
  QAbstractButton::mouseMoveEvent(event);
}

void CMyButton::OnHover() {
  m_bMouseOver = 1;
  ApplyShape();
}

void CMyButton::leaveEvent(QEvent* event) {
  m_hoverTimer.stop();
  if (m_bMouseOver) {
    m_bMouseOver = 0;
    ApplyShape();
  }
  QAbstractButton::leaveEvent(event);
}

}  // namespace vx
