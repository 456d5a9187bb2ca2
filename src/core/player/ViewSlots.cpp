// Slot transitions of the front view, the rear view and the map, and where each is placed.
#include "core/player/ViewSlots.h"

#include "core/player/WindowLayout.h"

namespace vx {
namespace {

constexpr ViewSlot H = ViewSlot::Hidden;
constexpr ViewSlot L = ViewSlot::Large;
constexpr ViewSlot S = ViewSlot::Small;
using enum SlotSubject;

// Front large, rear small, no map.
constexpr ViewSlots kVideosOnly{L, S, H};

// {map, subject, subject's slot before, {front, rear, map} after}
constexpr SlotTransition kSwapFrontRear[] = {
    {H, Front, L, {S, L, H}},
    {H, Front, S, {L, S, H}},
    {L, Front, S, {H, S, L}},
    {L, Rear, S, {S, H, L}},
    {S, Front, L, {H, L, S}},
    {S, Rear, L, {L, H, S}},
};

constexpr SlotTransition kRearVideo[] = {
    {H, Front, L, {S, L, H}},
    {H, Either, H, {L, S, H}},
    {L, Either, H, {L, S, H}},
    {S, Either, H, {S, L, H}},
};

bool Matches(const SlotTransition& row, ViewSlots slots) {
  if (row.map != slots.map) return false;
  switch (row.subject) {
    case Front: return slots.front == row.before;
    case Rear: return slots.rear == row.before;
    case Either: return true;
  }
  return false;
}

std::optional<ViewSlots> Apply(std::span<const SlotTransition> table, ViewSlots slots, int videoStreams) {
  if (videoStreams < 2) return std::nullopt;
  for (const SlotTransition& row : table) {
    if (Matches(row, slots)) return row.after;
  }
  return slots;
}

std::optional<LayoutRect> SlotRect(ViewSlot slot) {
  switch (slot) {
    case ViewSlot::Large: return kLargeSlot;
    case ViewSlot::Small: return kSmallSlot;
    case ViewSlot::Hidden: break;
  }
  return std::nullopt;
}

}  // namespace

std::span<const SlotTransition> SwapFrontRearTable() { return kSwapFrontRear; }
std::span<const SlotTransition> RearVideoTable() { return kRearVideo; }

ViewSlots SlotsForOpenedRecording(ViewSlots slots, int videoStreams) {
  // The front view never shares the large slot with the map.
  const ViewSlot frontPlace = slots.map == L ? S : L;
  if (videoStreams < 2) return {frontPlace, H, slots.map};
  if (slots.front == H) {
    slots.front = frontPlace;
    slots.rear = H;
  }
  if (slots.rear == H && slots.front != S && slots.map == H) slots.rear = S;
  if (slots.rear == S && slots.map != H) slots.map = H;
  return slots;
}

ViewSlots SlotsAfterStop() { return kVideosOnly; }

std::optional<ViewSlots> SwapFrontRear(ViewSlots slots, int loadedVideoStreams) {
  return Apply(kSwapFrontRear, slots, loadedVideoStreams);
}

std::optional<ViewSlots> RearVideo(ViewSlots slots, int loadedVideoStreams) {
  return Apply(kRearVideo, slots, loadedVideoStreams);
}

std::optional<MapCommandResult> MapCommand(ViewSlots slots, int loadedVideoStreams, bool hasGps) {
  if (loadedVideoStreams < 2) return std::nullopt;
  if (!hasGps) return MapCommandResult{kVideosOnly, false};
  switch (slots.map) {
    case L: return MapCommandResult{{L, H, S}, false};
    case H:
      if (slots.front == S) slots.front = H;
      if (slots.rear == S) slots.rear = H;
      slots.map = S;
      break;
    case S:
      // The large view stays where it is: the map's small slot goes to the view that was hidden.
      if (slots.front == L) {
        slots.rear = S;
      } else if (slots.rear == L) {
        slots.front = S;
      } else {
        slots = kVideosOnly;
      }
      slots.map = H;
      break;
  }
  return MapCommandResult{slots, true};
}

std::optional<MapCommandResult> LargeMapCommand(ViewSlots slots, int loadedVideoStreams, bool hasGps) {
  if (loadedVideoStreams < 2) return std::nullopt;
  if (!hasGps) return MapCommandResult{kVideosOnly, false};
  switch (slots.map) {
    case L: return MapCommandResult{kVideosOnly, false};
    case H: return MapCommandResult{{S, H, L}, true};
    case S:
      if (slots.front == L) {
        slots.front = S;
        slots.rear = H;
      } else if (slots.rear == L) {
        slots.front = H;
        slots.rear = S;
      }
      slots.map = L;
      break;
  }
  return MapCommandResult{slots, true};
}

bool MapButtonsAct(ViewSlots slots, int loadedVideoStreams, bool hasGps) {
  return loadedVideoStreams >= 2 && (hasGps || slots.map != H);
}

ViewSlots SlotsWithoutMap(ViewSlots slots) { return slots.map == H ? slots : kVideosOnly; }

ViewSlots SlotsForFullScreen(ViewSlots slots) { return slots.map == L ? kVideosOnly : slots; }

int RearVideoButtonNormalBitmap(RearVideoButton offer) { return offer == RearVideoButton::OfferRear ? 286 : 250; }
int RearVideoButtonHotBitmap(RearVideoButton offer) { return offer == RearVideoButton::OfferRear ? 287 : 288; }
std::uint32_t RearVideoButtonKey(RearVideoButton offer) {
  return offer == RearVideoButton::OfferRear ? kRearVideoSkinKey : kNormalSkinKey;
}

ViewArrangement ArrangeNormalViews(ViewSlots slots, int loadedVideoStreams) {
  ViewArrangement result;
  result.front = SlotRect(slots.front);
  if (slots.front != H) {
    result.rearVideoButton = slots.front == L ? RearVideoButton::OfferRear : RearVideoButton::OfferFront;
  }
  if (loadedVideoStreams >= 2) {
    result.rear = SlotRect(slots.rear);
    if (slots.rear != H) {
      result.rearVideoButton = slots.rear == L ? RearVideoButton::OfferFront : RearVideoButton::OfferRear;
    }
  }
  result.map = SlotRect(slots.map).value_or(kMapParked);
  if (slots.map == L) {
    if (slots.front == S) {
      result.rearVideoButton = RearVideoButton::OfferRear;
    } else if (slots.rear == S) {
      result.rearVideoButton = RearVideoButton::OfferFront;
    }
  }
  return result;
}

ViewArrangement ArrangeFullScreenViews(ViewSlots slots, int loadedVideoStreams, LayoutRect views) {
  ViewArrangement result;
  if (slots.front == L) result.front = views;
  if (slots.rear == L && loadedVideoStreams >= 2) result.rear = views;
  result.map = kMapParked;
  return result;
}

}  // namespace vx
