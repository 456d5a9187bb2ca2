// Tests of the view slots: the swap and rear-video commands, opening one- and two-stream recordings, and
// where ArrangeViews puts each view and which pictures the rear-video button gets.
#include "core/player/ViewSlots.h"

#include <gtest/gtest.h>

#include <random>

namespace vx {
namespace {

constexpr ViewSlot H = ViewSlot::Hidden;
constexpr ViewSlot L = ViewSlot::Large;
constexpr ViewSlot S = ViewSlot::Small;

// No slot holds two things at once.
bool SlotsDistinct(ViewSlots s) {
  const auto count = [&](ViewSlot slot) { return (s.front == slot) + (s.rear == slot) + (s.map == slot); };
  return count(L) <= 1 && count(S) <= 1;
}

TEST(ViewSlots, SwapTwiceRestoresTheArrangement) {
  const ViewSlots start = SlotsForOpenedRecording({}, 2);
  EXPECT_EQ(start, (ViewSlots{L, S, H}));
  const auto swapped = SwapFrontRear(start, 2);
  ASSERT_TRUE(swapped);
  EXPECT_EQ(*swapped, (ViewSlots{S, L, H}));
  EXPECT_EQ(SwapFrontRear(*swapped, 2), start);
  // With the map in a slot, the swap moves the two views between the other slot and hiding.
  EXPECT_EQ(SwapFrontRear({S, H, L}, 2), (ViewSlots{H, S, L}));
  EXPECT_EQ(SwapFrontRear({H, S, L}, 2), (ViewSlots{S, H, L}));
  EXPECT_EQ(SwapFrontRear({L, H, S}, 2), (ViewSlots{H, L, S}));
  EXPECT_EQ(SwapFrontRear({H, L, S}, 2), (ViewSlots{L, H, S}));
}

TEST(ViewSlots, RearVideoAlwaysLeavesBothViewsShowing) {
  EXPECT_EQ(RearVideo({L, S, H}, 2), (ViewSlots{S, L, H}));
  EXPECT_EQ(RearVideo({S, L, H}, 2), (ViewSlots{L, S, H}));
  EXPECT_EQ(RearVideo({S, H, L}, 2), (ViewSlots{L, S, H})) << "takes the map away";
  EXPECT_EQ(RearVideo({L, H, S}, 2), (ViewSlots{S, L, H}));
}

TEST(ViewSlots, CommandsNeedALoadedTwoStreamRecording) {
  for (const int streams : {0, 1}) {
    EXPECT_FALSE(SwapFrontRear({L, S, H}, streams));
    EXPECT_FALSE(RearVideo({L, S, H}, streams));
  }
  EXPECT_EQ(SwapFrontRear({L, L, H}, 2), (ViewSlots{S, L, H})) << "first matching row";
  EXPECT_EQ(SwapFrontRear({H, H, H}, 2), (ViewSlots{H, H, H})) << "no row: unchanged";
}

TEST(ViewSlots, OneStreamRecordingTakesTheLargeSlotAfterASwap) {
  const ViewSlots afterSwap{S, L, H};
  EXPECT_EQ(SlotsForOpenedRecording(afterSwap, 1), (ViewSlots{L, H, H}));
  EXPECT_EQ(SlotsForOpenedRecording({H, S, L}, 1), (ViewSlots{S, H, L})) << "the map keeps the large slot";
  EXPECT_EQ(SlotsForOpenedRecording({L, H, S}, 1), (ViewSlots{L, H, S}));
  // A later two-stream recording brings the rear view back to the small slot.
  EXPECT_EQ(SlotsForOpenedRecording({L, H, H}, 2), (ViewSlots{L, S, H}));
}

TEST(ViewSlots, OpeningKeepsAnArrangementTheUserChose) {
  EXPECT_EQ(SlotsForOpenedRecording({S, L, H}, 2), (ViewSlots{S, L, H}));
  EXPECT_EQ(SlotsForOpenedRecording({L, H, S}, 2), (ViewSlots{L, H, S})) << "small slot taken by the map";
  EXPECT_EQ(SlotsForOpenedRecording({L, S, S}, 2), (ViewSlots{L, S, H})) << "the rear view wins the small slot";
}

// From any arrangement the commands can reach, no sequence of commands puts two things in one slot.
TEST(ViewSlots, NoSequenceOfCommandsSharesASlot) {
  std::mt19937 random(8);
  for (const ViewSlots start : {ViewSlots{}, SlotsAfterStop(), ViewSlots{S, H, L}, ViewSlots{L, H, S},
                                ViewSlots{H, S, L}, ViewSlots{H, L, S}}) {
    ViewSlots slots = start;
    for (int step = 0; step < 200; ++step) {
      const ViewSlots before = slots;
      switch (random() % 4) {
        case 0: slots = SlotsForOpenedRecording(slots, 1); break;
        case 1: slots = SlotsForOpenedRecording(slots, 2); break;
        case 2: slots = SwapFrontRear(slots, 2).value(); break;
        default: slots = RearVideo(slots, 2).value(); break;
      }
      ASSERT_TRUE(SlotsDistinct(slots)) << "step " << step << " from front " << static_cast<int>(before.front)
                                        << " rear " << static_cast<int>(before.rear) << " map "
                                        << static_cast<int>(before.map);
    }
  }
}

struct MapCommandRow {
  ViewSlots before;
  ViewSlots after;
  bool loadPage;
};

void ExpectTable(std::optional<MapCommandResult> (*command)(ViewSlots, int, bool),
                 std::initializer_list<MapCommandRow> rows) {
  for (const MapCommandRow& row : rows) {
    const auto result = command(row.before, 2, true);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->viewSlots, row.after) << static_cast<int>(row.before.front)
                                            << static_cast<int>(row.before.rear) << static_cast<int>(row.before.map);
    EXPECT_EQ(result->loadPage, row.loadPage);
  }
}

TEST(MapCommands, MapButtonTable) {
  ExpectTable(MapCommand, {
      {{H, S, L}, {L, H, S}, false},  // map large: back to the small slot, no reload
      {{S, H, L}, {L, H, S}, false},
      {{L, S, H}, {L, H, S}, true},   // map shown: the small view gives way
      {{S, L, H}, {H, L, S}, true},
      {{L, H, S}, {L, S, H}, true},   // map hidden again (the button toggles)
      // After a swap the rear view is large: it stays large, the hidden front view takes the small slot.
      {{H, L, S}, {S, L, H}, true},
      {{H, H, S}, {L, S, H}, true},   // nothing large: front large, rear small
  });
}

TEST(MapCommands, LargeMapButtonTable) {
  ExpectTable(LargeMapCommand, {
      {{S, H, L}, {L, S, H}, false},
      {{H, S, L}, {L, S, H}, false},
      {{L, S, H}, {S, H, L}, true},
      {{S, L, H}, {S, H, L}, true},
      {{L, H, S}, {S, H, L}, true},
      {{H, L, S}, {H, S, L}, true},
  });
}

TEST(MapCommands, ThreePressesToggleTheSmallMapAndLoadThePageEachTime) {
  ViewSlots slots{L, S, H};
  for (const ViewSlot expected : {S, H, S}) {
    const auto result = MapCommand(slots, 2, true);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->loadPage);
    slots = result->viewSlots;
    EXPECT_EQ(slots.map, expected);
  }
}

