// The rows of the events window: every event of a card in time order, its texts, and where playing it starts.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/cardindex/RecordingSummary.h"

namespace vx {

// Playing an event starts this long before it, so that what led up to it is seen.
inline constexpr std::uint32_t kEventLeadInMs = 5000;

struct EventRow {
  std::int64_t utcMs = 0;      // when it happened; a recording that cannot be read: its start
  std::string recordingPath;   // the file to play, bytes as the file system gives them
  std::uint32_t playFromMs = 0;  // in the recording
  std::string time;            // the local date and time
  std::string kind;            // what happened, or why the recording cannot be read
  std::string strength;        // "0.62 g"; empty for a camera event and an unreadable recording
  std::string place;           // "lat, lon" with 5 decimals; empty without a fix
  std::string recording;       // the file name
  bool unreadable = false;
};

// The name of an event's kind as the user reads it ("hard braking").
const char* EventKindName(DetectedEvent::Kind kind);

// Its short name where room is scarce ("brake").
const char* EventKindShortName(DetectedEvent::Kind kind);

// "0.62 g": the strength that crossed the threshold; empty for a camera event, which has none of its own.
std::string EventStrengthText(const DetectedEvent& event);

// "YYYY-MM-DD HH:MM:SS" of a UTC time in the computer's local time.
std::string LocalDateTimeText(std::int64_t utcMs);

using EventTimeText = std::function<std::string(std::int64_t utcMs)>;

// "YYYY-MM-DD HH:MM:SS" as the clock of the card holding the recordings shows a UTC time: in the zone of the
// card's setup.cfg (the zone its recordings are named in, found from the first recording) where there is one,
// else as LocalDateTimeText.
EventTimeText CardDateTimeText(std::span<const RecordingSummary> recordings);

// One row per event of the recordings and one per recording that cannot be read, ordered by time (then by
// recording and place in it, so that equal times keep one order). `timeText` writes the time column.
std::vector<EventRow> MakeEventRows(std::span<const RecordingSummary> recordings,
                                    const EventTimeText& timeText = LocalDateTimeText);

}  // namespace vx
