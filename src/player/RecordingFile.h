// One catalogue row from a recording file on disk: its name, date, size, path and event type.
//
// The catalogue builds a row with MakeRecordingEntry for each file opened or dropped; the search worker
// queries the files it finds itself (QueryRecordingFile, relative to the folder it reads), builds the row
// with RecordingEntryOf and pairs front and rear files itself from the folder's listing.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/player/CatalogueRows.h"

namespace vx {

// Minutes east of UTC of the computer's local time at a UTC time (seconds since 1970), summer time included.
int LocalOffsetMinutes(std::int64_t utcSeconds);

// Size, type, birth and modification time of `name` in the folder `dirFd` (AT_FDCWD: `name` is a path),
// following a symbolic link. False when the file cannot be queried.
bool QueryRecordingFile(int dirFd, const char* name, struct statx& info);

// The row of a file: `path` is the full path as the file system spells it; `info` is null when the file
// could not be queried (the row then has the file name from the path and no size). The date is the camera's
// own time in the file name where it has one (RecordingNameDate); else the earlier of birth and modification
// time, shifted by `zoneBias` minutes (the settings record's zone) or, without one, by the computer's offset
// at that time.
RecordingEntry RecordingEntryOf(const std::string& path, const struct statx* info, std::optional<int> zoneBias);

// True when `path` names a regular file, following a symbolic link.
bool IsRegularFile(const std::string& path);

// The row a file opened by itself stands for: a front file's row carries its rear partner's path; a rear file
// whose front file is there gives the front file's row.
RecordingEntry MakeRecordingEntry(const std::string& path, std::optional<int> zoneBias);

}  // namespace vx
