// The layout and skin tables of the main window's two modes.
#include "core/player/WindowLayout.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/player/ControlIds.h"

namespace vx {
namespace {

constexpr int kSoundOnBitmap = 299;
constexpr int kSoundOffBitmap = 252;

constexpr LayoutRect kZero{0, 0, 0, 0};

constexpr std::array<int, 5> kFrameStack = {IDC_FRAME_MIDDLE, IDC_FRAME_TOP_BAR, IDC_FRAME_BOTTOM_BAR,
                                            IDC_FRAME_DIVIDER, IDC_FRAME_SPEED_PLATE};

}  // namespace

int SoundButtonBitmap(bool soundOn) { return soundOn ? kSoundOnBitmap : kSoundOffBitmap; }

ButtonBitmaps PlayButtonBitmaps(int mode, bool playing) {
  if (mode == 2) return playing ? ButtonBitmaps{333, 334} : ButtonBitmaps{262, 312};
  return playing ? ButtonBitmaps{331, 332} : ButtonBitmaps{242, 297};
}

LayoutRect NormalSpeedLabelRect() { return {322, 478, 70, 30}; }

LayoutRect FullScreenSpeedLabelRect(int width, int height) { return {width / 2 - 21, height - 32, 70, 30}; }

ModeLayout NormalLayout(bool soundOn, bool playing) {
  constexpr std::uint32_t k = kNormalSkinKey;
  const int sound = SoundButtonBitmap(soundOn);
  const ButtonBitmaps play = PlayButtonBitmaps(1, playing);
  ModeLayout layout;
  layout.buttons = {
      {IDC_OPEN, 238, 279, k, {20, 523, 162, 52}},
      {IDC_SETTINGS, 245, 280, k, {182, 523, 162, 52}},
      {IDC_SNAPSHOT, 235, 278, k, {344, 523, 162, 52}},
      {IDC_GSENSOR, 231, 277, k, {506, 523, 162, 52}},
      {IDC_MINIMIZE, 234, 281, k, {897, 18, 28, 18}},
      {IDC_FULL_SCREEN, 237, 283, k, {926, 18, 28, 18}},
      {IDC_CLOSE, 236, 282, k, {955, 18, 43, 18}},
      // Its pictures are drawn with the yellow key, like the pair ArrangeViews swaps in (286/287).
      {IDC_REAR_VIDEO, 250, 288, kNormalSkinKey, {678, 28, 106, 22}},
      {IDC_MAP, 239, 289, k, {700, 290, 98, 25}},
      {IDC_LARGE_MAP, 243, 290, k, {798, 290, 80, 25}},
      {IDC_SWAP, 244, 291, k, {878, 290, 98, 18}},
      {IDC_PREV, 232, 292, k, {163, 450, 65, 25}},
      {IDC_BACK_1S, 233, 293, k, {228, 450, 65, 25}},
      {IDC_PLAY, play.normal, play.hot, k, {284, 450, 59, 25}},
      {IDC_STOP, 248, 298, k, {343, 450, 59, 25}},
      {IDC_FORWARD_1S, 241, 295, k, {403, 450, 59, 25}},
      {IDC_NEXT, 240, 294, k, {459, 450, 59, 25}},
      {IDC_SLOWER, 247, 301, k, {203, 475, 102, 25}},
      {IDC_FASTER, 246, 300, k, {383, 475, 102, 25}},
      {IDC_SOUND, sound, sound, k, {548, 416, 14, 13}},
  };
  layout.places = {
      {IDC_FPS, {500, 525, 51, 48}},
      {IDC_FRAME_DIVIDER, kZero},
      {IDC_FRAME_BOTTOM_BAR, kZero},
      {IDC_FRAME_MIDDLE, kZero},
      {IDC_FRAME_SPEED_PLATE, kZero},
      {IDC_FRAME_TOP_BAR, kZero},
      {IDC_POSITION_SLIDER, {31, 419, 502, 7}},
      {IDC_VOLUME_SLIDER, {563, 419, 90, 7}},
      {IDC_CURRENT_TIME, {34, 430, 50, 12}},
      {IDC_TIME_SEPARATOR, {88, 430, 4, 12}},
      {IDC_TOTAL_TIME, {98, 430, 50, 12}},
      {IDC_READOUT, {160, 430, 500, 14}},  // between the time labels and the transport buttons
      {IDC_SPEED_LABEL, NormalSpeedLabelRect()},
      {IDC_LIST, {678, 329, 320, 240}},  // set once at start; full screen only hides it
  };
  layout.frontView = {23, 50, 640, 360};
  layout.rearView = {678, 50, 320, 240};
  layout.shown = {IDC_LIST,   IDC_SETTINGS, IDC_SNAPSHOT, IDC_GSENSOR,    IDC_REAR_VIDEO,
                  IDC_MAP,    IDC_SWAP,     IDC_LARGE_MAP, IDC_FULL_SCREEN};
  layout.hidden = {IDC_SPARE_PICTURE, IDC_NORMAL_SIZE};
  layout.normalBackground = true;
  return layout;
}

LayoutRect FullScreenViewRect(int width, int height) {
  if (width >= 1280 && height >= 860) return {(width - 1280) / 2, (height - 829) / 2 + 29, 1280, 720};
  const int h = std::max(height - 140, 0);
  const auto stretched = static_cast<std::int64_t>(h) * width / 720;
  const int w = static_cast<int>(std::clamp<std::int64_t>(stretched, 0, std::max(width, 0)));
  return {(width - w) / 2, 29, w, h};
}

ModeLayout FullScreenLayout(int width, int height, bool playing) {
  const int W = width;
  const int H = height;
  const int c = W / 2;
  constexpr std::uint32_t k = kFullScreenSkinKey;
  const ButtonBitmaps play = PlayButtonBitmaps(2, playing);
  ModeLayout layout;
  layout.frontView = layout.rearView = FullScreenViewRect(W, H);
  layout.framePieces = {
      {IDC_FRAME_MIDDLE, 327, {0, 22, W, H - 130}},
      {IDC_FRAME_BOTTOM_BAR, 326, {0, H - 120, W, 120}},
      {IDC_FRAME_DIVIDER, 324, {20, H - 46, W - 40, 11}},
      {IDC_FRAME_SPEED_PLATE, 328, {c - 56, H - 35, 112, 25}},
      {IDC_FRAME_TOP_BAR, 329, {0, 0, W, 21}},
  };
  layout.buttons = {
      {IDC_REAR_VIDEO, 258, 316, kRearVideoSkinKey, {50, 1, 143, 21}},
      {IDC_CLOSE, 259, 305, k, {W - 50, 1, 43, 18}},
      {IDC_MINIMIZE, 257, 304, k, {W - 110, 1, 28, 18}},
      {IDC_NORMAL_SIZE, 263, 303, k, {W - 80, 1, 28, 18}},
      {IDC_PREV, 255, 308, k, {c - 179, H - 60, 61, 25}},
      {IDC_BACK_1S, 256, 309, k, {c - 118, H - 60, 58, 25}},
      {IDC_PLAY, play.normal, play.hot, k, {c - 60, H - 60, 60, 25}},
      {IDC_STOP, 267, 315, k, {c, H - 60, 60, 25}},
      {IDC_FORWARD_1S, 261, 311, k, {c + 60, H - 60, 58, 25}},
      {IDC_NEXT, 260, 310, k, {c + 118, H - 60, 61, 25}},
      {IDC_SLOWER, 266, 314, k, {c - 141, H - 35, 101, 25}},
      {IDC_FASTER, 265, 313, k, {c + 40, H - 35, 101, 25}},
  };
  layout.places = {
      {IDC_POSITION_SLIDER, {15, H - 100, 2 * c - 150, 7}},
      {IDC_SOUND, {2 * c - 110, H - 103, 14, 13}},
      {IDC_VOLUME_SLIDER, {2 * c - 90, H - 100, 75, 7}},
      {IDC_CURRENT_TIME, {15, H - 90, 50, 12}},
      {IDC_TIME_SEPARATOR, {65, H - 90, 4, 12}},
      {IDC_TOTAL_TIME, {71, H - 90, 50, 12}},
      // On the bottom bar, below the picture and above the transport buttons.
      {IDC_READOUT, {131, H - 91, std::clamp(W - 146, 0, 500), 14}},
      {IDC_SPEED_LABEL, FullScreenSpeedLabelRect(W, H)},
      {IDC_OPEN, kZero},
      {IDC_FPS, kZero},
      {IDC_SWAP, kZero},
      {IDC_SPARE_PICTURE, kZero},
  };
  layout.shown = {IDC_NORMAL_SIZE, IDC_SPARE_PICTURE};
  layout.hidden = {IDC_LIST, IDC_SETTINGS, IDC_SNAPSHOT, IDC_GSENSOR, IDC_MAP, IDC_LARGE_MAP, IDC_FULL_SCREEN};
  layout.normalBackground = false;
  return layout;
}

std::span<const int> FullScreenFrameStack() { return kFrameStack; }

}  // namespace vx
