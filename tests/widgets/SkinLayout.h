// Where the main window places each skinned button in its two modes, with the pictures and key it loads.
#pragma once

#include <QRect>

#include <cstdint>
#include <vector>

#include "widgets/SkinIds.h"

namespace vx::test {

struct PlacedButton {
  int control;  // the button's control ID; pictures that share one control take turns at the same place
  int normalId;
  int hotId;
  QRect rect;
  std::uint32_t key;
};

// The normal 1020 x 594 window. Button 1100 shows either the front-view or the rear-view pair.
inline std::vector<PlacedButton> NormalWindowButtons() {
  return {
      {1012, IDB_OPEN, IDB_OPEN_HOT, {20, 523, 162, 52}, kKeyBlack},
      {1016, IDB_SETTINGS, IDB_SETTINGS_HOT, {182, 523, 162, 52}, kKeyBlack},
      {1017, IDB_SNAPSHOT, IDB_SNAPSHOT_HOT, {344, 523, 162, 52}, kKeyBlack},
      {1098, IDB_GSENSOR, IDB_GSENSOR_HOT, {506, 523, 162, 52}, kKeyBlack},
      {1000, IDB_MINIMIZE, IDB_MINIMIZE_HOT, {897, 18, 28, 18}, kKeyBlack},
      {1018, IDB_FULLSCREEN, IDB_FULLSCREEN_HOT, {926, 18, 28, 18}, kKeyBlack},
      {1001, IDB_CLOSE, IDB_CLOSE_HOT, {955, 18, 43, 18}, kKeyBlack},
      {1100, IDB_FRONT_VIEW, IDB_FRONT_VIEW_HOT, {678, 28, 106, 22}, kKeyBlack},
      {1100, IDB_REAR_VIEW, IDB_REAR_VIEW_HOT, {678, 28, 106, 22}, kKeyRearVideo},
      {1099, IDB_MAP, IDB_MAP_HOT, {700, 290, 98, 25}, kKeyBlack},
      {1101, IDB_LARGE_MAP, IDB_LARGE_MAP_HOT, {798, 290, 80, 25}, kKeyBlack},
      {1097, IDB_SWAP, IDB_SWAP_HOT, {878, 290, 98, 18}, kKeyBlack},
      {1005, IDB_PREV, IDB_PREV_HOT, {163, 450, 65, 25}, kKeyBlack},
      {1009, IDB_BACK, IDB_BACK_HOT, {228, 450, 65, 25}, kKeyBlack},
      {1006, IDB_PLAY, IDB_PLAY_HOT, {284, 450, 59, 25}, kKeyBlack},
      {1006, IDB_PAUSE, IDB_PAUSE_HOT, {284, 450, 59, 25}, kKeyBlack},
      {1007, IDB_STOP, IDB_STOP_HOT, {343, 450, 59, 25}, kKeyBlack},
      {1010, IDB_FORWARD, IDB_FORWARD_HOT, {403, 450, 59, 25}, kKeyBlack},
      {1008, IDB_NEXT, IDB_NEXT_HOT, {459, 450, 59, 25}, kKeyBlack},
      {1110, IDB_SLOWER, IDB_SLOWER_HOT, {203, 475, 102, 25}, kKeyBlack},
      {1111, IDB_FASTER, IDB_FASTER_HOT, {383, 475, 102, 25}, kKeyBlack},
      {1023, IDB_SOUND_ON, IDB_SOUND_ON, {548, 416, 14, 13}, kKeyBlack},
      {1023, IDB_SOUND_OFF, IDB_SOUND_OFF, {548, 416, 14, 13}, kKeyBlack},
  };
}

// Full screen on a client area of width x height.
inline std::vector<PlacedButton> FullScreenButtons(int width, int height) {
  const int c = width / 2;
  const int w = width;
  const int h = height;
  return {
      {1100, IDB_FULL_REAR_VIEW, IDB_FULL_REAR_VIEW_HOT, {50, 1, 143, 21}, kKeyRearVideo},
      {1001, IDB_FULL_CLOSE, IDB_FULL_CLOSE_HOT, {w - 50, 1, 43, 18}, kKeyMagenta},
      {1000, IDB_FULL_MINIMIZE, IDB_FULL_MINIMIZE_HOT, {w - 110, 1, 28, 18}, kKeyMagenta},
      {1025, IDB_FULL_NORMAL_SIZE, IDB_FULL_NORMAL_SIZE_HOT, {w - 80, 1, 28, 18}, kKeyMagenta},
      {1005, IDB_FULL_PREV, IDB_FULL_PREV_HOT, {c - 179, h - 60, 61, 25}, kKeyMagenta},
      {1009, IDB_FULL_BACK, IDB_FULL_BACK_HOT, {c - 118, h - 60, 58, 25}, kKeyMagenta},
      {1006, IDB_FULL_PLAY, IDB_FULL_PLAY_HOT, {c - 60, h - 60, 60, 25}, kKeyMagenta},
      {1006, IDB_FULL_PAUSE, IDB_FULL_PAUSE_HOT, {c - 60, h - 60, 60, 25}, kKeyMagenta},
      {1007, IDB_FULL_STOP, IDB_FULL_STOP_HOT, {c, h - 60, 60, 25}, kKeyMagenta},
      {1010, IDB_FULL_FORWARD, IDB_FULL_FORWARD_HOT, {c + 60, h - 60, 58, 25}, kKeyMagenta},
      {1008, IDB_FULL_NEXT, IDB_FULL_NEXT_HOT, {c + 118, h - 60, 61, 25}, kKeyMagenta},
      {1110, IDB_FULL_SLOWER, IDB_FULL_SLOWER_HOT, {c - 141, h - 35, 101, 25}, kKeyMagenta},
      {1111, IDB_FULL_FASTER, IDB_FULL_FASTER_HOT, {c + 40, h - 35, 101, 25}, kKeyMagenta},
      {1023, IDB_SOUND_ON, IDB_SOUND_ON, {2 * c - 110, h - 103, 14, 13}, kKeyBlack},
      {1023, IDB_SOUND_OFF, IDB_SOUND_OFF, {2 * c - 110, h - 103, 14, 13}, kKeyBlack},
  };
}

}  // namespace vx::test
