// Where the main window puts each skinned button, and how much of its place a picture may fill beside its
// neighbours.
#pragma once

#include <QRect>

#include <cstdint>
#include <vector>

#include "Glyphs.h"

namespace vx::skin {

// The full-screen pieces are drawn for a screen of this size.
inline constexpr int kFullWidth = 1920;
inline constexpr int kFullHeight = 1080;

enum class Screen { Normal, Full };

// One button: its normal picture and the one shown while pressed or under the mouse.
struct ButtonEntry {
  int normalId;
  int hotId;
  Screen screen;
  QRect place;  // in the window's client pixels; entries of one screen at one place are one button
  const char* label;
  Glyph glyph;
  std::uint32_t key;
  bool danger;  // a close button: its hot picture is red
};

const std::vector<ButtonEntry>& SkinButtons();

// How two pictures share the strip where their places meet or overlap.
enum class Sharing {
  Halves,  // each keeps its half, as two buttons side by side
  Yield,   // this picture lies behind the other and gives up the whole strip
};

// The part of place, in the picture's own pixels, that its body may fill: it keeps 1 pixel clear of the line
// it shares with each neighbour, so that neighbouring bodies neither overlap nor touch.
QRect BodyClearOf(const QRect& place, const std::vector<QRect>& neighbours, Sharing sharing);

// The body of a button among the other buttons of its screen.
QRect ButtonBody(const ButtonEntry& entry);

// The part of the full-screen speed plate (112 x 25, behind the speed label) that the speed buttons leave free.
QRect SpeedPlateWell();

}  // namespace vx::skin
