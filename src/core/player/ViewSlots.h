// Which of the two slots of the normal window the front view, the rear view and the map hold, and how the
// commands move them.
//
// The main window keeps one ViewSlots (m_nFrontView, m_nRearView, m_nMapView). Opening a recording sets
// SlotsForOpenedRecording, Stop sets SlotsAfterStop, the swap button and the rear-video button (and Tab)
// take SwapFrontRear / RearVideo, the map buttons MapCommand / LargeMapCommand, whose empty answer means the
// command does nothing. After each change the
// window calls ArrangeNormalViews or ArrangeFullScreenViews and applies the answer: move and show or hide
// each view, put the map in its rectangle, and give the rear-video button the named pictures.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/player/LayoutRect.h"

namespace vx {

enum class ViewSlot { Hidden = 0, Large = 1, Small = 2 };

struct ViewSlots {
  ViewSlot front = ViewSlot::Hidden;
  ViewSlot rear = ViewSlot::Hidden;
  ViewSlot map = ViewSlot::Hidden;
  friend bool operator==(const ViewSlots&, const ViewSlots&) = default;
};

inline constexpr LayoutRect kLargeSlot{23, 50, 640, 360};
inline constexpr LayoutRect kSmallSlot{678, 50, 320, 240};
// Where a hidden map waits, with zero size.
inline constexpr LayoutRect kMapParked{678, 50, 0, 0};

// One row of the swap and rear-video tables: when the map holds `map` and the subject view holds `before`
// (any slot for Subject::Either), the three slots become `after`. The first matching row wins.
enum class SlotSubject { Front, Rear, Either };
struct SlotTransition {
  ViewSlot map;
  SlotSubject subject;
  ViewSlot before;
  ViewSlots after;
};

std::span<const SlotTransition> SwapFrontRearTable();
std::span<const SlotTransition> RearVideoTable();

// Slots for a recording just opened with `videoStreams` video streams. A hidden front view takes the large
// slot (the small one when the map holds the large one); a second stream puts the rear view in the small slot
// when it is free; with fewer than two streams the rear view is hidden and the front view takes the large
// slot unless the map holds it.
ViewSlots SlotsForOpenedRecording(ViewSlots slots, int videoStreams);

// Front large, rear small, map hidden.
ViewSlots SlotsAfterStop();

// The commands act only on a loaded recording with two video streams (pass 0 when nothing is loaded);
// empty when the command does nothing. A combination no row names keeps the slots.
std::optional<ViewSlots> SwapFrontRear(ViewSlots slots, int loadedVideoStreams);
std::optional<ViewSlots> RearVideo(ViewSlots slots, int loadedVideoStreams);

// The map button (1099) and the large-map button (1101). Empty when the command does nothing (no loaded
// recording with two video streams). Without GPS fixes both end with front large, rear small, map hidden.
// `loadPage` asks for the page of the current language to be (re)loaded; the page itself shows an offline
// view when no map tiles come.
//
//   command    map before  result
//   map        Large       front large, rear hidden, map small (no reload)
//   map        Hidden      map small; whichever of front/rear was small is hidden
//   map        Small       map hidden; the view that was large stays large, the hidden one of front/rear
//                          takes the small slot (front large, rear small when neither was large)
//   large map  Large       map hidden, front large, rear small
//   large map  Hidden      map large, front small, rear hidden
//   large map  Small       map large; a large front becomes small (rear hidden), else a large rear becomes
//                          small (front hidden)
struct MapCommandResult {
  ViewSlots viewSlots;  // not "slots": Qt takes that word
  bool loadPage = false;
  friend bool operator==(const MapCommandResult&, const MapCommandResult&) = default;
};
std::optional<MapCommandResult> MapCommand(ViewSlots slots, int loadedVideoStreams, bool hasGps);
std::optional<MapCommandResult> LargeMapCommand(ViewSlots slots, int loadedVideoStreams, bool hasGps);

// Whether the two map buttons act, and so are enabled: with two video streams, for a recording with GPS fixes,
// or to put away a map still shown for one without.
bool MapButtonsAct(ViewSlots slots, int loadedVideoStreams, bool hasGps);

// The slots for a recording without GPS fixes: no map can show, so a map still shown from the recording
// before gives its place back to the videos (front large, rear small); without a map the slots stay.
ViewSlots SlotsWithoutMap(ViewSlots slots);

// The slots full screen starts from: it shows the view that holds the large slot, so a map there gives the
// slot back to the front view (rear small, map hidden), whatever the recording's streams.
ViewSlots SlotsForFullScreen(ViewSlots slots);

// Pictures of the rear-video button: it offers the rear view (286/287) or the front view (250/288).
enum class RearVideoButton { Unchanged, OfferRear, OfferFront };
int RearVideoButtonNormalBitmap(RearVideoButton offer);
int RearVideoButtonHotBitmap(RearVideoButton offer);
// The key colour each pair is drawn with: yellow for 286/287, the normal skin's black for 250/288.
std::uint32_t RearVideoButtonKey(RearVideoButton offer);

struct ViewArrangement {
  std::optional<LayoutRect> front;  // empty: hidden
  std::optional<LayoutRect> rear;
  LayoutRect map;
  RearVideoButton rearVideoButton = RearVideoButton::Unchanged;
};

// Normal window: each view in its slot. The rear view shows only for a loaded recording with two streams.
ViewArrangement ArrangeNormalViews(ViewSlots slots, int loadedVideoStreams);

// Full screen: a view shows in `views` when it holds the large slot; the map is parked.
ViewArrangement ArrangeFullScreenViews(ViewSlots slots, int loadedVideoStreams, LayoutRect views);

}  // namespace vx
