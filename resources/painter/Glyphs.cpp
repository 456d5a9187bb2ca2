// Vector symbols drawn on the skin's buttons: transport, window, view and tool icons.
#include "Glyphs.h"

#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <initializer_list>

namespace vx::skin {
namespace {

// Draws in a unit square (0..1 both ways) centred in the box.
class UnitCanvas {
 public:
  UnitCanvas(QPainter& painter, const QRectF& box, const QColor& colour) : m_painter(painter), m_colour(colour) {
    const qreal side = std::min(box.width(), box.height());
    m_origin = QPointF(box.center().x() - side / 2, box.center().y() - side / 2);
    m_side = side;
  }
  QPointF At(qreal x, qreal y) const { return m_origin + QPointF(x * m_side, y * m_side); }
  QRectF Rect(qreal x, qreal y, qreal w, qreal h) const { return {At(x, y), QSizeF(w * m_side, h * m_side)}; }
  void Fill(std::initializer_list<QPointF> unitPoints) const {
    QPolygonF polygon;
    for (const QPointF& p : unitPoints) polygon << At(p.x(), p.y());
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(m_colour);
    m_painter.drawPolygon(polygon);
  }
  void FillRect(qreal x, qreal y, qreal w, qreal h) const { m_painter.fillRect(Rect(x, y, w, h), m_colour); }
  void Stroke(const QPainterPath& path, qreal unitWidth) const {
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setPen(QPen(m_colour, std::max<qreal>(1.0, unitWidth * m_side), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_painter.drawPath(path);
  }
  void Line(qreal x1, qreal y1, qreal x2, qreal y2, qreal unitWidth) const {
    QPainterPath path(At(x1, y1));
    path.lineTo(At(x2, y2));
    Stroke(path, unitWidth);
  }
  void FillPath(const QPainterPath& path) const {
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(m_colour);
    m_painter.drawPath(path);
  }
  qreal Side() const { return m_side; }

 private:
  QPainter& m_painter;
  QColor m_colour;
  QPointF m_origin;
  qreal m_side = 0;
};

void Triangle(const UnitCanvas& c, qreal left, qreal right, bool pointsRight) {
  if (pointsRight) c.Fill({{left, 0.15}, {right, 0.5}, {left, 0.85}});
  else c.Fill({{right, 0.15}, {left, 0.5}, {right, 0.85}});
}

void Folder(const UnitCanvas& c) {
  c.Fill({{0.05, 0.22}, {0.4, 0.22}, {0.48, 0.32}, {0.95, 0.32}, {0.95, 0.82}, {0.05, 0.82}});
}

void Gear(const UnitCanvas& c) {
  QPainterPath gear;
  gear.setFillRule(Qt::OddEvenFill);
  gear.addEllipse(c.Rect(0.2, 0.2, 0.6, 0.6));
  gear.addEllipse(c.Rect(0.38, 0.38, 0.24, 0.24));
  c.FillPath(gear);
  for (int i = 0; i < 4; ++i) {
    const qreal along = 0.42;
    const qreal offsets[4][2] = {{along, 0.06}, {along, 0.78}, {0.06, along}, {0.78, along}};
    c.FillRect(offsets[i][0], offsets[i][1], 0.16, 0.16);
  }
}

void Camera(const UnitCanvas& c) {
  QPainterPath body;
  body.setFillRule(Qt::OddEvenFill);
  body.addRoundedRect(c.Rect(0.05, 0.3, 0.9, 0.55), 0.08 * c.Side(), 0.08 * c.Side());
  body.addEllipse(c.Rect(0.33, 0.38, 0.34, 0.38));
  c.FillPath(body);
  c.FillRect(0.32, 0.18, 0.36, 0.14);
  QPainterPath lens;
  lens.addEllipse(c.Rect(0.42, 0.48, 0.16, 0.18));
  c.FillPath(lens);
}

void Graph(const UnitCanvas& c) {
  c.Line(0.08, 0.1, 0.08, 0.9, 0.07);
  c.Line(0.08, 0.9, 0.95, 0.9, 0.07);
  QPainterPath trace(c.At(0.15, 0.6));
  for (const QPointF& p : {QPointF(0.3, 0.3), QPointF(0.45, 0.7), QPointF(0.62, 0.2), QPointF(0.78, 0.55), QPointF(0.92, 0.4)}) {
    trace.lineTo(c.At(p.x(), p.y()));
  }
  c.Stroke(trace, 0.08);
}

void MapPin(const UnitCanvas& c) {
  QPainterPath pin;
  pin.setFillRule(Qt::OddEvenFill);
  pin.moveTo(c.At(0.5, 0.95));
  pin.cubicTo(c.At(0.2, 0.6), c.At(0.15, 0.45), c.At(0.15, 0.38));
  pin.arcTo(c.Rect(0.15, 0.03, 0.7, 0.7), 180, -180);
  pin.cubicTo(c.At(0.85, 0.45), c.At(0.8, 0.6), c.At(0.5, 0.95));
  pin.addEllipse(c.Rect(0.37, 0.25, 0.26, 0.26));
  c.FillPath(pin);
}

void FoldedMap(const UnitCanvas& c) {
  c.Fill({{0.05, 0.2}, {0.35, 0.1}, {0.35, 0.8}, {0.05, 0.9}});
  c.Fill({{0.38, 0.1}, {0.62, 0.2}, {0.62, 0.9}, {0.38, 0.8}});
  c.Fill({{0.65, 0.2}, {0.95, 0.1}, {0.95, 0.8}, {0.65, 0.9}});
}

void Swap(const UnitCanvas& c) {
  c.Line(0.12, 0.32, 0.8, 0.32, 0.1);
  c.Fill({{0.72, 0.12}, {0.98, 0.32}, {0.72, 0.52}});
  c.Line(0.2, 0.68, 0.88, 0.68, 0.1);
  c.Fill({{0.28, 0.48}, {0.02, 0.68}, {0.28, 0.88}});
}

void Speaker(const UnitCanvas& c, bool on) {
  c.Fill({{0.05, 0.35}, {0.25, 0.35}, {0.5, 0.1}, {0.5, 0.9}, {0.25, 0.65}, {0.05, 0.65}});
  if (on) {
    QPainterPath wave;
    wave.arcMoveTo(c.Rect(0.45, 0.25, 0.35, 0.5), 60);
    wave.arcTo(c.Rect(0.45, 0.25, 0.35, 0.5), 60, -120);
    c.Stroke(wave, 0.1);
    return;
  }
  c.Line(0.62, 0.32, 0.95, 0.68, 0.12);
  c.Line(0.62, 0.68, 0.95, 0.32, 0.12);
}

void Window(const UnitCanvas& c, Glyph glyph) {
  switch (glyph) {
    case Glyph::Minimise: c.FillRect(0.15, 0.68, 0.7, 0.14); break;
    case Glyph::FullScreen: {
      QPainterPath frame;
      frame.addRect(c.Rect(0.12, 0.18, 0.76, 0.64));
      c.Stroke(frame, 0.1);
      c.FillRect(0.12, 0.18, 0.76, 0.14);
      break;
    }
    case Glyph::Restore: {
      QPainterPath frames;
      frames.addRect(c.Rect(0.3, 0.12, 0.58, 0.5));
      frames.addRect(c.Rect(0.12, 0.38, 0.58, 0.5));
      c.Stroke(frames, 0.09);
      break;
    }
    default:
      c.Line(0.2, 0.2, 0.8, 0.8, 0.13);
      c.Line(0.2, 0.8, 0.8, 0.2, 0.13);
      break;
  }
}

void Transport(const UnitCanvas& c, Glyph glyph) {
  switch (glyph) {
    case Glyph::Prev: c.FillRect(0.1, 0.15, 0.12, 0.7); Triangle(c, 0.22, 0.9, false); break;
    case Glyph::Back: Triangle(c, 0.05, 0.5, false); Triangle(c, 0.5, 0.95, false); break;
    case Glyph::Play: Triangle(c, 0.2, 0.88, true); break;
    case Glyph::Stop: c.FillRect(0.2, 0.2, 0.6, 0.6); break;
    case Glyph::Pause: c.FillRect(0.22, 0.15, 0.2, 0.7); c.FillRect(0.58, 0.15, 0.2, 0.7); break;
    case Glyph::Forward: Triangle(c, 0.05, 0.5, true); Triangle(c, 0.5, 0.95, true); break;
    case Glyph::Next: Triangle(c, 0.1, 0.78, true); c.FillRect(0.78, 0.15, 0.12, 0.7); break;
    case Glyph::Slower: c.FillRect(0.15, 0.43, 0.7, 0.14); break;
    default: c.FillRect(0.15, 0.43, 0.7, 0.14); c.FillRect(0.43, 0.15, 0.14, 0.7); break;
  }
}

}  // namespace

void PaintGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const UnitCanvas c(painter, box, colour);
  switch (glyph) {
    case Glyph::None: break;
    case Glyph::Folder: Folder(c); break;
    case Glyph::Gear: Gear(c); break;
    case Glyph::Camera: case Glyph::RearCamera: case Glyph::FrontCamera: Camera(c); break;
    case Glyph::Graph: Graph(c); break;
    case Glyph::Map: MapPin(c); break;
    case Glyph::LargeMap: FoldedMap(c); break;
    case Glyph::Swap: Swap(c); break;
    case Glyph::SpeakerOn: Speaker(c, true); break;
    case Glyph::SpeakerOff: Speaker(c, false); break;
    case Glyph::Minimise: case Glyph::FullScreen: case Glyph::Restore: case Glyph::Close: Window(c, glyph); break;
    default: Transport(c, glyph); break;
  }
  painter.restore();
}

}  // namespace vx::skin
