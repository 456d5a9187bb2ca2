// Backgrounds and frame pieces of the main window in its normal and full-screen skins, and the window icon.
#include "WindowArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Glyphs.h"
#include "Palette.h"

namespace vx::skin {
namespace {

constexpr int kBottomBarHeight = 120;
constexpr int kDividerRow = 74;  // the divider lies 46 rows above the screen's bottom edge

void VerticalGradient(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom) {
  QLinearGradient gradient(0, rect.top(), 0, rect.bottom() + 1);
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  painter.fillRect(rect, gradient);
}

// A recessed well with a one-pixel frame around the given inner rectangle.
void Well(QPainter& painter, const QRect& inner) {
  painter.fillRect(inner.adjusted(-2, -2, 2, 2), kPanelEdge);
  painter.fillRect(inner.adjusted(-1, -1, 1, 1), QColor(20, 22, 26));
  painter.fillRect(inner, kViewWell);
}

void Panel(QPainter& painter, const QRect& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(kPanelEdge, 1));
  painter.setBrush(kPanel);
  painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  painter.restore();
}

void Title(QPainter& painter, const QPoint& baseline, int pixelSize) {
  painter.setFont(LabelFont(pixelSize));
  painter.setPen(kAccent);
  painter.drawText(baseline, QStringLiteral("VX-880QN"));
  const int width = painter.fontMetrics().horizontalAdvance(QStringLiteral("VX-880QN "));
  painter.setFont(LabelFont(pixelSize, false));
  painter.setPen(kText);
  painter.drawText(baseline + QPoint(width, 0), QStringLiteral("Player"));
}

void SpeedPlate(QPainter& painter, const QRectF& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(kPanelEdge, 1));
  painter.setBrush(kViewWell);
  painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  painter.restore();
}

}  // namespace

QImage PaintNormalBackground() {
  QImage image(1020, 594, QImage::Format_RGB32);
  QPainter painter(&image);
  VerticalGradient(painter, image.rect(), kWindowTop, kWindowBottom);
  painter.setPen(kPanelEdge);
  painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  Title(painter, QPoint(23, 33), 17);
  Well(painter, QRect(23, 50, 640, 360));   // front view, Large slot
  Well(painter, QRect(678, 50, 320, 240));  // rear view, Small slot
  Panel(painter, QRect(678, 290, 320, 30)); // map buttons
  Well(painter, QRect(678, 329, 320, 240)); // recording list
  Panel(painter, QRect(23, 413, 640, 93));  // timeline and transport
  painter.fillRect(QRect(31, 419, 502, 7), QColor(77, 77, 77));
  painter.fillRect(QRect(563, 419, 90, 7), QColor(77, 77, 77));
  SpeedPlate(painter, QRectF(309, 476, 71, 25));
  return image;
}

QImage PaintFullBackground(const QSize& screen) {
  QImage image(screen, QImage::Format_RGB32);
  QPainter painter(&image);
  VerticalGradient(painter, image.rect(), QColor(22, 24, 28), QColor(30, 33, 38));
  return image;
}

QImage PaintFullTopBar(int width) {
  QImage image(width, 21, QImage::Format_RGB32);
  QPainter painter(&image);
  VerticalGradient(painter, image.rect(), QColor(54, 58, 66), QColor(32, 35, 40));
  painter.fillRect(QRect(0, 20, width, 1), kAccent);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  Title(painter, QPoint(210, 15), 12);
  return image;
}

QImage PaintFullMiddle(const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(QColor(12, 13, 17));
  QPainter painter(&image);
  painter.setPen(QColor(34, 37, 42));
  painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
  return image;
}

QImage PaintFullBottomBar(int width) {
  QImage image(width, kBottomBarHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  VerticalGradient(painter, image.rect(), QColor(44, 48, 55), QColor(24, 26, 30));
  painter.fillRect(QRect(0, 0, width, 1), kPanelEdge);
  painter.fillRect(QRect(0, 1, width, 1), QColor(70, 75, 84));
  return image;
}

QImage PaintFullDivider(int width) {
  // The strip of the bottom bar it covers, so that it blends in, with a fine rule across its middle.
  QImage image = PaintFullBottomBar(width + 40).copy(20, kDividerRow, width, 11);
  QPainter painter(&image);
  painter.fillRect(QRect(0, 5, width, 1), QColor(56, 60, 68));
  return image;
}

QImage PaintFullSpeedPlate(const QRect& well) {
  QImage image = PaintFullBottomBar(112).copy(0, kDividerRow + 11, 112, 25);
  QPainter painter(&image);
  SpeedPlate(painter, QRectF(well));
  return image;
}

QImage PaintSpareStatic() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(kPanel);
  QPainter painter(&image);
  PaintGlyph(painter, Glyph::Camera, QRectF(2, 2, 12, 12), kAccent);
  return image;
}

QImage PaintWindowIcon(int side) {
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QRectF tile(side * 0.03, side * 0.03, side * 0.94, side * 0.94);
  QLinearGradient gradient(0, 0, 0, side);
  gradient.setColorAt(0, kBodyTop);
  gradient.setColorAt(1, kWindowBottom);
  painter.setPen(QPen(kAccent, side / 24.0));
  painter.setBrush(gradient);
  painter.drawRoundedRect(tile, side * 0.18, side * 0.18);
  painter.setPen(QPen(kAccent, side / 14.0));
  painter.setBrush(QColor(20, 22, 26));
  painter.drawEllipse(QPointF(side * 0.5, side * 0.5), side * 0.27, side * 0.27);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(70, 110, 170));
  painter.drawEllipse(QPointF(side * 0.5, side * 0.5), side * 0.12, side * 0.12);
  painter.setBrush(QColor(235, 240, 250));
  painter.drawEllipse(QPointF(side * 0.45, side * 0.44), side * 0.04, side * 0.04);
  return image;
}

}  // namespace vx::skin
