// Catalogue rows from files: statx for size and date, the core rules for the texts.
#include "player/RecordingFile.h"

#include <fcntl.h>

#include <QFile>
#include <ctime>

#include "core/player/RecordingNames.h"
#include "core/player/RecordingRules.h"

namespace vx {
namespace {

std::u16string Decode(const std::string& bytes) {
  return QFile::decodeName(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())))
      .toStdU16String();
}

}  // namespace

int LocalOffsetMinutes(std::int64_t utcSeconds) {
  const auto time = static_cast<std::time_t>(utcSeconds);
  std::tm local{};
  if (!::localtime_r(&time, &local)) return 0;
  return static_cast<int>(local.tm_gmtoff / 60);
}

bool QueryRecordingFile(int dirFd, const char* name, struct statx& info) {
  return ::statx(dirFd, name, AT_STATX_SYNC_AS_STAT, STATX_TYPE | STATX_SIZE | STATX_BTIME | STATX_MTIME,
                 &info) == 0;
}

RecordingEntry RecordingEntryOf(const std::string& path, const struct statx* info, std::optional<int> zoneBias) {
  RecordingEntry entry;
  entry.filePath = path;
  entry.path = Decode(path);
  entry.fileName = Decode(path.substr(path.find_last_of('/') + 1));
  entry.event = RecordingEventOf(path);
  entry.date = RecordingNameDate(path);
  if (info) {
    if (entry.date.empty()) {
      const std::optional<std::int64_t> birth =
          (info->stx_mask & STATX_BTIME) ? std::optional<std::int64_t>(info->stx_btime.tv_sec) : std::nullopt;
      const std::int64_t seconds = CreationSeconds(birth, info->stx_mtime.tv_sec);
      entry.date = DateText(seconds, zoneBias ? *zoneBias : LocalOffsetMinutes(seconds));
    }
    entry.size = SizeText(info->stx_size);
    entry.bytes = info->stx_size;
  }
  return entry;
}

bool IsRegularFile(const std::string& path) {
  struct statx info {};
  return QueryRecordingFile(AT_FDCWD, path.c_str(), info) && S_ISREG(info.stx_mode);
}

RecordingEntry MakeRecordingEntry(const std::string& path, std::optional<int> zoneBias) {
  RecordingPair pair = PairOf(path, IsRegularFile);
  struct statx info {};
  const bool known = QueryRecordingFile(AT_FDCWD, pair.rowPath.c_str(), info);
  RecordingEntry entry = RecordingEntryOf(pair.rowPath, known ? &info : nullptr, zoneBias);
  entry.partnerFilePath = std::move(pair.partnerPath);
  return entry;
}

}  // namespace vx
