// Where every control of the main window stands and which skin pictures it wears, in both window modes.
//
// ApplyLayout of the main window walks one ModeLayout: it moves each control to its rectangle, gives each
// skinned button its two pictures and key colour, gives the full-screen frame statics their pictures,
// shows and hides the listed controls and paints the background the mode names. In full screen it also
// stacks the frame pictures under every control: lower() each of FullScreenFrameStack() from its last to its
// first, which leaves the first lowest.
// The speed label is moved back to its place after each speed change (SpeedLabelRect).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/player/LayoutRect.h"

namespace vx {

// Key colours (0x00BBGGRR) whose pixels a button's shape leaves out.
inline constexpr std::uint32_t kNormalSkinKey = 0x000000;      // black
inline constexpr std::uint32_t kFullScreenSkinKey = 0xFF00FF;  // magenta
inline constexpr std::uint32_t kRearVideoSkinKey = 0x00FFFF;   // yellow: the rear-video button's pictures

inline constexpr int kNormalWindowWidth = 1020;
inline constexpr int kNormalWindowHeight = 594;

// A skinned button: its normal picture, the picture shown when pressed and under the mouse, its key colour.
struct SkinnedButtonPlace {
  int id;
  int normalBitmap;
  int hotBitmap;
  std::uint32_t key;
  LayoutRect rect;
};

// A full-screen frame static and the picture it shows.
struct FramePiecePlace {
  int id;
  int bitmap;
  LayoutRect rect;
};

// Any other control that is moved: sliders, labels, and controls put away with zero size.
struct ControlPlace {
  int id;
  LayoutRect rect;
};

struct ModeLayout {
  std::vector<SkinnedButtonPlace> buttons;
  std::vector<FramePiecePlace> framePieces;  // empty in the normal window
  std::vector<ControlPlace> places;
  LayoutRect frontView;
  LayoutRect rearView;
  std::vector<int> shown;   // control IDs (the list is IDC_LIST)
  std::vector<int> hidden;
  bool normalBackground;    // bitmap 330; false paints the full-screen background 302
};

// Pictures of the sound button, the same in every state.
int SoundButtonBitmap(bool soundOn);

// Pictures of the play button in window mode 1 or 2: the pause symbol while a recording plays (pressing it
// pauses), the play symbol otherwise.
struct ButtonBitmaps {
  int normal;
  int hot;
  friend bool operator==(const ButtonBitmaps&, const ButtonBitmaps&) = default;
};
ButtonBitmaps PlayButtonBitmaps(int mode, bool playing);

// Mode 1: the fixed 1020 x 594 window.
ModeLayout NormalLayout(bool soundOn, bool playing);

// Mode 2: full screen over a client area of width x height.
ModeLayout FullScreenLayout(int width, int height, bool playing);

// The rectangle both video views share in full screen: 1280 x 720 centred when the client area holds it,
// otherwise h = height - 140 and w = h x width / 720 (never wider than the screen), centred at y = 29.
LayoutRect FullScreenViewRect(int width, int height);

// Full-screen frame statics from the lowest to the highest; every control lies above them.
std::span<const int> FullScreenFrameStack();

// Where the speed label stands: normal window, or full screen over a client area of width x height.
LayoutRect NormalSpeedLabelRect();
LayoutRect FullScreenSpeedLabelRect(int width, int height);

}  // namespace vx
