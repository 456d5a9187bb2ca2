// GPMF samples: nested KLV items (DEVC > STRM > GPS5/GPS9/ACCL with their SCAL, GPSF, GPSU and TYPE).
#include "core/telemetry/layouts/GpmfTelemetry.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "core/telemetry/layouts/Mp4Tracks.h"

namespace vx {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint64_t kMaxSampleBytes = 1 << 20;  // cameras write a few KiB a second
constexpr double kMetresPerSecondSquaredPerG = 9.80665;
constexpr double kKmhPerMetrePerSecond = 3.6;
constexpr double kMaxSpeedKmh = 1000.0;
constexpr int kFix2d = 2;  // GPSF and the GPS9 fix field: 0 none, 2 two-dimensional, 3 three-dimensional

std::uint64_t Be(const std::uint8_t* p, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
  return value;
}

// One item: a four-character key, a type letter (0 for a nested container), the size of one structure and
// how many structures follow (their bytes padded to four).
struct Klv {
  std::string_view key;
  char type;
  std::size_t structSize;
  Bytes data;
};

// Hands each item of a container to `visit`; false when an item runs past the container (damage).
bool ForEachKlv(Bytes bytes, const std::function<void(const Klv&)>& visit) {
  for (std::size_t at = 0; bytes.size() - at >= 8;) {
    const std::string_view key(reinterpret_cast<const char*>(bytes.data() + at), 4);
    if (key == std::string_view("\0\0\0\0", 4)) return true;  // padding after the last item
    const std::size_t structSize = bytes[at + 5], size = structSize * Be(&bytes[at + 6], 2);
    if (size > bytes.size() - at - 8) return false;
    visit({key, static_cast<char>(bytes[at + 4]), structSize, bytes.subspan(at + 8, size)});
    at += std::min(8 + ((size + 3) & ~std::size_t{3}), bytes.size() - at);
  }
  return true;
}

std::size_t TypeSize(char type) {
  switch (type) {
    case 'b': case 'B': case 'c': return 1;
    case 's': case 'S': return 2;
    case 'l': case 'L': case 'f': case 'q': return 4;
    case 'd': case 'j': case 'J': case 'Q': return 8;
    default: return 0;
  }
}

double Number(char type, const std::uint8_t* p) {
  const std::uint64_t raw = Be(p, static_cast<int>(TypeSize(type)));
  switch (type) {
    case 'b': return static_cast<std::int8_t>(raw);
    case 's': return static_cast<std::int16_t>(raw);
    case 'l': return static_cast<std::int32_t>(raw);
    case 'j': return static_cast<double>(static_cast<std::int64_t>(raw));
    case 'f': return std::bit_cast<float>(static_cast<std::uint32_t>(raw));
    case 'd': return std::bit_cast<double>(raw);
    case 'q': return static_cast<std::int32_t>(raw) / 65536.0;
    case 'Q': return static_cast<double>(static_cast<std::int64_t>(raw)) / 4294967296.0;
    default: return static_cast<double>(raw);
  }
}

// The item's structures as rows of numbers: of its own type, or of the types `complexType` lists for a '?'
// item. Empty when a type is unknown or the structure size does not fit the types.
std::vector<std::vector<double>> Rows(const Klv& item, std::string_view complexType) {
  const std::string_view types = item.type == '?' ? complexType : std::string_view(&item.type, 1);
  std::size_t typesSize = 0;
  for (const char type : types) {
    if (TypeSize(type) == 0) return {};
    typesSize += TypeSize(type);
  }
  if (typesSize == 0 || item.structSize == 0 || item.structSize % typesSize != 0) return {};
  std::vector<std::vector<double>> rows;
  for (std::size_t at = 0; at < item.data.size(); at += item.structSize) {
    std::vector<double>& row = rows.emplace_back();
    for (std::size_t i = 0, p = at; p < at + item.structSize; ++i) {
      const char type = types[i % types.size()];
      row.push_back(Number(type, &item.data[p]));
      p += TypeSize(type);
    }
  }
  return rows;
}

// "yymmddhhmmss.sss" (GPSU) in UTC milliseconds; nullopt when it is not a real time.
std::optional<std::int64_t> GpsUtcMs(Bytes text) {
  const std::string_view s(reinterpret_cast<const char*>(text.data()), std::min<std::size_t>(text.size(), 16));
  if (s.size() < 16 || s[12] != '.' || s.substr(0, 12).find_first_not_of("0123456789") != std::string_view::npos ||
      s.substr(13).find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  const auto two = [&](std::size_t at) { return unsigned((s[at] - '0') * 10 + (s[at + 1] - '0')); };
  using namespace std::chrono;
  const year_month_day date{year(2000 + int(two(0))), month(two(2)), day(two(4))};
  if (!date.ok() || two(6) > 23 || two(8) > 59 || two(10) > 59) return std::nullopt;
  const auto time = sys_days(date) + hours(two(6)) + minutes(two(8)) + seconds(two(10));
  return duration_cast<milliseconds>(time.time_since_epoch()).count() + two(13) * 10 + (s[15] - '0');
}

bool InRange(const GpsSample& fix) {
  return std::abs(fix.latitude) <= 90.0 && std::abs(fix.longitude) <= 180.0 &&
         !(fix.latitude == 0.0 && fix.longitude == 0.0) && fix.speedKmh >= 0.0 && fix.speedKmh <= kMaxSpeedKmh;
}

// The stated values of one stream (STRM) that apply to the data items after them.
struct StreamState {
  std::vector<double> scale;
  std::string complexType;
  std::optional<double> fix;
  bool utcStated = false;
  std::optional<std::int64_t> utcMs;
};

class GpmfReader {
 public:
  explicit GpmfReader(const ByteSource& file) : m_file(file) {}
  TelemetryTrack Read();

 private:
  bool ReadSample(const Mp4Sample& sample);
  void ReadStream(Bytes stream, const Mp4Sample& sample, bool& damaged);
  void AddGps(const Klv& item, const StreamState& state, const Mp4Sample& sample);
  void AddAccel(const Klv& item, const StreamState& state, const Mp4Sample& sample);
  std::vector<std::vector<double>> ScaledRows(const Klv& item, const StreamState& state) const;

  const ByteSource& m_file;
  TelemetryTrack m_track;
  std::vector<GpsSample> m_gps5;
  std::vector<GpsSample> m_gps9;
};

// The point `i` of `count` in the sample, spread evenly over its duration.
std::uint32_t PointMs(const Mp4Sample& sample, std::size_t i, std::size_t count) {
  return sample.startMs + static_cast<std::uint32_t>(std::uint64_t{sample.durationMs} * i / count);
}

TelemetryTrack GpmfReader::Read() {
  const std::optional<Mp4Track> track = FindMp4Track(m_file, {"gpmd"});
  if (!track) return {};
  std::string warning;
  const std::vector<Mp4Sample> samples = ReadMp4Samples(m_file, *track, warning);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (!ReadSample(samples[i])) {
      warning = "damaged GPMF data in sample " + std::to_string(i) + " at byte " + std::to_string(samples[i].offset);
      break;
    }
  }
  m_track.gps = m_gps9.empty() ? std::move(m_gps5) : std::move(m_gps9);
  if (!m_track.layout.empty()) m_track.warning = warning;
  return std::move(m_track);
}

// False on damage. A first sample that does not start with a device is no GPMF (other cameras write their own
// data in `gpmd` tracks) and leaves the layout unset.
bool GpmfReader::ReadSample(const Mp4Sample& sample) {
  if (sample.size > kMaxSampleBytes) return false;
  std::vector<std::uint8_t> bytes(sample.size);
  if (!m_file.Read(sample.offset, bytes)) return false;
  if (bytes.size() < 8 || std::memcmp(bytes.data(), "DEVC", 4) != 0 || bytes[4] != 0) return !m_track.layout.empty();
  m_track.layout = kGpmfLayoutName;
  bool damaged = false;
  damaged |= !ForEachKlv(bytes, [&](const Klv& device) {
    if (device.key != "DEVC" || device.type != 0) return;
    damaged |= !ForEachKlv(device.data, [&](const Klv& stream) {
      if (stream.key == "STRM" && stream.type == 0) ReadStream(stream.data, sample, damaged);
    });
  });
  return !damaged;
}

void GpmfReader::ReadStream(Bytes stream, const Mp4Sample& sample, bool& damaged) {
  StreamState state;
  damaged |= !ForEachKlv(stream, [&](const Klv& item) {
    const auto first = [&]() -> std::optional<double> {
      const auto rows = Rows(item, state.complexType);
      if (rows.empty() || rows[0].empty()) return std::nullopt;
      return rows[0][0];
    };
    if (item.key == "SCAL") {
      state.scale.clear();
      for (const auto& row : Rows(item, {})) state.scale.insert(state.scale.end(), row.begin(), row.end());
    } else if (item.key == "TYPE") {
      state.complexType.assign(reinterpret_cast<const char*>(item.data.data()), item.data.size());
      state.complexType.erase(state.complexType.find_last_not_of('\0') + 1);
    } else if (item.key == "GPSF") {
      state.fix = first();
    } else if (item.key == "GPSU") {
      state.utcStated = true;
      state.utcMs = GpsUtcMs(item.data);
    } else if (item.key == "GPS5" || item.key == "GPS9") {
      AddGps(item, state, sample);
    } else if (item.key == "ACCL") {
      AddAccel(item, state, sample);
    }
  });
}

// The rows divided by the stream's scale, one divisor per column (a single one for all); empty without a
// usable scale.
std::vector<std::vector<double>> GpmfReader::ScaledRows(const Klv& item, const StreamState& state) const {
  if (state.scale.empty() || std::ranges::any_of(state.scale, [](double s) { return !std::isfinite(s) || s == 0.0; })) return {};
  std::vector<std::vector<double>> rows = Rows(item, state.complexType);
  for (auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) row[i] /= state.scale[i % state.scale.size()];
  }
  return rows;
}

