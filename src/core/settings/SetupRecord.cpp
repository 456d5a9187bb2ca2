// Field-by-field encoding of the settings record; one table of offsets serves reading and writing.
#include "core/settings/SetupRecord.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <span>
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

// Reads up to bytes.size() bytes from the start of a regular file; the count read, or -1.
long ReadHead(const std::filesystem::path& path, std::span<std::uint8_t> bytes) {
  // Non-blocking, so that a FIFO named setup.cfg cannot stall the dialog; it is then refused as not regular.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  long total = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? 0 : -1;
  while (total >= 0 && static_cast<std::size_t>(total) < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + total, bytes.size() - static_cast<std::size_t>(total));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      total = n < 0 ? -1 : total;
      break;
    }
    total += n;
  }
  ::close(fd);
  return total;
}

}  // namespace

static_assert(std::endian::native == std::endian::little, "the record is stored little-endian");

SetupRecord MakeDefaultRecord(std::int16_t zoneQuarterHours, bool hd) {
  SetupRecord r;
  StoreNarrowText(r.szProductName, u"VX-880QN");
  StoreNarrowText(r.szFWVersion, u"V1.0.0");
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

std::u16string NarrowFieldText(const std::array<char, kTextFieldLength>& field) {
  std::u16string text;
  for (const char c : field) {
    if (c == 0) break;
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return text;
}

std::u16string WideFieldText(const std::array<char16_t, kTextFieldLength>& field) {
  return std::u16string(field.data(), std::find(field.begin(), field.end(), u'\0'));
}

bool FitsNarrowField(std::u16string_view text) {
  return text.size() <= kTextFieldLength && std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

bool FitsWideField(std::u16string_view text) { return text.size() <= kTextFieldLength; }

bool StoreNarrowText(std::array<char, kTextFieldLength>& field, std::u16string_view text) {
  if (!FitsNarrowField(text)) return false;
  field.fill(0);
  std::transform(text.begin(), text.end(), field.begin(),
                 [](char16_t c) { return static_cast<char>(static_cast<unsigned char>(c)); });
  return true;
}

void StoreWideText(std::array<char16_t, kTextFieldLength>& field, std::u16string_view text) {
  std::size_t length = std::min(text.size(), field.size());
  const bool splitsPair = length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF;
  if (splitsPair) --length;
  field.fill(0);
  std::copy_n(text.begin(), length, field.begin());
}

std::optional<SetupRecord> ReadSetupRecord(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  RecordBytes bytes{};
  if (ReadHead(std::filesystem::path(folder) / kSetupFileName, bytes) != static_cast<long>(bytes.size())) {
    return std::nullopt;
  }
  return DecodeSetupRecord(bytes);
}

FileWriteResult WriteSetupRecord(const std::string& folder, const SetupRecord& record) {
  std::array<std::uint8_t, kSetupFileSize> file{};
  const RecordBytes bytes = EncodeSetupRecord(record);
  std::copy(bytes.begin(), bytes.end(), file.begin());
  const std::uint32_t crc = SetupRecordCrc(bytes);
  std::memcpy(file.data() + kSetupRecordSize, &crc, sizeof crc);
  return ReplaceFileHead(std::filesystem::path(folder) / kSetupFileName, file);
}

}  // namespace vx
