// Vector symbols drawn on the skin's buttons: transport, window, view and tool icons.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace vx::skin {

enum class Glyph {
  None, Folder, Gear, Camera, Graph, Minimise, FullScreen, Restore, Close, Prev, Back, Play, Stop, Forward,
  Next, Slower, Faster, Pause, Map, LargeMap, Swap, RearCamera, FrontCamera, SpeakerOn, SpeakerOff
};

// Draws glyph centred in box with colour, filled or stroked as the symbol needs.
void PaintGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour);

}  // namespace vx::skin
