// Where the main window puts each skinned button, and how much of its place a picture may fill beside its
// neighbours.
#include "ButtonPlaces.h"

#include <algorithm>

#include "widgets/SkinIds.h"

namespace vx::skin {
namespace {

constexpr int kClearance = 1;  // pixels of key colour each picture keeps at a shared edge
constexpr int W = kFullWidth;
constexpr int H = kFullHeight;
constexpr int c = kFullWidth / 2;
constexpr std::uint32_t B = kKeyBlack;
constexpr std::uint32_t M = kKeyMagenta;
constexpr std::uint32_t Y = kKeyRearVideo;
constexpr Screen N = Screen::Normal;
constexpr Screen F = Screen::Full;

// Length of the overlap of [a0, a1) and [b0, b1); negative for the gap between them.
int Overlap(int a0, int a1, int b0, int b1) { return std::min(a1, b1) - std::max(a0, b0); }

}  // namespace

const std::vector<ButtonEntry>& SkinButtons() {
  static const std::vector<ButtonEntry> buttons = {
      {IDB_OPEN, IDB_OPEN_HOT, N, {20, 523, 162, 52}, "OPEN", Glyph::Folder, B, false},
      {IDB_SETTINGS, IDB_SETTINGS_HOT, N, {182, 523, 162, 52}, "SETTINGS", Glyph::Gear, B, false},
      {IDB_SNAPSHOT, IDB_SNAPSHOT_HOT, N, {344, 523, 162, 52}, "SNAPSHOT", Glyph::Camera, B, false},
      {IDB_GSENSOR, IDB_GSENSOR_HOT, N, {506, 523, 162, 52}, "G-SENSOR", Glyph::Graph, B, false},
      {IDB_MINIMIZE, IDB_MINIMIZE_HOT, N, {897, 18, 28, 18}, "", Glyph::Minimise, B, false},
      {IDB_FULLSCREEN, IDB_FULLSCREEN_HOT, N, {926, 18, 28, 18}, "", Glyph::FullScreen, B, false},
      {IDB_CLOSE, IDB_CLOSE_HOT, N, {955, 18, 43, 18}, "", Glyph::Close, B, true},
      {IDB_FRONT_VIEW, IDB_FRONT_VIEW_HOT, N, {678, 28, 106, 22}, "FRONT VIEW", Glyph::FrontCamera, B, false},
      {IDB_REAR_VIEW, IDB_REAR_VIEW_HOT, N, {678, 28, 106, 22}, "REAR VIEW", Glyph::RearCamera, Y, false},
      {IDB_MAP, IDB_MAP_HOT, N, {700, 290, 98, 25}, "MAP", Glyph::Map, B, false},
      {IDB_LARGE_MAP, IDB_LARGE_MAP_HOT, N, {798, 290, 80, 25}, "BIG MAP", Glyph::LargeMap, B, false},
      {IDB_SWAP, IDB_SWAP_HOT, N, {878, 290, 98, 18}, "SWAP", Glyph::Swap, B, false},
      {IDB_PREV, IDB_PREV_HOT, N, {163, 450, 65, 25}, "", Glyph::Prev, B, false},
      {IDB_BACK, IDB_BACK_HOT, N, {228, 450, 65, 25}, "1s", Glyph::Back, B, false},
      {IDB_PLAY, IDB_PLAY_HOT, N, {284, 450, 59, 25}, "", Glyph::Play, B, false},
      {IDB_PAUSE, IDB_PAUSE_HOT, N, {284, 450, 59, 25}, "", Glyph::Pause, B, false},
      {IDB_STOP, IDB_STOP_HOT, N, {343, 450, 59, 25}, "", Glyph::Stop, B, false},
      {IDB_FORWARD, IDB_FORWARD_HOT, N, {403, 450, 59, 25}, "1s", Glyph::Forward, B, false},
      {IDB_NEXT, IDB_NEXT_HOT, N, {459, 450, 59, 25}, "", Glyph::Next, B, false},
      {IDB_SLOWER, IDB_SLOWER_HOT, N, {203, 475, 102, 25}, "SPEED", Glyph::Slower, B, false},
      {IDB_FASTER, IDB_FASTER_HOT, N, {383, 475, 102, 25}, "SPEED", Glyph::Faster, B, false},
      {IDB_FULL_REAR_VIEW, IDB_FULL_REAR_VIEW_HOT, F, {50, 1, 143, 21}, "REAR VIEW", Glyph::RearCamera, Y, false},
      {IDB_FULL_CLOSE, IDB_FULL_CLOSE_HOT, F, {W - 50, 1, 43, 18}, "", Glyph::Close, M, true},
      {IDB_FULL_MINIMIZE, IDB_FULL_MINIMIZE_HOT, F, {W - 110, 1, 28, 18}, "", Glyph::Minimise, M, false},
      {IDB_FULL_NORMAL_SIZE, IDB_FULL_NORMAL_SIZE_HOT, F, {W - 80, 1, 28, 18}, "", Glyph::Restore, M, false},
      {IDB_FULL_PREV, IDB_FULL_PREV_HOT, F, {c - 179, H - 60, 61, 25}, "", Glyph::Prev, M, false},
      {IDB_FULL_BACK, IDB_FULL_BACK_HOT, F, {c - 118, H - 60, 58, 25}, "1s", Glyph::Back, M, false},
      {IDB_FULL_PLAY, IDB_FULL_PLAY_HOT, F, {c - 60, H - 60, 60, 25}, "", Glyph::Play, M, false},
      {IDB_FULL_PAUSE, IDB_FULL_PAUSE_HOT, F, {c - 60, H - 60, 60, 25}, "", Glyph::Pause, M, false},
      {IDB_FULL_STOP, IDB_FULL_STOP_HOT, F, {c, H - 60, 60, 25}, "", Glyph::Stop, M, false},
      {IDB_FULL_FORWARD, IDB_FULL_FORWARD_HOT, F, {c + 60, H - 60, 58, 25}, "1s", Glyph::Forward, M, false},
      {IDB_FULL_NEXT, IDB_FULL_NEXT_HOT, F, {c + 118, H - 60, 61, 25}, "", Glyph::Next, M, false},
      {IDB_FULL_SLOWER, IDB_FULL_SLOWER_HOT, F, {c - 141, H - 35, 101, 25}, "SPEED", Glyph::Slower, M, false},
      {IDB_FULL_FASTER, IDB_FULL_FASTER_HOT, F, {c + 40, H - 35, 101, 25}, "SPEED", Glyph::Faster, M, false},
  };
  return buttons;
}

QRect BodyClearOf(const QRect& place, const std::vector<QRect>& neighbours, Sharing sharing) {
  int trimLeft = 0, trimRight = 0, trimTop = 0, trimBottom = 0;
  for (const QRect& other : neighbours) {
    const int across = Overlap(place.left(), place.right() + 1, other.left(), other.right() + 1);
    const int down = Overlap(place.top(), place.bottom() + 1, other.top(), other.bottom() + 1);
    if (across <= 0 && down <= 0) continue;  // apart, or meeting at a corner only
    // They meet along the axis on which they overlap least (a gap counts as a negative overlap).
    const bool sideBySide = down > 0 && (across <= 0 || across < down);
    const int overlap = sideBySide ? across : down;
    const int wanted = 2 * kClearance + overlap;  // pixels to take off between the two bodies
    if (wanted <= 0) continue;
    const bool before = sideBySide ? place.center().x() < other.center().x() : place.center().y() < other.center().y();
    const int mine = sharing == Sharing::Yield ? wanted : (before ? (wanted + 1) / 2 : wanted / 2);
    int& trim = sideBySide ? (before ? trimRight : trimLeft) : (before ? trimBottom : trimTop);
    trim = std::max(trim, mine);
  }
  return QRect(QPoint(0, 0), place.size()).adjusted(trimLeft, trimTop, -trimRight, -trimBottom);
}

QRect ButtonBody(const ButtonEntry& entry) {
  std::vector<QRect> neighbours;
  for (const ButtonEntry& other : SkinButtons()) {
    if (other.screen == entry.screen && other.place != entry.place) neighbours.push_back(other.place);
  }
  return BodyClearOf(entry.place, neighbours, Sharing::Halves);
}

QRect SpeedPlateWell() {
  const QRect plate(c - 56, H - 35, 112, 25);
  std::vector<QRect> covering;
  for (const ButtonEntry& entry : SkinButtons()) {
    if (entry.normalId == IDB_FULL_SLOWER || entry.normalId == IDB_FULL_FASTER) covering.push_back(entry.place);
  }
  return BodyClearOf(plate, covering, Sharing::Yield);
}

}  // namespace vx::skin
