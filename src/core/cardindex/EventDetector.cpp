// Scales the samples to 1 g, finds the vertical, forward and lateral axes, and looks for episodes beyond limits.
#include "core/cardindex/EventDetector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace vx {
namespace {

using Vec = std::array<double, 3>;

struct Sample {
  std::uint32_t ms;
  Vec g;
};

constexpr double kStandardGravity = 9.80665;
// Impacts compare a sample with at most this many before it, so that samples crowded into one
// millisecond cannot make the work quadratic.
constexpr std::size_t kImpactLookBack = 64;
// Fewer fix intervals than this cannot tell the forward axis from the lateral one.
constexpr std::size_t kMinSpeedIntervals = 3;
constexpr double kMinSpeedCorrelation = 0.3;
// Fixes further apart than this say nothing about the acceleration between them.
constexpr std::uint32_t kMaxFixGapMs = 5000;

double Norm(const Vec& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// Finite samples in media time order; a sample whose time goes back is dropped, as its place is unknown.
std::vector<Sample> OrderedSamples(const std::vector<AccelSample>& accel) {
  std::vector<Sample> samples;
  samples.reserve(accel.size());
  for (const AccelSample& a : accel) {
    const Vec g{a.x, a.y, a.z};
    if (!std::isfinite(Norm(g))) continue;
    if (!samples.empty() && a.mediaMs < samples.back().ms) continue;
    samples.push_back({a.mediaMs, g});
  }
  return samples;
}

Vec Mean(const std::vector<Sample>& samples) {
  Vec sum{};
  for (const Sample& s : samples) {
    for (int i = 0; i < 3; ++i) sum[i] += s.g[i];
  }
  for (double& v : sum) v /= static_cast<double>(samples.size());
  return sum;
}

// Scales the samples so that their mean vector is 1 g; false when the mean is no usable vector.
bool ScaleToOneG(std::vector<Sample>& samples) {
  const double mean = Norm(Mean(samples));
  if (!(mean > 1e-9) || !std::isfinite(mean)) return false;
  for (Sample& s : samples) {
    for (double& v : s.g) v /= mean;
  }
  return true;
}

// The mean of one axis over the samples with times in [from, to), from prefix sums.
struct AxisSums {
  const std::vector<Sample>& samples;
  std::vector<double> prefix;  // prefix[i]: sum of the axis over the first i samples

  AxisSums(const std::vector<Sample>& s, int axis) : samples(s), prefix(s.size() + 1, 0.0) {
    for (std::size_t i = 0; i < s.size(); ++i) prefix[i + 1] = prefix[i] + s[i].g[static_cast<std::size_t>(axis)];
  }
  std::optional<double> MeanBetween(std::uint32_t from, std::uint32_t to) const {
    const auto byTime = [](const Sample& s, std::uint32_t ms) { return s.ms < ms; };
    const auto first = std::lower_bound(samples.begin(), samples.end(), from, byTime) - samples.begin();
    const auto last = std::lower_bound(samples.begin(), samples.end(), to, byTime) - samples.begin();
    if (last <= first) return std::nullopt;
    return (prefix[static_cast<std::size_t>(last)] - prefix[static_cast<std::size_t>(first)]) /
           static_cast<double>(last - first);
  }
};

// Pearson correlation of the axis's mean between consecutive valid fixes with the fixes' dv/dt.
std::optional<double> SpeedCorrelation(const std::vector<Sample>& samples, int axis,
                                       const std::vector<GpsSample>& fixes) {
  const AxisSums sums(samples, axis);
  double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
  std::size_t n = 0;
  for (std::size_t i = 1; i < fixes.size(); ++i) {
    const GpsSample& f0 = fixes[i - 1];
    const GpsSample& f1 = fixes[i];
    if (f1.mediaMs <= f0.mediaMs || f1.mediaMs - f0.mediaMs > kMaxFixGapMs) continue;
    const auto axisMean = sums.MeanBetween(f0.mediaMs, f1.mediaMs);
    if (!axisMean) continue;
    const double dvdt = (f1.speedKmh - f0.speedKmh) / 3.6 / ((f1.mediaMs - f0.mediaMs) / 1000.0) / kStandardGravity;
    sa += *axisMean, sb += dvdt, saa += *axisMean * *axisMean, sbb += dvdt * dvdt, sab += *axisMean * dvdt;
    ++n;
  }
  if (n < kMinSpeedIntervals) return std::nullopt;
  const double count = static_cast<double>(n);
  const double var = (saa - sa * sa / count) * (sbb - sb * sb / count);
  if (!(var > 1e-12)) return std::nullopt;
  return (sab - sa * sb / count) / std::sqrt(var);
}

std::vector<GpsSample> ValidFixesInOrder(const std::vector<GpsSample>& gps) {
  std::vector<GpsSample> fixes;
  for (const GpsSample& f : gps) {
    if (f.valid && std::isfinite(f.speedKmh) && std::isfinite(f.latitude) && std::isfinite(f.longitude)) {
      fixes.push_back(f);
    }
  }
  std::stable_sort(fixes.begin(), fixes.end(), [](const GpsSample& a, const GpsSample& b) { return a.mediaMs < b.mediaMs; });
  return fixes;
}

// The car's horizontal axes as signed camera axes: the vertical one carries the mean (gravity); forward is
// the horizontal axis that follows the GPS speed, else the camera's y axis (x when y is vertical).
struct CarAxes {
  int forward = 1;
  double forwardSign = 1.0;
  int lateral = 0;
};

CarAxes FindCarAxes(const std::vector<Sample>& samples, const std::vector<GpsSample>& fixes) {
  const Vec mean = Mean(samples);
  int vertical = 2;
  for (int i = 0; i < 3; ++i) {
    if (std::fabs(mean[static_cast<std::size_t>(i)]) > std::fabs(mean[static_cast<std::size_t>(vertical)])) vertical = i;
  }
  std::array<int, 2> horizontal{};
  for (int i = 0, n = 0; i < 3; ++i) {
    if (i != vertical) horizontal[static_cast<std::size_t>(n++)] = i;
  }
  CarAxes axes;
  axes.forward = vertical == 1 ? 0 : 1;
  double best = kMinSpeedCorrelation;
  for (const int axis : horizontal) {
    const auto r = SpeedCorrelation(samples, axis, fixes);
    if (r && std::fabs(*r) > best) {
      best = std::fabs(*r);
      axes.forward = axis;
      axes.forwardSign = *r < 0 ? -1.0 : 1.0;
    }
  }
  axes.lateral = horizontal[0] == axes.forward ? horizontal[1] : horizontal[0];
  return axes;
}

// One run of samples beyond a limit, possibly several crossings close together.
struct Episode {
  std::uint32_t startMs = 0;
  std::uint32_t endMs = 0;
  std::uint32_t peakMs = 0;
  double peak = 0.0;  // strength, positive
};

// Episodes where `strength` (one value per sample, positive beyond the limit's direction) reaches `limit`.
std::vector<Episode> Episodes(const std::vector<Sample>& samples, const std::vector<double>& strength, double limit,
                              std::uint32_t mergeMs) {
  std::vector<Episode> episodes;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (!(strength[i] >= limit)) continue;
    const std::uint32_t ms = samples[i].ms;
    if (episodes.empty() || ms - episodes.back().endMs > mergeMs) episodes.push_back({ms, ms, ms, strength[i]});
    Episode& e = episodes.back();
    e.endMs = ms;
    if (strength[i] > e.peak) e.peak = strength[i], e.peakMs = ms;
  }
  return episodes;
}

// The trailing moving average of `axis` over `spanMs`, one value per sample.
std::vector<double> MovingAverage(const std::vector<Sample>& samples, int axis, double sign, std::uint32_t spanMs) {
  std::vector<double> average(samples.size());
  double sum = 0.0;
  std::size_t first = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    sum += samples[i].g[static_cast<std::size_t>(axis)];
    while (samples[i].ms - samples[first].ms >= spanMs && first < i) sum -= samples[first++].g[static_cast<std::size_t>(axis)];
    average[i] = sign * sum / static_cast<double>(i - first + 1);
  }
  return average;
}

