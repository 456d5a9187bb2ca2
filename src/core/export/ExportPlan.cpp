// Cuts a span into per-recording pieces, reads span times from the command line and words key-frame widening.
#include "core/export/ExportPlan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

#include "core/cardindex/EventRows.h"
#include "core/common/CFormat.h"

namespace vx {
namespace {

std::int64_t EndOf(const RecordingSummary& r) { return r.startUtcMs + r.durationMs; }

std::string UtcText(std::int64_t utcMs) {
  std::int64_t seconds = utcMs / 1000;
  if (utcMs % 1000 < 0) --seconds;
  const auto flat = static_cast<std::time_t>(seconds);
  std::tm tm{};
  char text[40] = "?";
  if (gmtime_r(&flat, &tm)) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return text;
}

// Reads `count` digits at `at` as a number; nothing when any is not a digit.
std::optional<int> Digits(const std::string& text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The offset a time states after its seconds: "+09:00", "-0530", "Z" or none at all.
struct StatedOffset {
  bool wellFormed = false;
  std::optional<int> eastMinutes;  // nothing when the time states none
};

StatedOffset OffsetAt(const std::string& text, std::size_t at) {
  if (at == text.size()) return {true, std::nullopt};
  if (text.substr(at) == "Z") return {true, 0};
  if (text[at] != '+' && text[at] != '-') return {};
  const std::string rest = text.substr(at + 1);
  const bool colon = rest.size() == 5 && rest[2] == ':';
  if (!colon && rest.size() != 4) return {};
  const auto hours = Digits(rest, 0, 2), minutes = Digits(rest, colon ? 3 : 2, 2);
  if (!hours || !minutes || *hours > 14 || *minutes > 59) return {};
  const int sign = text[at] == '-' ? -1 : 1;
  return {true, sign * (*hours * 60 + *minutes)};
}

std::optional<std::int64_t> ParseIso(const std::string& text, std::optional<int> zoneMinutes) {
  const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  const auto hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second || text[4] != '-' || text[7] != '-' ||
      (text[10] != 'T' && text[10] != ' ') || text[13] != ':' || text[16] != ':')
    return std::nullopt;
  if (*month < 1 || *month > 12 || *day < 1 || *day > 31 || *hour > 23 || *minute > 59 || *second > 59)
    return std::nullopt;
  std::size_t at = 19;
  std::int64_t millis = 0;
  if (at < text.size() && text[at] == '.') {
    int scale = 100;
    for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10) millis += (text[at] - '0') * scale;
  }
  const StatedOffset offset = OffsetAt(text, at);
  if (!offset.wellFormed) return std::nullopt;
  std::tm tm{};
  tm.tm_year = *year - 1900;
  tm.tm_mon = *month - 1;
  tm.tm_mday = *day;
  tm.tm_hour = *hour;
  tm.tm_min = *minute;
  tm.tm_sec = *second;
  const std::time_t asUtc = timegm(&tm);
  if (tm.tm_mday != *day) return std::nullopt;  // 31 February and the like roll over
  const int east = offset.eastMinutes.value_or(zoneMinutes.value_or(0));
  return (static_cast<std::int64_t>(asUtc) - std::int64_t{east} * 60) * 1000 + millis;
}

std::string SecondsText(std::int64_t ms) { return FormatFixed(static_cast<double>(ms) / 1000.0, 2) + " s"; }

}  // namespace

std::int64_t ExportPlan::DurationMs() const {
  std::int64_t total = 0;
  for (const ExportPiece& p : pieces) total += p.toMs - p.fromMs;
  return total;
}

std::pair<const ExportPiece*, std::uint32_t> ExportPlan::PieceAt(std::int64_t outputMs) const {
  if (pieces.empty()) return {nullptr, 0};
  for (const ExportPiece& p : pieces) {
    const std::int64_t length = p.toMs - p.fromMs;
    if (outputMs < length) return {&p, static_cast<std::uint32_t>(p.fromMs + std::max<std::int64_t>(outputMs, 0))};
    outputMs -= length;
  }
  return {&pieces.back(), pieces.back().toMs};
}

