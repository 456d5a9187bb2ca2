// Which of a skinned button's five pictures shows for its current state.
#include "core/widgets/ButtonState.h"

#include <cstddef>

namespace vx {

int ChooseButtonSlot(const ButtonState& state, const std::array<bool, 5>& present) {
  int slot = kSlotNormal;
  if (state.disabled && present[kSlotDisabled]) slot = kSlotDisabled;
  else if (state.pressed && present[kSlotPressed]) slot = kSlotPressed;
  else if (state.focused && present[kSlotFocused]) slot = (state.mouseOver && present[kSlotMouseOver]) ? kSlotMouseOver : kSlotFocused;
  else if (state.mouseOver && present[kSlotMouseOver]) slot = kSlotMouseOver;
  return present[static_cast<std::size_t>(slot)] ? slot : -1;
}

}  // namespace vx
