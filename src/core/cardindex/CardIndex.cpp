// Builds the card index against the cache and writes the cache back with the card's current files only.
#include "core/cardindex/CardIndex.h"

#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "core/cardindex/CardIndexCache.h"

namespace vx {
namespace {

// True when `path` lies below `folder` (whole folder names: "/card" holds "/card/x", not "/card2/x").
bool IsBelow(const std::string& path, const std::string& folder) {
  if (folder.empty()) return false;
  const std::size_t length = folder.back() == '/' ? folder.size() - 1 : folder.size();
  return path.size() > length + 1 && path.compare(0, length, folder, 0, length) == 0 && path[length] == '/';
}

RecordingSummary Summary(const CardIndexJob& job, const CCardIndexCache& cache, CardIndex& index,
                         const std::string& path) {
  RecordingKey key;
  if (!StatRecordingKey(path, key)) {
    RecordingSummary gone;
    gone.path = path;
    gone.problem = std::string("cannot be read: ") + std::strerror(errno);
    return gone;
  }
  if (const RecordingSummary* cached = cache.Find(key)) {
    ++index.fromCache;
    return *cached;
  }
  ++index.summarized;
  RecordingSummary summary = job.summarize(path);
  summary.path = key.path;
  summary.sizeBytes = key.sizeBytes;
  summary.modifiedNs = key.modifiedNs;
  return summary;
}

// What the cache holds after this job: the fresh summaries, the cached ones of recordings not reached,
// and the other cards' records; records of this card's files that are no longer there are left out.
std::vector<RecordingSummary> CacheAfter(const CardIndexJob& job, const CCardIndexCache& cache, const CardIndex& index) {
  std::vector<RecordingSummary> kept;
  std::unordered_set<std::string> reached;
  for (const RecordingSummary& fresh : index.summaries) {
    reached.insert(fresh.path);
    if (fresh.sizeBytes != 0 || fresh.modifiedNs != 0) kept.push_back(fresh);  // a file that could be read
  }
  const std::unordered_set<std::string> listed(job.recordings.begin(), job.recordings.end());
  for (const auto& [path, cached] : cache.Summaries()) {
    if (!reached.contains(path) && (listed.contains(path) || !IsBelow(path, job.cardFolder))) kept.push_back(cached);
  }
  return kept;
}

}  // namespace

CardIndex BuildCardIndex(const CardIndexJob& job) {
  const CCardIndexCache cache = CCardIndexCache::Load(job.cacheFile, job.thresholds);
  CardIndex index;
  index.cacheProblem = cache.Problem();
  index.summaries.reserve(job.recordings.size());
  for (const std::string& path : job.recordings) {
    if (job.stop && job.stop->load()) {
      index.stopped = true;
      break;
    }
    index.summaries.push_back(Summary(job, cache, index, path));
    if (job.progress) job.progress(index.summaries.size(), job.recordings.size());
  }
  const std::vector<RecordingSummary> kept = CacheAfter(job, cache, index);
  // Nothing worked out and nothing dropped: the file on disk already says all of it.
  const bool unchanged = index.summarized == 0 && kept.size() == cache.Summaries().size() && cache.Problem().empty();
  std::string error;
  if (!unchanged && !SaveCardIndexCache(job.cacheFile, kept, job.thresholds, error)) index.cacheProblem = error;
  return index;
}

}  // namespace vx
