// Telemetry log payload parsing and writing, and the walk over top-level MP4 boxes and RIFF chunks.
#include "core/telemetry/TelemetryLog.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "core/telemetry/layouts/Mp4Boxes.h"

namespace vx {
namespace {

constexpr std::array<std::uint8_t, 4> kLogTag{'v', 'x', 't', 'l'};

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void PutLe16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
bool IsTag(const std::uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// The place of a log's payload in the file; size is cut where its container ends.
struct PayloadSpan {
  std::uint64_t offset;
  std::uint64_t size;
};

// The declared size cut at `end` (the end of the file, or of the list that holds the log).
std::uint64_t ClampedSize(std::uint64_t end, std::uint64_t offset, std::uint64_t declared) {
  const std::uint64_t available = offset <= end ? end - offset : 0;
  return std::min({declared, available, kMaxTelemetryPayload});
}

std::optional<PayloadSpan> FindMp4Log(const ByteSource& src) {
  const std::optional<Mp4Box> box = FindMp4Box(src, 0, src.Size(), "vxtl");
  if (!box) return std::nullopt;
  return PayloadSpan{box->payloadOffset, std::min(box->payloadSize, kMaxTelemetryPayload)};
}

std::optional<PayloadSpan> FindAviLog(const ByteSource& src, std::uint32_t riffSize) {
  const std::uint64_t end = std::min<std::uint64_t>(src.Size(), 8ull + riffSize);
  std::uint64_t at = 12;
  std::array<std::uint8_t, 8> head{};
  while (at + 8 <= end) {
    if (!src.Read(at, head)) return std::nullopt;
    const std::uint64_t chunkSize = Le32(head.data() + 4);
    if (std::equal(kLogTag.begin(), kLogTag.end(), head.begin())) {
      return PayloadSpan{at + 8, ClampedSize(end, at + 8, chunkSize)};  // never into the next list
    }
    at += 8 + chunkSize + (chunkSize & 1);
  }
  return std::nullopt;
}

ContainerKind Identify(const ByteSource& src, std::uint32_t& riffSize) {
  std::array<std::uint8_t, 12> head{};
  if (!src.Read(0, head)) return ContainerKind::Unknown;
  if (IsTag(head.data(), "RIFF") && IsTag(head.data() + 8, "AVI ")) {
    riffSize = Le32(head.data() + 4);
    return ContainerKind::Avi;
  }
  for (const char* box : {"ftyp", "moov", "mdat", "free", "skip", "wide", "vxtl"}) {
    if (IsTag(head.data() + 4, box)) return ContainerKind::Mp4;
  }
  return ContainerKind::Unknown;
}

}  // namespace

TelemetryLog::TelemetryLog(std::vector<std::uint8_t> payload) : m_payload(std::move(payload)) {
  if (m_payload.size() < 4) {
    m_strWarning = "telemetry log shorter than its header";
    return;
  }
  const std::uint16_t version = Le16(m_payload.data());
  if (version != kTelemetryLogVersion) {
    m_strWarning = "telemetry log version " + std::to_string(version) + " is not known";
    return;
  }
  std::size_t at = 4;
  while (at < m_payload.size()) {
    if (m_payload.size() - at < 6) {
      m_strWarning = "telemetry entry header cut short at byte " + std::to_string(at);
      return;
    }
    const std::uint32_t time = Le32(m_payload.data() + at);
    const std::uint16_t length = Le16(m_payload.data() + at + 4);
    if (length == 0 || length > kMaxRecordLength || m_payload.size() - at - 6 < length) {
      m_strWarning = "damaged telemetry entry at byte " + std::to_string(at);
      return;
    }
    m_entries.push_back({time, static_cast<std::uint32_t>(at + 6), length});
    at += 6u + length;
  }
}

TelemetryLogResult ReadTelemetryLog(const ByteSource& source) {
  TelemetryLogResult result;
  std::uint32_t riffSize = 0;
  result.container = Identify(source, riffSize);
  if (result.container == ContainerKind::Unknown) {
    result.error = "not an AVI or MP4 recording";
    return result;
  }
  result.ok = true;
  const auto span = result.container == ContainerKind::Mp4 ? FindMp4Log(source) : FindAviLog(source, riffSize);
  if (!span) return result;
  std::vector<std::uint8_t> payload(span->size);
  if (!source.Read(span->offset, payload)) {
    result.ok = false;
    result.error = "telemetry log could not be read";
    return result;
  }
  result.found = true;
  result.log = TelemetryLog(std::move(payload));
  return result;
}

TelemetryLogResult ReadTelemetryLogFile(const std::string& path) {
  std::string error;
  const auto file = FileByteSource::Open(path, error);
  if (!file) {
    TelemetryLogResult result;
    result.error = error;
    return result;
  }
  return ReadTelemetryLog(*file);
}

std::vector<std::uint8_t> EncodeTelemetryPayload(std::span<const TelemetryRecord> records) {
  std::vector<std::uint8_t> out;
  PutLe16(out, kTelemetryLogVersion);
  PutLe16(out, 0);
  for (const auto& record : records) {
    const std::size_t length = std::min(record.bytes.size(), kMaxRecordLength);
    if (length == 0) continue;
    PutLe32(out, record.timeMs);
    PutLe16(out, static_cast<std::uint16_t>(length));
    out.insert(out.end(), record.bytes.begin(), record.bytes.begin() + static_cast<std::ptrdiff_t>(length));
  }
  return out;
}

std::vector<std::uint8_t> WrapMp4Box(std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> out;
  out.reserve(payload.size() + 8);
  const auto size = static_cast<std::uint32_t>(payload.size() + 8);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(size >> shift));
  for (const std::uint8_t c : kLogTag) out.push_back(c);
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

std::vector<std::uint8_t> WrapAviChunk(std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> out;
  out.reserve(payload.size() + 9);
  for (const std::uint8_t c : kLogTag) out.push_back(c);
  PutLe32(out, static_cast<std::uint32_t>(payload.size()));
  out.insert(out.end(), payload.begin(), payload.end());
  if (payload.size() & 1) out.push_back(0);
  return out;
}

}  // namespace vx
