// Bitmap-skinned push button: one picture per state, shaped by the picture's key colour, with mouse-over.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QTimer>

#include <array>
#include <cstdint>
#include <optional>

#include "core/widgets/ButtonState.h"

namespace vx {

class CMyButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit CMyButton(QWidget* parent = nullptr);

  // Loads the normal, pressed and mouse-over skin pictures by ID (0 leaves a slot empty) with the key colour
  // (0x00BBGGRR) that cuts their shapes; the disabled slot gets the normal picture in grey, the focused slot
  // stays empty.
  void SetBitmaps(int normalId, int pressedId, int mouseOverId, std::uint32_t key);
  // Installs pictures for all five slots (a null image leaves its slot empty).
  void SetStateBitmaps(const std::array<QImage, 5>& bitmaps, std::uint32_t key);

  // The slot painted for the current state, -1 when it is empty.
  int CurrentSlot() const;
  bool IsMouseOver() const { return m_bMouseOver != 0; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void OnHover();
  void ApplyShape();

  int m_bMouseOver = 0;
  int m_nShapedSlot = -2;  // slot whose size and shape the button has taken
  std::array<QPixmap, 5> m_bitmaps;
  std::array<std::optional<QRegion>, 5> m_regions;
  QTimer m_hoverTimer;
};

}  // namespace vx
