// The camera's settings file "setup.cfg": a 420-byte little-endian record followed by its CRC-32.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vx {

inline constexpr std::size_t kSetupRecordSize = 420;
inline constexpr std::size_t kSetupFileSize = 424;
inline constexpr const char* kSetupFileName = "setup.cfg";

struct SetupRecord {
  std::uint32_t dwRomCount = 0;
  std::array<char, 32> szProductName{};
  std::array<char, 32> szSerialNumber{};
  std::array<char, 32> szFWVersion{};
  std::array<char16_t, 32> wszCompany{};
  std::array<char16_t, 32> wszCarLicence{};
  std::uint16_t wDriveFB = 0, wDriveLR = 0, wDriveTB = 0;
  std::int16_t nTimeZone = 0;  // quarter hours east of UTC, +4 with summer time
  std::uint8_t bBuzzer = 0, bMic = 0, bVoice = 0, bRearCamera = 0;
  std::uint32_t dwChannelCount = 0, dwDevParam1 = 0, dwDevParam2 = 0, dwDevParam3 = 0;
  std::uint32_t dwFrontBitrate = 0, dwRearBitrate = 0, dwDevParam4 = 0, dwDevParam5 = 0;
  std::uint16_t wVideoModeA = 0, wVideoModeB = 0, wDevParam6 = 0;
  std::uint32_t dwDevParam7 = 0, dwDevParam8 = 0;
  std::uint16_t wDevParam9 = 0, wDevParam10 = 0;
  std::uint32_t dwDevParam11 = 0;
  std::uint16_t wRecordSound = 0;
  std::uint32_t dwShare1 = 0, dwShare2 = 0, dwShare3 = 0;
  std::uint8_t bParkingSDUsage = 0, bTimeSet = 0, bSpeedUnit = 0;
  std::uint16_t wParkingFB = 0, wParkingLR = 0, wParkingTB = 0;
  std::uint16_t wYear = 0, wMonth = 0, wDay = 0, wHour = 0, wMinute = 0, wSecond = 0;
  std::uint32_t dwCutOffVoltage = 0;
  // Bytes the dialog never shows (reserved ones included) travel here untouched.
  std::array<std::uint8_t, kSetupRecordSize> raw{};
};

// The record a camera starts with; `zoneQuarterHours` is the computer's (or the camera's) zone.
SetupRecord MakeDefaultRecord(std::int16_t zoneQuarterHours, bool hd = false);

std::array<std::uint8_t, kSetupRecordSize> EncodeSetupRecord(const SetupRecord& record);
SetupRecord DecodeSetupRecord(const std::array<std::uint8_t, kSetupRecordSize>& bytes);
std::uint32_t SetupRecordCrc(const std::array<std::uint8_t, kSetupRecordSize>& bytes);

// Reads folder/setup.cfg; nothing when it is missing, read-only, unreadable or shorter than 420 bytes.
std::optional<SetupRecord> ReadSetupRecord(const std::string& folder);
// Writes the 424 bytes (record and CRC) to folder/setup.cfg; false when the file cannot be written.
bool WriteSetupRecord(const std::string& folder, const SetupRecord& record);

}  // namespace vx
