// Skin button faces: a rounded dark body cut out of the key colour, with a symbol and a label.
#pragma once

#include <QImage>
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

QImage PaintButton(const QSize& size, const ButtonArt& art);

// A symbol alone on the key colour (the sound button), so the window region keeps only the symbol.
QImage PaintBareGlyph(const QSize& size, Glyph glyph, const QColor& colour, std::uint32_t key);

}  // namespace vx::skin
