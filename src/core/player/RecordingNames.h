// Which files of a card are recordings, and what their names and folders tell: event, start date, lens pair.
//
// A name of the VX-880QN's own form "YYYYMMDD_HHMMSS_Tnn.EXT" (T one of E, D, P; EXT AVI or MP4; in any
// case) keeps the camera's own rules: the exact-case extensions of HasRecordingExtension, the event letter of
// EventTypeOf and the date of NameDateText. Every other name is another camera's, read as described below.
// All functions work on the bytes of a path as the file system gives them; only ASCII bytes carry meaning.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/player/RecordingRules.h"

namespace vx {

// True for a file the catalogue lists: a VX-880QN name with an exact-case extension, or any other name
// ending in .MP4, .MOV, .AVI or .TS in any case. `path` may be a bare file name.
bool IsListedRecording(std::string_view path);

// The event column. VX-880QN names: EventTypeOf. Other names, nothing guessed:
// - a tag of the file name: the stem (name without extension) is split into tokens at '_' and '-', and the
//   letters that follow the digits at the very end of the stem count as a token too ("0001PF" gives "PF").
//   Tokens E, EF, ER give "Event"; N, NF, NR "Drive"; P, PF, PR "Parking". Tags are upper case only, so a
//   word such as "PARKER" or "Pe" is no tag. The last tag of the stem decides.
// - else the innermost folder that is one of these whole words, in any case: EMER, EVENT, EVT, RO (the
//   camera's locked folder) give "Event"; NORMAL, NOR, MOVIE, DRIVE "Drive"; PARKING, PARK, PA "Parking".
//   "Drivers" or "Parked" are no such words.
// - else empty.
std::u16string_view RecordingEventOf(std::string_view path);

// "yy.mm.dd" of the start time in the file name, as the camera's local time. VX-880QN names: NameDateText.
// Other names: the first of YYYYMMDD_HHMMSS, YYYY_MMDD_HHMMSS, YYMMDD-HHMMSS (year 20YY) or YYYYMMDDHHMMSS in
// the stem whose digits are no part of a longer run of digits; empty when there is none, or when the first one
// is no valid date and time of day.
std::u16string RecordingNameDate(std::string_view path);
// The stamp that date is taken from, with its time of day.
std::optional<NameStamp> RecordingNameStamp(std::string_view path);

// Where a file stands in a front and rear pair of one moment, decided from names alone:
// - by name: the stem's last tag (as for events, upper case) is F, EF, NF, PF (front) or R, ER, NR, PR (rear);
//   the other lens's file has the same path with that last letter swapped.
// - else by folder: the file's folder is "Front", "FRONT" or "front" (or "Rear", "REAR", "rear") and the
//   other lens's file has the same name in the sibling folder of the same spelling ("Rear", "REAR", "rear").
// `isRegularFile` tells whether the other file exists and is a regular file (following links).
struct RecordingPair {
  std::string rowPath;      // the file whose row shows the pair: the front file when both are there
  std::string partnerPath;  // the rear file paired to rowPath; empty when there is none
};
RecordingPair PairOf(std::string_view path, const std::function<bool(const std::string&)>& isRegularFile);

}  // namespace vx
