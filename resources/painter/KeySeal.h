// Makes a skin picture safe for its key colour: exact key outside the shape, no key-range pixel inside it.
#pragma once

#include <QImage>
#include <QPainterPath>

#include <cstdint>

namespace vx::skin {

// Pixels whose centre lies outside shape become the exact key colour; pixels inside whose colour falls in
// the key's transparent range are moved just out of it, so the window region has no stray holes.
void SealKeyColour(QImage& image, const QPainterPath& shape, std::uint32_t key);

}  // namespace vx::skin
