// Tests of the view slots: the swap, rear-video and map commands, opening recordings, and where ArrangeViews
// puts each view and which pictures the rear-video button offers.
#include "core/player/ViewSlots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

namespace vx {
namespace {

constexpr ViewSlot H = ViewSlot::Hidden;
constexpr ViewSlot L = ViewSlot::Large;
constexpr ViewSlot S = ViewSlot::Small;

// Front, rear and map as three letters, e.g. "LSH".
std::string Name(ViewSlots s) {
  const char letter[] = "HLS";
  return {letter[static_cast<int>(s.front)], letter[static_cast<int>(s.rear)], letter[static_cast<int>(s.map)]};
}

// The six arrangements that fill both slots with two of the front view, the rear view and the map.
std::vector<ViewSlots> FullArrangements() {
  std::vector<ViewSlots> all;
  std::array<ViewSlot, 3> p{H, L, S};
  do all.push_back({p[0], p[1], p[2]});
  while (std::next_permutation(p.begin(), p.end()));
  return all;
}

TEST(ViewSlots, SwapExchangesTheViewsAndRearVideoShowsBothWithoutTheMap) {
  for (const ViewSlots s : FullArrangements()) {
    EXPECT_EQ(SwapFrontRear(s, 2), (ViewSlots{s.rear, s.front, s.map})) << Name(s);
    const ViewSlots after = RearVideo(s, 2).value();
    EXPECT_TRUE(after.map == H && after.front != H && after.rear != H && after.front != after.rear) << Name(s);
  }
  EXPECT_EQ(RearVideo({L, S, H}, 2), (ViewSlots{S, L, H})) << "the button toggles the large view";
  EXPECT_EQ(RearVideo({S, L, H}, 2), (ViewSlots{L, S, H}));
  for (const int streams : {0, 1}) {
    EXPECT_FALSE(SwapFrontRear({L, S, H}, streams));
    EXPECT_FALSE(RearVideo({L, S, H}, streams));
  }
  EXPECT_EQ(SwapFrontRear({H, H, H}, 2), (ViewSlots{H, H, H})) << "no row: unchanged";
}

TEST(ViewSlots, OpeningARecordingKeepsTheUsersArrangementWhereItCan) {
  const struct {
    ViewSlots before;
    int streams;
    ViewSlots after;
  } cases[] = {
      {{}, 2, {L, S, H}},
      {{S, L, H}, 1, {L, H, H}},  // one stream takes the large slot after a swap
      {{H, S, L}, 1, {S, H, L}},  // the map keeps the large slot
      {{L, H, S}, 1, {L, H, S}},
      {{L, H, H}, 2, {L, S, H}},  // a second stream brings the rear view back to the small slot
      {{S, L, H}, 2, {S, L, H}},
      {{L, H, S}, 2, {L, H, S}},  // small slot taken by the map
      {{L, S, S}, 2, {L, S, H}},  // the rear view wins the small slot
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SlotsForOpenedRecording(c.before, c.streams), c.after) << Name(c.before) << " " << c.streams;
  }
}

TEST(MapCommands, MapAndLargeMapButtonTables) {
  const struct {
    std::optional<MapCommandResult> (*command)(ViewSlots, int, bool);
    ViewSlots before;
    ViewSlots after;
    bool loadPage;
  } rows[] = {
      {MapCommand, {H, S, L}, {L, H, S}, false},  // map large: back to the small slot, no reload
      {MapCommand, {S, H, L}, {L, H, S}, false},
      {MapCommand, {L, S, H}, {L, H, S}, true},   // map shown: the small view gives way
      {MapCommand, {S, L, H}, {H, L, S}, true},
      {MapCommand, {L, H, S}, {L, S, H}, true},   // map hidden again (the button toggles)
      // After a swap the rear view is large: it stays large, the hidden front view takes the small slot.
      {MapCommand, {H, L, S}, {S, L, H}, true},
      {MapCommand, {H, H, S}, {L, S, H}, true},   // nothing large: front large, rear small
      {LargeMapCommand, {S, H, L}, {L, S, H}, false},
      {LargeMapCommand, {H, S, L}, {L, S, H}, false},
      {LargeMapCommand, {L, S, H}, {S, H, L}, true},
      {LargeMapCommand, {S, L, H}, {S, H, L}, true},
      {LargeMapCommand, {L, H, S}, {S, H, L}, true},
      {LargeMapCommand, {H, L, S}, {H, S, L}, true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.command(row.before, 2, true), (MapCommandResult{row.after, row.loadPage})) << &row - rows;
    EXPECT_FALSE(row.command(row.before, 1, true)) << "nothing for one stream";
  }
  // Without GPS the commands only bring the videos back.
  EXPECT_EQ(MapCommand({S, H, L}, 2, false), (MapCommandResult{{L, S, H}, false}));
  EXPECT_EQ(LargeMapCommand({L, H, S}, 2, false), (MapCommandResult{{L, S, H}, false}));
}

// From every arrangement the window starts from, no sequence of commands leaves the large slot empty or puts
// two things in one slot.
TEST(ViewSlots, NoSequenceOfCommandsEmptiesTheLargeSlotOrSharesASlot) {
  std::mt19937 random(8);
  for (const ViewSlots start : {ViewSlots{}, SlotsAfterStop(), ViewSlots{S, H, L}, ViewSlots{L, H, S},
                                ViewSlots{H, S, L}, ViewSlots{H, L, S}}) {
    ViewSlots slots = start;
    for (int step = 0; step < 500; ++step) {
      const ViewSlots before = slots;
      switch (random() % 6) {
        case 0: slots = SlotsForOpenedRecording(slots, 1); break;
        case 1: slots = SlotsForOpenedRecording(slots, 2); break;
        case 2: slots = SwapFrontRear(slots, 2).value(); break;
        case 3: slots = RearVideo(slots, 2).value(); break;
        case 4: slots = MapCommand(slots, 2, true)->viewSlots; break;
        default: slots = LargeMapCommand(slots, 2, true)->viewSlots; break;
      }
      const auto count = [&](ViewSlot slot) { return (slots.front == slot) + (slots.rear == slot) + (slots.map == slot); };
      ASSERT_TRUE(count(L) == 1 && count(S) <= 1) << Name(before) << " became " << Name(slots);
    }
  }
}

auto Shown(const ViewArrangement& a) { return std::tuple(a.front, a.rear, a.map, a.rearVideoButton); }

TEST(ArrangeViews, PlaceTheViewsAndChooseTheRearVideoButtonsOffer) {
  using enum RearVideoButton;
  const std::optional<LayoutRect> none;
  const struct {
    ViewSlots slots;
    int streams;
    std::optional<LayoutRect> front, rear;
    LayoutRect map;
    RearVideoButton offer;
  } cases[] = {
      {{L, S, H}, 2, kLargeSlot, kSmallSlot, kMapParked, OfferRear},
      {{S, L, H}, 2, kSmallSlot, kLargeSlot, kMapParked, OfferFront},
      {{S, H, L}, 2, kSmallSlot, none, kLargeSlot, OfferRear},  // the front view is the small one
      {{H, S, L}, 2, none, kSmallSlot, kLargeSlot, OfferFront},
      {{L, H, S}, 2, kLargeSlot, none, kSmallSlot, OfferRear},
      {{L, S, H}, 1, kLargeSlot, none, kMapParked, OfferRear},  // no second stream: the rear view is hidden
      {{H, H, H}, 0, none, none, kMapParked, Unchanged},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Shown(ArrangeNormalViews(c.slots, c.streams)), std::tuple(c.front, c.rear, c.map, c.offer))
        << Name(c.slots);
  }
  // Full screen shows only the large view.
  const LayoutRect views{320, 154, 1280, 720};
  EXPECT_EQ(Shown(ArrangeFullScreenViews({L, S, H}, 2, views)), std::tuple(views, none, kMapParked, Unchanged));
  EXPECT_EQ(Shown(ArrangeFullScreenViews({S, L, H}, 2, views)), std::tuple(none, views, kMapParked, Unchanged));
  EXPECT_FALSE(ArrangeFullScreenViews({S, L, H}, 1, views).rear) << "no second stream";
}

}  // namespace
}  // namespace vx
