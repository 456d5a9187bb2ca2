// The table of other cameras' layouts and the pieces their writers share.
#include "LayoutWriters.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/layouts/Vx880Telemetry.h"

namespace vx::mkcard {
namespace {

constexpr LayoutWriter kLayoutWriters[] = {
    {"novatek", "", true, WriteNovatekLayout},
    {"pittasoft", "", true, WritePittasoftLayout},
    {"nmea", ".NMEA", false, WriteNmeaLayout},
};

}  // namespace

const LayoutWriter* FindLayoutWriter(std::string_view name) {
  for (const LayoutWriter& writer : kLayoutWriters) {
    if (name == writer.name) return &writer;
  }
  return nullptr;
}

std::string LayoutNames() {
  std::string names;
  for (const LayoutWriter& writer : kLayoutWriters) names += (names.empty() ? "" : ", ") + std::string(writer.name);
  return names;
}

std::string SidePath(const std::string& path, const char* suffix) {
  return std::filesystem::path(path).replace_extension(suffix).string();
}

TelemetryTrack TrackOf(std::span<const TelemetryRecord> records) {
  const std::vector<std::uint8_t> box = WrapMp4Box(EncodeTelemetryPayload(records));
  return ReadVx880Telemetry(MemoryByteSource(box));
}

// The record holds the sentence without its leading '$' and with a closing zero byte.
std::string NmeaSentence(const TelemetryRecord& record) {
  std::string sentence(record.bytes.begin(), record.bytes.end());
  if (!sentence.empty() && sentence.back() == '\0') sentence.pop_back();
  return "$" + sentence;
}

bool IsFix(const TelemetryRecord& record) { return !record.bytes.empty() && record.bytes.front() == 'G'; }

bool WriteAt(const std::string& path, std::optional<std::uint64_t> offset, std::span<const std::uint8_t> bytes,
             std::string& error) {
  // Writing in place needs the file opened for reading too, or it would be emptied first.
  std::fstream out(path, std::ios::binary | std::ios::out | (offset ? std::ios::in : std::ios::app));
  if (out && offset) out.seekp(static_cast<std::streamoff>(*offset));
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();  // the last bytes reach the disk here, so only now is the outcome known
  if (!out) error = std::string("write failed: ") + std::strerror(errno);
  return static_cast<bool>(out);
}

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::vector<std::uint8_t> Mp4Box(const char* type, std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> box;
  PutBe32(box, static_cast<std::uint32_t>(payload.size() + 8));
  box.insert(box.end(), type, type + 4);
  box.insert(box.end(), payload.begin(), payload.end());
  return box;
}

}  // namespace vx::mkcard