std::pair<std::int64_t, std::int64_t> ExportPlan::JoinedSpanMs() const {
  if (pieces.empty()) return {0, 0};
  std::int64_t before = 0;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) before += pieces[i].recordingDurationMs;
  return {pieces.front().fromMs, before + pieces.back().toMs};
}

std::vector<RecordingSummary> ChainOf(std::span<const RecordingSummary> card, const std::string& path,
                                      const TripRules& rules) {
  const auto named = [&](const std::string& p) {
    return std::find_if(card.begin(), card.end(), [&](const RecordingSummary& r) { return r.path == p; });
  };
  if (named(path) == card.end()) return {};
  const std::vector<RecordingSummary> all(card.begin(), card.end());
  for (const Trip& trip : GroupTrips(all, rules)) {
    if (std::find(trip.recordings.begin(), trip.recordings.end(), path) == trip.recordings.end()) continue;
    std::vector<RecordingSummary> chain;
    for (const std::string& p : trip.recordings) chain.push_back(*named(p));
    return chain;
  }
  return {*named(path)};
}

ExportPlan PlanExport(std::span<const RecordingSummary> chain, const ExportSpan& span) {
  ExportPlan plan;
  if (chain.empty()) {
    plan.problem = "no recording to export from";
    return plan;
  }
  const std::int64_t first = chain.front().startUtcMs, last = EndOf(chain.back());
  if (span.toUtcMs <= span.fromUtcMs) {
    plan.problem = "the span ends before it starts";
  } else if (span.fromUtcMs < first || span.toUtcMs > last) {
    plan.problem = "the span " + UtcText(span.fromUtcMs) + " to " + UtcText(span.toUtcMs) +
                   " runs past the recordings, which hold " + UtcText(first) + " to " + UtcText(last);
  }
  if (!plan.problem.empty()) return plan;
  for (const RecordingSummary& r : chain) {
    const std::int64_t from = std::max(span.fromUtcMs, r.startUtcMs), to = std::min(span.toUtcMs, EndOf(r));
    if (from >= to) continue;
    plan.pieces.push_back({r.path, r.startUtcMs, static_cast<std::uint32_t>(from - r.startUtcMs),
                           static_cast<std::uint32_t>(to - r.startUtcMs), r.durationMs});
  }
  if (plan.pieces.empty()) plan.problem = "the span falls between two recordings";
  return plan;
}

ExportSpan EventSpan(std::span<const RecordingSummary> chain, std::int64_t eventUtcMs) {
  if (chain.empty()) return {eventUtcMs - kEventSpanMs, eventUtcMs + kEventSpanMs};
  return {std::max(eventUtcMs - kEventSpanMs, chain.front().startUtcMs),
          std::min(eventUtcMs + kEventSpanMs, EndOf(chain.back()))};
}

std::optional<std::int64_t> ParseSpanTime(const std::string& text, std::optional<int> zoneMinutes,
                                          std::int64_t firstStartUtcMs) {
  if (text.size() >= 19) return ParseIso(text, zoneMinutes);
  double seconds = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) ||
      seconds < 0.0 || seconds > 86'400.0 * 366)
    return std::nullopt;
  return firstStartUtcMs + std::llround(seconds * 1000.0);
}

std::string WideningText(const ExportSpan& asked, const ExportSpan& written) {
  const std::int64_t earlier = asked.fromUtcMs - written.fromUtcMs, later = written.toUtcMs - asked.toUtcMs;
  if (earlier <= 0 && later <= 0) return "as marked";
  std::string text = "widened to whole key-frame intervals:";
  if (earlier > 0) text += " starts " + SecondsText(earlier) + " earlier";
  if (earlier > 0 && later > 0) text += ",";
  if (later > 0) text += " ends " + SecondsText(later) + " later";
  return text;
}

}  // namespace vx
