// Skin button faces: a rounded dark body cut out of the key colour, with a symbol and a label.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

#include "Glyphs.h"

namespace vx::skin {

struct ButtonArt {
  QString label;
  Glyph glyph = Glyph::None;
  std::uint32_t key = 0;  // colour outside the rounded body (0x00BBGGRR)
  bool hot = false;       // the picture for pressed and mouse over
  bool danger = false;    // a close button: its hot picture is red
};

// A picture of size whose rounded body fills body; everything around the body is the exact key colour.
QImage PaintButton(const QSize& size, const QRect& body, const ButtonArt& art);

// A symbol alone on the key colour (the sound button), so the window region keeps only the symbol. Its
// smoothed edge is blended with backdrop, the colour it is shown on, never with the key.
QImage PaintBareGlyph(const QSize& size, Glyph glyph, const QColor& colour, const QColor& backdrop, std::uint32_t key);

}  // namespace vx::skin