TEST(MapCommands, NothingForOneStreamAndVideosOnlyWithoutGps) {
  for (const int streams : {0, 1}) {
    EXPECT_FALSE(MapCommand({L, H, H}, streams, true));
    EXPECT_FALSE(LargeMapCommand({L, H, H}, streams, true));
  }
  EXPECT_EQ(MapCommand({S, H, L}, 2, false), (MapCommandResult{{L, S, H}, false}));
  EXPECT_EQ(LargeMapCommand({L, H, S}, 2, false), (MapCommandResult{{L, S, H}, false}));
}

// Every arrangement reachable by any sequence of commands has a view or the map in the large slot and never
// two things in one slot.
TEST(MapCommands, AlwaysSomethingLargeAndNoSharedSlot) {
  std::mt19937 random(9);
  ViewSlots slots = SlotsForOpenedRecording({}, 2);
  for (int step = 0; step < 2000; ++step) {
    const ViewSlots before = slots;
    switch (random() % 5) {
      case 0: slots = MapCommand(slots, 2, true)->viewSlots; break;
      case 1: slots = LargeMapCommand(slots, 2, true)->viewSlots; break;
      case 2: slots = SwapFrontRear(slots, 2).value(); break;
      case 3: slots = RearVideo(slots, 2).value(); break;
      default: slots = SlotsForOpenedRecording(slots, 2); break;
    }
    const bool large = slots.front == L || slots.rear == L || slots.map == L;
    ASSERT_TRUE(large && SlotsDistinct(slots))
        << "step " << step << " from " << static_cast<int>(before.front) << static_cast<int>(before.rear)
        << static_cast<int>(before.map) << " to " << static_cast<int>(slots.front) << static_cast<int>(slots.rear)
        << static_cast<int>(slots.map);
  }
}

