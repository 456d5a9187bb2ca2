// The index of a card: every recording's summary, from the cache when the file is unchanged, else worked out.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/cardindex/EventDetector.h"
#include "core/cardindex/RecordingSummary.h"

namespace vx {

using RecordingSummarizer = std::function<RecordingSummary(const std::string& path)>;
using CardIndexProgress = std::function<void(std::size_t done, std::size_t total)>;

struct CardIndexJob {
  std::string cacheFile;                // CardIndexCacheFile() in the viewer
  std::string cardFolder;               // cached recordings below it that are not in `recordings` are gone
  std::vector<std::string> recordings;  // the card's recording files, in the order the index lists them
  RecordingSummarizer summarize;        // works out the summary of a recording not in the cache
  EventThresholds thresholds;           // what `summarize` finds events with; the cache keeps to them
  CardIndexProgress progress;           // after each recording; may be empty
  const std::atomic<bool>* stop = nullptr;  // set from another thread to end the work early
};

struct CardIndex {
  std::vector<RecordingSummary> summaries;  // in the order of the job's recordings; fewer when stopped
  std::size_t fromCache = 0;
  std::size_t summarized = 0;
  bool stopped = false;
  std::string cacheProblem;  // one line on a cache that could not be read or written; empty otherwise
};

// Takes each recording's summary from the cache when its path, size and modification time match, else from
// `summarize`; then writes the cache back: this card's summaries, the ones of other cards, and none of the
// files gone from this card. A stopped job keeps what the cache held for the recordings it did not reach.
CardIndex BuildCardIndex(const CardIndexJob& job);

}  // namespace vx
