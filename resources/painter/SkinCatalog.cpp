// Every skin picture of the program, by resource ID, painted at the size of the place it fills.
#include "SkinCatalog.h"

#include <algorithm>

#include "ButtonArt.h"
#include "ButtonPlaces.h"
#include "GraphArt.h"
#include "Palette.h"
#include "WindowArt.h"
#include "widgets/SkinIds.h"

namespace vx::skin {
namespace {

constexpr QSize kScreen(kFullWidth, kFullHeight);

void AddButtons(std::vector<SkinImage>& images) {
  for (const ButtonEntry& entry : SkinButtons()) {
    const QRect body = ButtonBody(entry);
    ButtonArt art{QString::fromLatin1(entry.label), entry.glyph, entry.key, false, entry.danger};
    images.push_back({entry.normalId, PaintButton(entry.place.size(), body, art)});
    art.hot = true;
    images.push_back({entry.hotId, PaintButton(entry.place.size(), body, art)});
  }
  // The sound button sits on the timeline's panel in both window modes.
  images.push_back({IDB_SOUND_ON, PaintBareGlyph({14, 13}, Glyph::SpeakerOn, kText, kPanel, kKeyBlack)});
  const QColor muted(230, 90, 70);
  images.push_back({IDB_SOUND_OFF, PaintBareGlyph({14, 13}, Glyph::SpeakerOff, muted, kPanel, kKeyBlack)});
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
  images.push_back({IDB_FULL_SPEED_PLATE, PaintFullSpeedPlate(SpeedPlateWell())});
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