// GPS5: latitude, longitude, altitude, 2D and 3D speed (m/s), with the fix (GPSF) and the time of the first
// point (GPSU) stated before it. GPS9 adds days since 2000, seconds of the day, precision and the fix.
void GpmfReader::AddGps(const Klv& item, const StreamState& state, const Mp4Sample& sample) {
  const bool gps9 = item.key == "GPS9";
  const auto rows = ScaledRows(item, state);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::vector<double>& row = rows[i];
    if (row.size() < (gps9 ? 9u : 5u)) return;
    GpsSample fix;
    fix.mediaMs = PointMs(sample, i, rows.size());
    const double fixMode = gps9 ? row[8] : state.fix.value_or(0.0);
    if (gps9) {
      fix.utcMs = std::llround((946684800.0 + row[5] * 86400.0 + row[6]) * 1000.0);  // 2000-01-01 in Unix time
    } else if (state.utcMs) {
      fix.utcMs = *state.utcMs + (fix.mediaMs - sample.startMs);
    }
    fix.latitude = row[0];
    fix.longitude = row[1];
    fix.altitudeM = row[2];
    fix.speedKmh = row[3] * kKmhPerMetrePerSecond;
    const bool timeValid = gps9 ? row[5] >= 0.0 && row[6] >= 0.0 && row[6] < 86400.0 : !state.utcStated || state.utcMs;
    fix.valid = fixMode >= kFix2d && timeValid && InRange(fix) && std::isfinite(*fix.altitudeM);
    (gps9 ? m_gps9 : m_gps5).push_back(fix);
  }
}

// Three axes in m/s², in the order the camera stores them.
void GpmfReader::AddAccel(const Klv& item, const StreamState& state, const Mp4Sample& sample) {
  const auto rows = ScaledRows(item, state);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::vector<double>& row = rows[i];
    if (row.size() < 3 || !std::isfinite(row[0]) || !std::isfinite(row[1]) || !std::isfinite(row[2])) return;
    m_track.accel.push_back({PointMs(sample, i, rows.size()), row[0] / kMetresPerSecondSquaredPerG,
                             row[1] / kMetresPerSecondSquaredPerG, row[2] / kMetresPerSecondSquaredPerG});
  }
}

}  // namespace

TelemetryTrack ReadGpmfTelemetry(const ByteSource& file) { return GpmfReader(file).Read(); }

}  // namespace vx
