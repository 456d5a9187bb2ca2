// Resource IDs of the skin bitmaps and icon, and the key colours that cut the skinned windows' shapes.
#pragma once

#include <cstdint>

namespace vx {

// Key colours are 0x00BBGGRR values (red in the low byte).
inline constexpr std::uint32_t kKeyBlack = 0x000000;     // normal-window skin
inline constexpr std::uint32_t kKeyMagenta = 0xFF00FF;   // full-screen skin and the graph's button
inline constexpr std::uint32_t kKeyRearVideo = 0x00FFFF;  // rear-video button's 286/287 and 258/316 (red + green)

inline constexpr int IDR_MAINFRAME = 143;  // window icon
inline constexpr int IDB_SPARE_STATIC = 133;  // picture of static 1026 (never shown at a size)

// Normal window, 1020 x 594: background and buttons (normal, pressed/hover).
inline constexpr int IDB_BACKGROUND = 330;
inline constexpr int IDB_OPEN = 238, IDB_OPEN_HOT = 279;
inline constexpr int IDB_SETTINGS = 245, IDB_SETTINGS_HOT = 280;
inline constexpr int IDB_SNAPSHOT = 235, IDB_SNAPSHOT_HOT = 278;
inline constexpr int IDB_GSENSOR = 231, IDB_GSENSOR_HOT = 277;
inline constexpr int IDB_MINIMIZE = 234, IDB_MINIMIZE_HOT = 281;
inline constexpr int IDB_FULLSCREEN = 237, IDB_FULLSCREEN_HOT = 283;
inline constexpr int IDB_CLOSE = 236, IDB_CLOSE_HOT = 282;
// The rear-video button's two pairs: 250/288 are cut with the black key of the normal layout, 286/287 with
// the rear-video key.
inline constexpr int IDB_FRONT_VIEW = 250, IDB_FRONT_VIEW_HOT = 288;  // rear video large: offers the front
inline constexpr int IDB_REAR_VIEW = 286, IDB_REAR_VIEW_HOT = 287;    // front video large: offers the rear
inline constexpr int IDB_MAP = 239, IDB_MAP_HOT = 289;
inline constexpr int IDB_LARGE_MAP = 243, IDB_LARGE_MAP_HOT = 290;
inline constexpr int IDB_SWAP = 244, IDB_SWAP_HOT = 291;
inline constexpr int IDB_PREV = 232, IDB_PREV_HOT = 292;
inline constexpr int IDB_BACK = 233, IDB_BACK_HOT = 293;
inline constexpr int IDB_PLAY = 242, IDB_PLAY_HOT = 297;
inline constexpr int IDB_PAUSE = 331, IDB_PAUSE_HOT = 332;  // the play button while playing
inline constexpr int IDB_STOP = 248, IDB_STOP_HOT = 298;
inline constexpr int IDB_FORWARD = 241, IDB_FORWARD_HOT = 295;
inline constexpr int IDB_NEXT = 240, IDB_NEXT_HOT = 294;
inline constexpr int IDB_SLOWER = 247, IDB_SLOWER_HOT = 301;
inline constexpr int IDB_FASTER = 246, IDB_FASTER_HOT = 300;
inline constexpr int IDB_SOUND_ON = 299, IDB_SOUND_OFF = 252;

// Full screen, drawn for 1920 x 1080: background, frame pieces and buttons.
inline constexpr int IDB_FULL_BACKGROUND = 302;
inline constexpr int IDB_FULL_TOP_BAR = 329;
inline constexpr int IDB_FULL_MIDDLE = 327;
inline constexpr int IDB_FULL_BOTTOM_BAR = 326;
inline constexpr int IDB_FULL_DIVIDER = 324;
inline constexpr int IDB_FULL_SPEED_PLATE = 328;
inline constexpr int IDB_FULL_REAR_VIEW = 258, IDB_FULL_REAR_VIEW_HOT = 316;
inline constexpr int IDB_FULL_CLOSE = 259, IDB_FULL_CLOSE_HOT = 305;
inline constexpr int IDB_FULL_MINIMIZE = 257, IDB_FULL_MINIMIZE_HOT = 304;
inline constexpr int IDB_FULL_NORMAL_SIZE = 263, IDB_FULL_NORMAL_SIZE_HOT = 303;
inline constexpr int IDB_FULL_PREV = 255, IDB_FULL_PREV_HOT = 308;
inline constexpr int IDB_FULL_BACK = 256, IDB_FULL_BACK_HOT = 309;
inline constexpr int IDB_FULL_PLAY = 262, IDB_FULL_PLAY_HOT = 312;
inline constexpr int IDB_FULL_PAUSE = 333, IDB_FULL_PAUSE_HOT = 334;
inline constexpr int IDB_FULL_STOP = 267, IDB_FULL_STOP_HOT = 315;
inline constexpr int IDB_FULL_FORWARD = 261, IDB_FULL_FORWARD_HOT = 311;
inline constexpr int IDB_FULL_NEXT = 260, IDB_FULL_NEXT_HOT = 310;
inline constexpr int IDB_FULL_SLOWER = 266, IDB_FULL_SLOWER_HOT = 314;
inline constexpr int IDB_FULL_FASTER = 265, IDB_FULL_FASTER_HOT = 313;

// Skinned slider.
inline constexpr int IDB_SLIDER_CHANNEL = 228;  // 1 x 7, stretched over the slider
inline constexpr int IDB_SLIDER_THUMB = 229;    // 15 x 7

// Acceleration graph window.
inline constexpr int IDB_GRAPH_BACKGROUND = 220;  // 515 x 225, pure green is transparent
inline constexpr int IDB_GRAPH_PLOT = 129;        // 461 x 160
inline constexpr int IDB_GRAPH_CLOSE = 269, IDB_GRAPH_CLOSE_HOT = 307;

}  // namespace vx
