// Skin pictures by resource ID, from the pictures drawn at build time and packed into the program.
#pragma once

#include <QImage>

namespace vx {

// A null image when the ID has no picture.
QImage LoadSkinImage(int id);

}  // namespace vx