TEST(ArrangeViews, NormalWindowPlacesTheViewsAndThePictureOfTheRearVideoButton) {
  ViewArrangement a = ArrangeNormalViews({L, S, H}, 2);
  EXPECT_EQ(a.front, kLargeSlot);
  EXPECT_EQ(a.rear, kSmallSlot);
  EXPECT_EQ(a.map, kMapParked);
  EXPECT_EQ(a.rearVideoButton, RearVideoButton::OfferRear);
  EXPECT_EQ(RearVideoButtonNormalBitmap(a.rearVideoButton), 286);
  EXPECT_EQ(RearVideoButtonHotBitmap(a.rearVideoButton), 287);

  a = ArrangeNormalViews({S, L, H}, 2);
  EXPECT_EQ(a.front, kSmallSlot);
  EXPECT_EQ(a.rear, kLargeSlot);
  EXPECT_EQ(a.rearVideoButton, RearVideoButton::OfferFront);
  EXPECT_EQ(RearVideoButtonNormalBitmap(a.rearVideoButton), 250);

  a = ArrangeNormalViews({S, H, L}, 2);
  EXPECT_FALSE(a.rear);
  EXPECT_EQ(a.map, kLargeSlot);
  EXPECT_EQ(a.rearVideoButton, RearVideoButton::OfferRear) << "the front view is the small one";
  EXPECT_EQ(ArrangeNormalViews({H, S, L}, 2).rearVideoButton, RearVideoButton::OfferFront);
  EXPECT_EQ(ArrangeNormalViews({L, H, S}, 2).map, kSmallSlot);
  EXPECT_EQ(ArrangeNormalViews({H, H, H}, 0).rearVideoButton, RearVideoButton::Unchanged);
}

TEST(ArrangeViews, RearViewHiddenWithoutASecondStream) {
  EXPECT_FALSE(ArrangeNormalViews({L, S, H}, 1).rear);
  EXPECT_FALSE(ArrangeNormalViews({L, S, H}, 0).rear) << "nothing loaded";
  const LayoutRect views{320, 154, 1280, 720};
  EXPECT_FALSE(ArrangeFullScreenViews({S, L, H}, 1, views).rear);
}

TEST(ArrangeViews, FullScreenShowsTheLargeView) {
  const LayoutRect views{320, 154, 1280, 720};
  ViewArrangement a = ArrangeFullScreenViews({L, S, H}, 2, views);
  EXPECT_EQ(a.front, views);
  EXPECT_FALSE(a.rear);
  EXPECT_EQ(a.map, kMapParked);
  a = ArrangeFullScreenViews({S, L, H}, 2, views);
  EXPECT_FALSE(a.front);
  EXPECT_EQ(a.rear, views);
  EXPECT_EQ(a.rearVideoButton, RearVideoButton::Unchanged);
}

}  // namespace
}  // namespace vx
