// Pictures of the acceleration graph window and of the skinned slider, drawn to their exact descriptions.
#include "GraphArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Glyphs.h"
#include "KeySeal.h"
#include "Palette.h"
#include "widgets/SkinIds.h"

namespace vx::skin {
namespace {

constexpr QPoint kPlotOrigin(46, 31);  // where the graph window copies the plot
constexpr int kPlotCentreRow = 80;
constexpr int kRowsPerStep = 20;
const QColor kAxisText(196, 200, 206);

void AxisValues(QPainter& painter) {
  painter.setFont(LabelFont(10, false));
  for (int step = 4; step >= -4; --step) {
    const int y = kPlotOrigin.y() + kPlotCentreRow - step * kRowsPerStep;
    const QString text = QStringLiteral("%1,00").arg(step);
    painter.drawText(QRect(0, y - 7, kPlotOrigin.x() - 4, 14), Qt::AlignRight | Qt::AlignVCenter, text);
  }
  const int below = kPlotOrigin.y() + 160 + 2;
  for (const int seconds : {30, 60}) {
    const int x = kPlotOrigin.x() + seconds * 460 / 60;
    painter.drawText(QRect(x - 15, below, 30, 14), Qt::AlignCenter, QString::number(seconds));
  }
}

void Legend(QPainter& painter) {
  struct Entry {
    const char* name;
    QColor colour;
  };
  // Green one short of pure green: pure green is the transparent colour of the window's copy.
  const Entry entries[] = {{"X", QColor(0, 254, 0)}, {"Y", QColor(255, 0, 0)}, {"Z", QColor(0, 0, 255)}};
  const int baseline = 219;
  int x = 300;
  painter.setFont(LabelFont(11));
  for (const Entry& entry : entries) {
    painter.setPen(kAxisText);
    painter.drawText(QPoint(x, baseline), QString::fromLatin1(entry.name));
    painter.fillRect(QRect(x + 12, baseline - 5, 24, 2), entry.colour);
    x += 50;
  }
  painter.setPen(kAxisText);
  painter.setFont(LabelFont(11, false));
  painter.drawText(QRect(x, baseline - 12, 507 - x, 16), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("time"));
}

}  // namespace

QImage PaintGraphBackground() {
  QImage image(515, 225, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setPen(kAxisText);
  painter.setFont(LabelFont(11));
  painter.drawText(QPoint(6, 17), QStringLiteral("sensor"));
  AxisValues(painter);
  Legend(painter);
  return image;
}

QImage PaintPlotBackground() {
  QImage image(461, 160, QImage::Format_RGB32);
  image.fill(QColor(4, 4, 4));
  QPainter painter(&image);
  for (int y = 9; y <= 159; y += 10) painter.fillRect(QRect(0, y, 461, 1), QColor(60, 69, 79));
  painter.fillRect(QRect(460, 0, 1, 160), QColor(60, 69, 79));
  return image;
}

QImage PaintGraphClose(bool hot) {
  QImage image(43, 18, QImage::Format_RGB32);
  image.fill(KeyColour(kKeyMagenta));
  QPainterPath body;
  body.addRoundedRect(QRectF(0, 0, 43, 18), 5, 5);
  QPainter painter(&image);
  painter.setClipPath(body);
  QLinearGradient gradient(0, 0, 0, 18);
  gradient.setColorAt(0, QColor(222, 64, 52));
  gradient.setColorAt(1, QColor(150, 28, 24));
  painter.fillRect(image.rect(), gradient);
  if (hot) {
    QLinearGradient glow(0, 9, 0, 18);
    glow.setColorAt(0, QColor(255, 200, 40, 0));
    glow.setColorAt(1, QColor(255, 190, 30, 210));
    painter.fillRect(QRect(0, 9, 43, 9), glow);
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(QColor(110, 18, 16), 1));
  painter.drawRoundedRect(QRectF(0.5, 0.5, 42, 17), 5, 5);
  PaintGlyph(painter, Glyph::Close, QRectF(14.5, 2.5, 13, 13), Qt::white);
  painter.end();
  SealKeyColour(image, body, kKeyMagenta);
  return image;
}

QImage PaintSliderChannel() {
  QImage image(1, 7, QImage::Format_RGB32);
  const QRgb rows[7] = {qRgb(77, 77, 77),  qRgb(77, 77, 77), qRgb(255, 114, 0), qRgb(250, 255, 0),
                        qRgb(255, 114, 0), qRgb(76, 76, 76), qRgb(76, 76, 76)};
  for (int y = 0; y < 7; ++y) image.setPixel(0, y, rows[y]);
  return image;
}

QImage PaintSliderThumb() {
  QImage image(15, 7, QImage::Format_RGB32);
  image.fill(QColor(44, 46, 50));                                   // the dark frame
  QPainter painter(&image);
  painter.fillRect(QRect(1, 1, 13, 5), QColor(206, 208, 212));     // light-grey face
  painter.fillRect(QRect(1, 3, 13, 1), QColor(255, 114, 0));       // orange line on the middle row
  return image;
}

}  // namespace vx::skin
