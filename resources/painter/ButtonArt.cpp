// Skin button faces: a rounded dark body cut out of the key colour, with a symbol and a label.
#include "ButtonArt.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

#include "KeySeal.h"
#include "Palette.h"

namespace vx::skin {
namespace {

qreal CornerRadius(const QSize& size) { return std::min(5.0, size.height() / 4.0); }

QPainterPath BodyPath(const QRect& body) {
  const qreal radius = CornerRadius(body.size());
  QPainterPath path;
  path.addRoundedRect(QRectF(body), radius, radius);
  return path;
}

void PaintBody(QPainter& painter, const QSize& size, const ButtonArt& art) {
  const QColor top = art.hot ? (art.danger ? QColor(214, 62, 52) : kHotTop) : kBodyTop;
  const QColor bottom = art.hot ? (art.danger ? QColor(140, 32, 28) : kHotBottom) : kBodyBottom;
  QLinearGradient gradient(0, 0, 0, size.height());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  painter.fillRect(QRect(QPoint(0, 0), size), gradient);
  if (art.hot && !art.danger) {
    QRadialGradient glow(size.width() / 2.0, size.height(), std::max(size.width(), size.height()) * 0.6);
    glow.setColorAt(0, QColor(255, 150, 40, 130));
    glow.setColorAt(1, QColor(255, 150, 40, 0));
    painter.fillRect(QRect(QPoint(0, 0), size), glow);
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(art.hot ? (art.danger ? QColor(255, 140, 130) : kAccent) : kBorder, 1));
  painter.setBrush(Qt::NoBrush);
  const qreal radius = CornerRadius(size);
  painter.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1.0, size.height() - 1.0), radius, radius);
}

void PaintContent(QPainter& painter, const QSize& size, const ButtonArt& art) {
  const QColor ink = art.hot ? (art.danger ? QColor(255, 255, 255) : kAccentLight) : kText;
  const int fontSize = std::clamp(static_cast<int>(size.height() * 0.42), 9, 17);
  const QFont font = LabelFont(fontSize);
  const qreal glyphSide = art.label.isEmpty() ? size.height() * 0.56 : std::min(size.height() * 0.5, fontSize * 1.25);
  const qreal textWidth = art.label.isEmpty() ? 0 : QFontMetricsF(font).horizontalAdvance(art.label);
  const qreal gap = (art.glyph != Glyph::None && !art.label.isEmpty()) ? glyphSide * 0.45 : 0;
  const qreal glyphWidth = art.glyph == Glyph::None ? 0 : glyphSide;
  const qreal left = (size.width() - glyphWidth - gap - textWidth) / 2;
  const qreal middle = size.height() / 2.0;
  if (art.glyph != Glyph::None) {
    PaintGlyph(painter, art.glyph, QRectF(left, middle - glyphSide / 2, glyphSide, glyphSide), ink);
  }
  if (art.label.isEmpty()) return;
  painter.setFont(font);
  painter.setPen(ink);
  const QRectF textBox(left + glyphWidth + gap, 0, textWidth + 2, size.height());
  painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, art.label);
}

}  // namespace

// The body is painted whole and then cut out of the key colour with a hard edge: a smoothed edge would blend
// the key into the body's rim, leaving specks of a colour near the key that the window region keeps.
QImage PaintButton(const QSize& size, const QRect& body, const ButtonArt& art) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(KeyColour(art.key));
  QPainter painter(&image);
  painter.translate(body.topLeft());
  PaintBody(painter, body.size(), art);
  PaintContent(painter, body.size(), art);
  painter.end();
  SealKeyColour(image, BodyPath(body), art.key);
  return image;
}

QImage PaintBareGlyph(const QSize& size, Glyph glyph, const QColor& colour, const QColor& backdrop, std::uint32_t key) {
  QImage ink(size, QImage::Format_ARGB32_Premultiplied);
  ink.fill(Qt::transparent);
  QPainter painter(&ink);
  PaintGlyph(painter, glyph, QRectF(QPointF(0, 0), QSizeF(size)), colour);
  painter.end();
  QImage image(size, QImage::Format_RGB32);
  image.fill(backdrop);
  painter.begin(&image);
  painter.drawImage(0, 0, ink);
  painter.end();
  // Pixels the symbol covers less than half are holes; the others keep their blend with the backdrop.
  const QRgb keyPixel = KeyColour(key).rgb();
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      if (qAlpha(ink.pixel(x, y)) < 128) image.setPixel(x, y, keyPixel);
    }
  }
  return image;
}

}  // namespace vx::skin