// The largest change of the whole vector from a sample within `windowMs` before each sample.
std::vector<double> VectorJumps(const std::vector<Sample>& samples, std::uint32_t windowMs) {
  std::vector<double> jumps(samples.size(), 0.0);
  for (std::size_t i = 1; i < samples.size(); ++i) {
    for (std::size_t back = 1; back <= std::min(i, kImpactLookBack); ++back) {
      const Sample& earlier = samples[i - back];
      if (samples[i].ms - earlier.ms > windowMs) break;
      const Vec d{samples[i].g[0] - earlier.g[0], samples[i].g[1] - earlier.g[1], samples[i].g[2] - earlier.g[2]};
      jumps[i] = std::max(jumps[i], Norm(d));
    }
  }
  return jumps;
}

void AddEvents(std::vector<DetectedEvent>& events, const std::vector<Episode>& episodes, DetectedEvent::Kind kind,
               const std::vector<Episode>& impacts, std::uint32_t surgeMs, std::uint32_t leadMs) {
  for (const Episode& e : episodes) {
    // The moving average of an impact's own jolt is no manoeuvre: an episode that begins with the impact
    // belongs to it, while braking that began before it is reported as well.
    const bool impactSurge = std::any_of(impacts.begin(), impacts.end(), [&](const Episode& impact) {
      return e.startMs + leadMs >= impact.startMs && e.startMs <= impact.endMs + surgeMs;
    });
    if (!impactSurge) events.push_back({kind, e.peakMs, e.peak, std::nullopt, std::nullopt});
  }
}

