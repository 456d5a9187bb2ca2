// A layout rectangle of the core as a Qt rectangle.
#pragma once

#include <QRect>

#include "core/player/LayoutRect.h"

namespace vx {

inline QRect ToQRect(const LayoutRect& r) { return {r.x, r.y, r.width, r.height}; }

}  // namespace vx
