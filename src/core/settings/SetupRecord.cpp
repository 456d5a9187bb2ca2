// Field-by-field encoding of the settings record; one table of offsets serves reading and writing.
#include "core/settings/SetupRecord.h"

#include <zlib.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <type_traits>

namespace vx {
namespace {

using RecordBytes = std::array<std::uint8_t, kSetupRecordSize>;

// Copies each field between the struct and its offset; `toBytes` chooses the direction.
class FieldCodec {
 public:
  FieldCodec(RecordBytes& bytes, bool toBytes) : m_bytes(bytes), m_bToBytes(toBytes) {}

  template <typename T>
  void operator()(std::size_t offset, T& field) {
    static_assert(std::is_trivially_copyable_v<T>);
    // Every field is little-endian, like the machine this builds for.
    if (m_bToBytes) {
      std::memcpy(m_bytes.data() + offset, &field, sizeof field);
    } else {
      std::memcpy(&field, m_bytes.data() + offset, sizeof field);
    }
  }

 private:
  RecordBytes& m_bytes;
  bool m_bToBytes;
};

template <typename Visitor>
void VisitFields(SetupRecord& r, Visitor&& v) {
  v(0, r.dwRomCount); v(4, r.szProductName); v(36, r.szSerialNumber); v(68, r.szFWVersion);
  v(100, r.wszCompany); v(164, r.wszCarLicence);
  v(228, r.wDriveFB); v(230, r.wDriveLR); v(232, r.wDriveTB); v(234, r.nTimeZone);
  v(236, r.bBuzzer); v(237, r.bMic); v(238, r.bVoice); v(239, r.bRearCamera);
  v(240, r.dwChannelCount); v(244, r.dwDevParam1); v(248, r.dwDevParam2); v(252, r.dwDevParam3);
  v(256, r.dwFrontBitrate); v(260, r.dwRearBitrate); v(264, r.dwDevParam4); v(268, r.dwDevParam5);
  v(272, r.wVideoModeA); v(274, r.wVideoModeB); v(276, r.wDevParam6);
  v(280, r.dwDevParam7); v(284, r.dwDevParam8); v(288, r.wDevParam9); v(290, r.wDevParam10);
  v(292, r.dwDevParam11); v(296, r.wRecordSound);
  v(320, r.dwShare1); v(324, r.dwShare2); v(328, r.dwShare3);
  v(332, r.bParkingSDUsage); v(333, r.bTimeSet); v(334, r.bSpeedUnit);
  v(336, r.wParkingFB); v(338, r.wParkingLR); v(340, r.wParkingTB);
  v(342, r.wYear); v(344, r.wMonth); v(346, r.wDay); v(348, r.wHour); v(350, r.wMinute); v(352, r.wSecond);
  v(356, r.dwCutOffVoltage);
}

template <std::size_t N>
void PutText(std::array<char, N>& field, const char* text) {
  field.fill(0);
  std::strncpy(field.data(), text, N);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

static_assert(std::endian::native == std::endian::little, "the record is stored little-endian");

SetupRecord MakeDefaultRecord(std::int16_t zoneQuarterHours, bool hd) {
  SetupRecord r;
  PutText(r.szProductName, "VX-880QN");
  PutText(r.szFWVersion, "V1.0.0");
  r.wDriveFB = r.wDriveLR = r.wDriveTB = 100;
  r.wParkingFB = r.wParkingLR = r.wParkingTB = 100;
  r.nTimeZone = zoneQuarterHours;
  r.bBuzzer = 1;
  r.bVoice = 1;
  r.bRearCamera = 1;
  r.dwChannelCount = 2;
  r.dwDevParam1 = 2;
  r.dwDevParam2 = 3;
  r.dwDevParam3 = 1;
  r.dwFrontBitrate = r.dwRearBitrate = 2000000;
  r.dwDevParam4 = r.dwDevParam5 = 15;
  r.wVideoModeA = hd ? 5 : 10;
  r.wVideoModeB = hd ? 15 : 10;
  r.wDevParam6 = 60;
  r.wDevParam9 = 1;
  r.wRecordSound = 1;
  r.dwShare1 = 750;
  r.dwShare3 = 250;
  r.dwCutOffVoltage = 12000;
  return r;
}

std::array<std::uint8_t, kSetupRecordSize> EncodeSetupRecord(const SetupRecord& record) {
  SetupRecord copy = record;
  RecordBytes bytes = record.raw;
  VisitFields(copy, FieldCodec(bytes, true));
  return bytes;
}

SetupRecord DecodeSetupRecord(const std::array<std::uint8_t, kSetupRecordSize>& bytes) {
  SetupRecord record;
  record.raw = bytes;
  VisitFields(record, FieldCodec(record.raw, false));
  return record;
}

std::uint32_t SetupRecordCrc(const std::array<std::uint8_t, kSetupRecordSize>& bytes) {
  return static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

std::optional<SetupRecord> ReadSetupRecord(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  const auto path = std::filesystem::path(folder) / kSetupFileName;
  // Opened for writing too: the camera's card must be writable for its settings to be edited.
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r+b"));
  if (!file) return std::nullopt;
  RecordBytes bytes{};
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;
  return DecodeSetupRecord(bytes);
}

bool WriteSetupRecord(const std::string& folder, const SetupRecord& record) {
  const auto path = std::filesystem::path(folder) / kSetupFileName;
  std::array<std::uint8_t, kSetupFileSize> file{};
  const RecordBytes bytes = EncodeSetupRecord(record);
  std::copy(bytes.begin(), bytes.end(), file.begin());
  const std::uint32_t crc = SetupRecordCrc(bytes);
  std::memcpy(file.data() + kSetupRecordSize, &crc, sizeof crc);
  const std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
  if (!out) return false;
  return std::fwrite(file.data(), 1, file.size(), out.get()) == file.size() && std::fflush(out.get()) == 0;
}

}  // namespace vx
