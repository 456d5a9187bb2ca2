// Tests of the two window layouts: full-screen geometry on common screens, and the consistency of the tables.
#include "core/player/WindowLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "core/player/ControlIds.h"

namespace vx {
namespace {

bool Inside(const LayoutRect& r, int width, int height) {
  return r.x >= 0 && r.y >= 0 && r.width >= 0 && r.height >= 0 && r.x + r.width <= width &&
         r.y + r.height <= height;
}

std::vector<int> PlacedIds(const ModeLayout& layout) {
  std::vector<int> ids;
  for (const auto& b : layout.buttons) ids.push_back(b.id);
  for (const auto& f : layout.framePieces) ids.push_back(f.id);
  for (const auto& p : layout.places) ids.push_back(p.id);
  return ids;
}

TEST(FullScreenGeometry, ViewsOnCommonScreens) {
  const std::pair<std::pair<int, int>, LayoutRect> cases[] = {
      // Small screens stretch the picture to h = H - 140 and w = h x W / 720, at y = 29.
      {{1024, 768}, {65, 29, 893, 628}},
      {{1366, 768}, {87, 29, 1191, 628}},  // wide but not tall enough
      // Large enough for 1280 x 720: centred, y = (H - 829) / 2 + 29.
      {{1920, 1080}, {320, 154, 1280, 720}},
      {{1280, 860}, {0, 44, 1280, 720}},
      // Narrow tall screens clamp the width: 724 x 1152 / 720 would be 1158 pixels on a 1152-wide screen.
      {{1152, 864}, {0, 29, 1152, 724}},
      {{768, 1024}, {0, 29, 768, 884}},
      {{100, 100}, {50, 29, 0, 0}},  // no negative size
  };
  for (const auto& [screen, view] : cases) EXPECT_EQ(FullScreenViewRect(screen.first, screen.second), view);
}

TEST(WindowLayout, EveryControlStaysInTheWindowAndFullScreenViewsShareTheirRectangle) {
  std::vector<std::tuple<ModeLayout, int, int>> windows{
      {NormalLayout(true, false), kNormalWindowWidth, kNormalWindowHeight}};
  for (const auto& [w, h] : {std::pair{1024, 768}, {1152, 864}, {1280, 1024}, {3840, 2160}, {768, 1024}}) {
    windows.emplace_back(FullScreenLayout(w, h, false), w, h);
  }
  for (const auto& [layout, w, h] : windows) {
    for (const auto& b : layout.buttons) EXPECT_TRUE(Inside(b.rect, w, h)) << b.id << " at " << w << "x" << h;
    for (const auto& f : layout.framePieces) EXPECT_TRUE(Inside(f.rect, w, h)) << f.id;
    for (const auto& p : layout.places) EXPECT_TRUE(Inside(p.rect, w, h)) << p.id;
    EXPECT_TRUE(Inside(layout.frontView, w, h)) << w << "x" << h;
    if (!layout.normalBackground) {
      EXPECT_EQ(layout.frontView, layout.rearView) << w << "x" << h;
    }
  }
}

TEST(FullScreenLayout, TransportButtonsSitSideBySideAroundTheCentre) {
  const ModeLayout layout = FullScreenLayout(1920, 1080, false);
  std::vector<LayoutRect> row;
  for (const int id : {IDC_PREV, IDC_BACK_1S, IDC_PLAY, IDC_STOP, IDC_FORWARD_1S, IDC_NEXT}) {
    const auto it = std::find_if(layout.buttons.begin(), layout.buttons.end(), [id](auto& b) { return b.id == id; });
    ASSERT_NE(it, layout.buttons.end()) << id;
    row.push_back(it->rect);
  }
  EXPECT_EQ(row.front().x + (row.back().x + row.back().width), 2 * 960) << "symmetric about the centre";
  for (std::size_t i = 1; i < row.size(); ++i) EXPECT_EQ(row[i - 1].x + row[i - 1].width, row[i].x) << i;
}

TEST(WindowLayout, EachModePlacesEachControlOnceWithItsOwnPicturesAndKey) {
  for (const ModeLayout& layout : {NormalLayout(true, false), FullScreenLayout(1920, 1080, false)}) {
    const std::vector<int> ids = PlacedIds(layout);
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size()) << "a control placed twice";
    std::set<int> pictures;
    for (const auto& b : layout.buttons) {
      const std::uint32_t key = layout.normalBackground ? kNormalSkinKey : kFullScreenSkinKey;
      // The rear-video button's full-screen pair is drawn with its own key; 250/288 with the black one.
      EXPECT_EQ(b.key, b.id == IDC_REAR_VIDEO && !layout.normalBackground ? kRearVideoSkinKey : key) << b.id;
      if (b.id == IDC_SOUND) continue;  // one picture in every state
      EXPECT_TRUE(pictures.insert(b.normalBitmap).second) << b.id;
      EXPECT_TRUE(pictures.insert(b.hotBitmap).second) << b.id;
    }
    for (const int id : layout.shown) {
      EXPECT_EQ(std::count(layout.hidden.begin(), layout.hidden.end(), id), 0) << id << " shown and hidden";
    }
    const auto stack = FullScreenFrameStack();
    for (const auto& piece : layout.framePieces) EXPECT_EQ(std::count(stack.begin(), stack.end(), piece.id), 1);
  }
}

// The readout strip covers neither the picture nor any control, whatever the screen.
TEST(WindowLayout, ReadoutCoversNoControlAndNoPicture) {
  const auto overlap = [](const LayoutRect& a, const LayoutRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
  };
  std::vector<ModeLayout> layouts{NormalLayout(true, false)};
  for (const auto& [w, h] : {std::pair{1024, 768}, {1280, 1024}, {1920, 1080}, {768, 1024}}) {
    layouts.push_back(FullScreenLayout(w, h, true));
  }
  for (const ModeLayout& layout : layouts) {
    const auto readout = std::find_if(layout.places.begin(), layout.places.end(),
                                      [](const ControlPlace& p) { return p.id == IDC_READOUT; });
    ASSERT_NE(readout, layout.places.end());
    EXPECT_GE(readout->rect.width, 300);
    std::vector<std::pair<int, LayoutRect>> others{{0, layout.frontView}, {0, layout.rearView}};
    for (const auto& b : layout.buttons) others.emplace_back(b.id, b.rect);
    for (const auto& p : layout.places) {
      if (p.id != IDC_READOUT) others.emplace_back(p.id, p.rect);
    }
    for (const auto& [id, rect] : others) {
      EXPECT_FALSE(overlap(readout->rect, rect)) << id << " under the readout, full screen "
                                                 << !layout.normalBackground << " " << readout->rect.y;
    }
  }
}

}  // namespace
}  // namespace vx
