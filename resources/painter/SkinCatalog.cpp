// Every skin picture of the program, by resource ID, painted at the size of the place it fills.
#include "SkinCatalog.h"

#include <algorithm>

#include "ButtonArt.h"
#include "GraphArt.h"
#include "Palette.h"
#include "WindowArt.h"
#include "widgets/SkinIds.h"

namespace vx::skin {
namespace {

constexpr QSize kScreen(1920, 1080);

// One button: its normal picture and the one shown while pressed or under the mouse.
struct ButtonEntry {
  int normalId;
  int hotId;
  QSize size;
  const char* label;
  Glyph glyph;
  std::uint32_t key;
  bool danger;
};

constexpr std::uint32_t B = kKeyBlack;
constexpr std::uint32_t M = kKeyMagenta;
constexpr std::uint32_t R = kKeyRearVideo;

const ButtonEntry kButtons[] = {
    {IDB_OPEN, IDB_OPEN_HOT, {162, 52}, "OPEN", Glyph::Folder, B, false},
    {IDB_SETTINGS, IDB_SETTINGS_HOT, {162, 52}, "SETTINGS", Glyph::Gear, B, false},
    {IDB_SNAPSHOT, IDB_SNAPSHOT_HOT, {162, 52}, "SNAPSHOT", Glyph::Camera, B, false},
    {IDB_GSENSOR, IDB_GSENSOR_HOT, {162, 52}, "G-SENSOR", Glyph::Graph, B, false},
    {IDB_MINIMIZE, IDB_MINIMIZE_HOT, {28, 18}, "", Glyph::Minimise, B, false},
    {IDB_FULLSCREEN, IDB_FULLSCREEN_HOT, {28, 18}, "", Glyph::FullScreen, B, false},
    {IDB_CLOSE, IDB_CLOSE_HOT, {43, 18}, "", Glyph::Close, B, true},
    {IDB_FRONT_VIEW, IDB_FRONT_VIEW_HOT, {106, 22}, "FRONT VIEW", Glyph::FrontCamera, R, false},
    {IDB_REAR_VIEW, IDB_REAR_VIEW_HOT, {106, 22}, "REAR VIEW", Glyph::RearCamera, R, false},
    {IDB_MAP, IDB_MAP_HOT, {98, 25}, "MAP", Glyph::Map, B, false},
    {IDB_LARGE_MAP, IDB_LARGE_MAP_HOT, {80, 25}, "BIG MAP", Glyph::LargeMap, B, false},
    {IDB_SWAP, IDB_SWAP_HOT, {98, 18}, "SWAP", Glyph::Swap, B, false},
    {IDB_PREV, IDB_PREV_HOT, {65, 25}, "", Glyph::Prev, B, false},
    {IDB_BACK, IDB_BACK_HOT, {65, 25}, "1s", Glyph::Back, B, false},
    {IDB_PLAY, IDB_PLAY_HOT, {59, 25}, "", Glyph::Play, B, false},
    {IDB_STOP, IDB_STOP_HOT, {59, 25}, "", Glyph::Stop, B, false},
    {IDB_FORWARD, IDB_FORWARD_HOT, {59, 25}, "1s", Glyph::Forward, B, false},
    {IDB_NEXT, IDB_NEXT_HOT, {59, 25}, "", Glyph::Next, B, false},
    {IDB_SLOWER, IDB_SLOWER_HOT, {102, 25}, "SPEED", Glyph::Slower, B, false},
    {IDB_FASTER, IDB_FASTER_HOT, {102, 25}, "SPEED", Glyph::Faster, B, false},
    {IDB_FULL_REAR_VIEW, IDB_FULL_REAR_VIEW_HOT, {143, 21}, "REAR VIEW", Glyph::RearCamera, R, false},
    {IDB_FULL_CLOSE, IDB_FULL_CLOSE_HOT, {43, 18}, "", Glyph::Close, M, true},
    {IDB_FULL_MINIMIZE, IDB_FULL_MINIMIZE_HOT, {28, 18}, "", Glyph::Minimise, M, false},
    {IDB_FULL_NORMAL_SIZE, IDB_FULL_NORMAL_SIZE_HOT, {28, 18}, "", Glyph::Restore, M, false},
    {IDB_FULL_PREV, IDB_FULL_PREV_HOT, {61, 25}, "", Glyph::Prev, M, false},
    {IDB_FULL_BACK, IDB_FULL_BACK_HOT, {58, 25}, "1s", Glyph::Back, M, false},
    {IDB_FULL_PLAY, IDB_FULL_PLAY_HOT, {60, 25}, "", Glyph::Play, M, false},
    {IDB_FULL_STOP, IDB_FULL_STOP_HOT, {60, 25}, "", Glyph::Stop, M, false},
    {IDB_FULL_FORWARD, IDB_FULL_FORWARD_HOT, {58, 25}, "1s", Glyph::Forward, M, false},
    {IDB_FULL_NEXT, IDB_FULL_NEXT_HOT, {61, 25}, "", Glyph::Next, M, false},
    {IDB_FULL_SLOWER, IDB_FULL_SLOWER_HOT, {101, 25}, "SPEED", Glyph::Slower, M, false},
    {IDB_FULL_FASTER, IDB_FULL_FASTER_HOT, {101, 25}, "SPEED", Glyph::Faster, M, false},
};

void AddButtons(std::vector<SkinImage>& images) {
  for (const ButtonEntry& entry : kButtons) {
    ButtonArt art{QString::fromLatin1(entry.label), entry.glyph, entry.key, false, entry.danger};
    images.push_back({entry.normalId, PaintButton(entry.size, art)});
    art.hot = true;
    images.push_back({entry.hotId, PaintButton(entry.size, art)});
  }
  images.push_back({IDB_SOUND_ON, PaintBareGlyph({14, 13}, Glyph::SpeakerOn, kText, kKeyBlack)});
  images.push_back({IDB_SOUND_OFF, PaintBareGlyph({14, 13}, Glyph::SpeakerOff, QColor(230, 90, 70), kKeyBlack)});
  images.push_back({IDB_GRAPH_CLOSE, PaintGraphClose(false)});
  images.push_back({IDB_GRAPH_CLOSE_HOT, PaintGraphClose(true)});
}

void AddWindowPieces(std::vector<SkinImage>& images) {
  images.push_back({IDB_BACKGROUND, PaintNormalBackground()});
  images.push_back({IDB_FULL_BACKGROUND, PaintFullBackground(kScreen)});
  images.push_back({IDB_FULL_TOP_BAR, PaintFullTopBar(kScreen.width())});
  images.push_back({IDB_FULL_MIDDLE, PaintFullMiddle({kScreen.width(), kScreen.height() - 130})});
  images.push_back({IDB_FULL_BOTTOM_BAR, PaintFullBottomBar(kScreen.width())});
  images.push_back({IDB_FULL_DIVIDER, PaintFullDivider(kScreen.width() - 40)});
  images.push_back({IDB_FULL_SPEED_PLATE, PaintFullSpeedPlate()});
  images.push_back({IDB_SPARE_STATIC, PaintSpareStatic()});
  images.push_back({IDR_MAINFRAME, PaintWindowIcon(64)});
  images.push_back({IDB_SLIDER_CHANNEL, PaintSliderChannel()});
  images.push_back({IDB_SLIDER_THUMB, PaintSliderThumb()});
  images.push_back({IDB_GRAPH_BACKGROUND, PaintGraphBackground()});
  images.push_back({IDB_GRAPH_PLOT, PaintPlotBackground()});
}

}  // namespace

std::vector<SkinImage> PaintSkinImages() {
  std::vector<SkinImage> images;
  AddButtons(images);
  AddWindowPieces(images);
  std::sort(images.begin(), images.end(), [](const SkinImage& a, const SkinImage& b) { return a.id < b.id; });
  return images;
}

}  // namespace vx::skin
