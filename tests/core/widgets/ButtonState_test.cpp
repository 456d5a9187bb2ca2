// Tests of the choice of a skinned button's picture from its state and the pictures it holds.
#include "core/widgets/ButtonState.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

constexpr std::array<bool, 5> kAll = {true, true, true, true, true};
constexpr std::array<bool, 5> kAsLoaded = {true, true, false, false, true};  // normal, pressed, mouse over

TEST(ButtonState, FirstMatchingStateWins) {
  EXPECT_EQ(ChooseButtonSlot({true, true, true, true}, kAll), kSlotDisabled);
  EXPECT_EQ(ChooseButtonSlot({false, true, true, true}, kAll), kSlotPressed);
  EXPECT_EQ(ChooseButtonSlot({false, false, true, false}, kAll), kSlotFocused);
  EXPECT_EQ(ChooseButtonSlot({false, false, true, true}, kAll), kSlotMouseOver) << "focused under the mouse";
  EXPECT_EQ(ChooseButtonSlot({false, false, false, true}, kAll), kSlotMouseOver);
  EXPECT_EQ(ChooseButtonSlot({}, kAll), kSlotNormal);
}

TEST(ButtonState, MissingPicturesFallThrough) {
  EXPECT_EQ(ChooseButtonSlot({true, false, false, false}, kAsLoaded), kSlotNormal) << "no disabled picture";
  EXPECT_EQ(ChooseButtonSlot({true, false, false, true}, kAsLoaded), kSlotMouseOver)
      << "disabled while the mouse-over flag was still set";
  EXPECT_EQ(ChooseButtonSlot({false, false, true, false}, kAsLoaded), kSlotNormal) << "no focused picture";
  EXPECT_EQ(ChooseButtonSlot({false, true, false, false}, {true, false, false, false, true}), kSlotNormal);
}

TEST(ButtonState, EmptyChoicePaintsNothing) {
  EXPECT_EQ(ChooseButtonSlot({}, {}), -1);
  EXPECT_EQ(ChooseButtonSlot({false, true, false, false}, {false, false, false, false, true}), -1);
}

}  // namespace
}  // namespace vx
