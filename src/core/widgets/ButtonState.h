// Which of a skinned button's five pictures shows for its current state.
#pragma once

#include <array>

namespace vx {

// Picture slots of a skinned button.
enum ButtonSlot { kSlotNormal = 0, kSlotPressed = 1, kSlotFocused = 2, kSlotDisabled = 3, kSlotMouseOver = 4 };

struct ButtonState {
  bool disabled = false;
  bool pressed = false;
  bool focused = false;
  bool mouseOver = false;
};

// First match wins: disabled, pressed, focused (the mouse-over picture while the mouse is over it), mouse over,
// normal. present[i] tells whether slot i holds a picture; -1 when the choice is empty.
int ChooseButtonSlot(const ButtonState& state, const std::array<bool, 5>& present);

}  // namespace vx
