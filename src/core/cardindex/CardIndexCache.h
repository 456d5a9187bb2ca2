// The card index kept between runs: every recording's summary under the file's path, size and modification time.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/cardindex/EventDetector.h"
#include "core/cardindex/RecordingSummary.h"

namespace vx {

// What tells one state of a file from another: a summary holds only while all three stay the same.
struct RecordingKey {
  std::string path;
  std::uint64_t sizeBytes = 0;
  std::int64_t modifiedNs = 0;
};

// The file's key from the file system; false when it cannot be read (gone, or no permission).
bool StatRecordingKey(const std::string& path, RecordingKey& key);

// The cache file: $XDG_CACHE_HOME/vx880/card-index.bin, else ~/.cache/vx880/card-index.bin.
std::string CardIndexCacheFile();

// The bytes of the cache file: a magic, the format version, the event thresholds the records' events were
// found with, the records, and a CRC-32 of all before it.
std::vector<std::uint8_t> EncodeCardIndexCache(std::span<const RecordingSummary> summaries,
                                               const EventThresholds& thresholds);

struct DecodedCardIndexCache {
  std::vector<RecordingSummary> summaries;
  std::string problem;  // one line on why nothing was taken from the bytes; empty when they were read
};
// Every size and count is held to the bytes that remain; anything damaged, cut, foreign, of another version
// or made with other thresholds than `thresholds` gives no summaries at all and says why.
DecodedCardIndexCache DecodeCardIndexCache(std::span<const std::uint8_t> bytes, const EventThresholds& thresholds);

// The summaries read from a cache file, looked up by key.
class CCardIndexCache {
 public:
  // Reads `file` for summaries found with `thresholds`. A missing file is an empty cache with no problem; a
  // damaged one, or one made with other thresholds, is empty and Problem() says why.
  static CCardIndexCache Load(const std::string& file, const EventThresholds& thresholds);
  explicit CCardIndexCache(std::vector<RecordingSummary> summaries);

  // The stored summary when path, size and modification time all match; nullptr otherwise.
  const RecordingSummary* Find(const RecordingKey& key) const;
  const std::string& Problem() const { return m_strProblem; }
  const std::unordered_map<std::string, RecordingSummary>& Summaries() const { return m_mapSummaries; }

 private:
  std::unordered_map<std::string, RecordingSummary> m_mapSummaries;  // by path
  std::string m_strProblem;
};

// Writes the summaries to `file` through a temporary file beside it and a rename, so that a reader sees the
// old cache or the new one, never a part. False with `error` set when it could not.
bool SaveCardIndexCache(const std::string& file, std::span<const RecordingSummary> summaries,
                        const EventThresholds& thresholds, std::string& error);

}  // namespace vx