std::vector<double> Negated(std::vector<double> values) {
  for (double& v : values) v = -v;
  return values;
}

std::vector<double> Magnitudes(std::vector<double> values) {
  for (double& v : values) v = std::fabs(v);
  return values;
}

}  // namespace

void PlaceEvent(DetectedEvent& event, const std::vector<GpsSample>& fixes) {
  const GpsSample* nearest = nullptr;
  std::uint32_t nearestGap = 0;
  for (const GpsSample& f : fixes) {
    if (!f.valid || !std::isfinite(f.latitude) || !std::isfinite(f.longitude)) continue;
    const std::uint32_t gap = f.mediaMs > event.mediaMs ? f.mediaMs - event.mediaMs : event.mediaMs - f.mediaMs;
    if (!nearest || gap < nearestGap) nearest = &f, nearestGap = gap;
  }
  if (!nearest) return;
  event.latitude = nearest->latitude;
  event.longitude = nearest->longitude;
}

GSensorFindings DetectEvents(const TelemetryTrack& track, const EventThresholds& limits) {
  GSensorFindings findings;
  std::vector<Sample> samples = OrderedSamples(track.accel);
  if (samples.empty() || !ScaleToOneG(samples)) return findings;
  for (const Sample& s : samples) findings.maxG = std::max(findings.maxG, Norm(s.g));

  const CarAxes axes = FindCarAxes(samples, ValidFixesInOrder(track.gps));
  // Gravity and the camera's tilt are the mean of each axis; the manoeuvres are what departs from it.
  const Vec mean = Mean(samples);
  for (Sample& s : samples) {
    for (std::size_t i = 0; i < 3; ++i) s.g[i] -= mean[i];
  }
  const std::vector<double> forward = MovingAverage(samples, axes.forward, axes.forwardSign, limits.averageMs);
  const std::vector<double> lateral = MovingAverage(samples, axes.lateral, 1.0, limits.averageMs);
  const std::vector<Episode> impacts =
      Episodes(samples, VectorJumps(samples, limits.impactWindowMs), limits.impactG, limits.mergeMs);

  auto& events = findings.events;
  for (const Episode& e : impacts) events.push_back({DetectedEvent::Kind::Impact, e.peakMs, e.peak, {}, {}});
  using Kind = DetectedEvent::Kind;
  const std::uint32_t surge = limits.averageMs, lead = limits.impactWindowMs;
  AddEvents(events, Episodes(samples, Negated(forward), limits.brakingG, limits.mergeMs), Kind::HardBraking, impacts, surge, lead);
  AddEvents(events, Episodes(samples, forward, limits.accelerationG, limits.mergeMs), Kind::HardAcceleration, impacts, surge, lead);
  AddEvents(events, Episodes(samples, Magnitudes(lateral), limits.turnG, limits.mergeMs), Kind::SharpTurn, impacts, surge, lead);
  std::stable_sort(events.begin(), events.end(), [](const DetectedEvent& a, const DetectedEvent& b) { return a.mediaMs < b.mediaMs; });
  for (DetectedEvent& e : events) PlaceEvent(e, track.gps);
  return findings;
}

}  // namespace vx
