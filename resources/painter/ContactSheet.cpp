// One picture showing every skin image at its own size, labelled with its ID and size.
#include "ContactSheet.h"

#include <QPainter>

#include <algorithm>

#include "Palette.h"

namespace vx::skin {
namespace {

constexpr int kSheetWidth = 1960;
constexpr int kGap = 14;
constexpr int kLabelHeight = 18;
constexpr int kZoom = 4;

bool IsTiny(const QImage& image) { return image.width() < 40 && image.height() < 40; }

QSize CellSize(const SkinImage& entry, int labelWidth) {
  const QSize size = entry.image.size();
  const int zoomWidth = IsTiny(entry.image) ? size.width() * kZoom + kGap : 0;
  const int height = std::max(size.height(), IsTiny(entry.image) ? size.height() * kZoom : 0);
  return {std::max(size.width() + zoomWidth, labelWidth), height + kLabelHeight};
}

QString Caption(const SkinImage& entry) {
  return QStringLiteral("%1  %2\u00D7%3").arg(entry.id).arg(entry.image.width()).arg(entry.image.height());
}

// Places each cell left to right, wrapping rows at the sheet width; returns the sheet height.
int Layout(const std::vector<SkinImage>& images, const QFontMetrics& metrics, std::vector<QRect>& cells) {
  QPoint at(kGap, kGap);
  int rowHeight = 0;
  for (const SkinImage& entry : images) {
    const QSize size = CellSize(entry, metrics.horizontalAdvance(Caption(entry)));
    if (at.x() > kGap && at.x() + size.width() > kSheetWidth - kGap) {
      at = QPoint(kGap, at.y() + rowHeight + kGap);
      rowHeight = 0;
    }
    cells.emplace_back(at, size);
    at.rx() += size.width() + kGap;
    rowHeight = std::max(rowHeight, size.height());
  }
  return at.y() + rowHeight + kGap;
}

}  // namespace

QImage MakeContactSheet(const std::vector<SkinImage>& images) {
  const QFont font = LabelFont(12);
  std::vector<QRect> cells;
  const int height = Layout(images, QFontMetrics(font), cells);
  QImage sheet(kSheetWidth, height, QImage::Format_RGB32);
  sheet.fill(QColor(110, 112, 116));  // mid grey, so that black, magenta and yellow keys all stand out
  QPainter painter(&sheet);
  painter.setFont(font);
  for (std::size_t i = 0; i < images.size(); ++i) {
    const QRect& cell = cells[i];
    const QImage& image = images[i].image;
    painter.setPen(Qt::white);
    painter.drawText(QRect(cell.left(), cell.top(), cell.width(), kLabelHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     Caption(images[i]));
    const QPoint origin(cell.left(), cell.top() + kLabelHeight);
    painter.drawImage(origin, image);
    if (IsTiny(image)) {
      const QRect zoomed(origin + QPoint(image.width() + kGap, 0), image.size() * kZoom);
      painter.drawImage(zoomed, image);  // smooth scaling is off by default: pixels stay square
    }
  }
  return sheet;
}

}  // namespace vx::skin
