// The camera's settings file "setup.cfg": a 420-byte little-endian record followed by its CRC-32.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/SafeFileReplace.h"

namespace vx {

inline constexpr std::size_t kSetupRecordSize = 420;
inline constexpr std::size_t kSetupFileSize = 424;
inline constexpr const char* kSetupFileName = "setup.cfg";
// Characters (single-byte fields) or UTF-16 units (wide fields) of each text field.
inline constexpr std::size_t kTextFieldLength = 32;

struct SetupRecord {
  std::uint32_t dwRomCount = 0;
  std::array<char, kTextFieldLength> szProductName{};
  std::array<char, kTextFieldLength> szSerialNumber{};
  std::array<char, kTextFieldLength> szFWVersion{};
  std::array<char16_t, kTextFieldLength> wszCompany{};
  std::array<char16_t, kTextFieldLength> wszCarLicence{};
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

// Texts of the record: a single-byte field holds character codes 0 to 255, a wide field UTF-16 units; both end
// at their first zero, or at the field's end when the text fills it.
std::u16string NarrowFieldText(const std::array<char, kTextFieldLength>& field);
std::u16string WideFieldText(const std::array<char16_t, kTextFieldLength>& field);
// Whether text can stand in a single-byte field: at most 32 characters, each of code 255 or less.
bool FitsNarrowField(std::u16string_view text);
// Whether text can stand in a wide field: at most 32 units.
bool FitsWideField(std::u16string_view text);
// Stores text zero-filled; false, with the field unchanged, when the text does not fit.
bool StoreNarrowText(std::array<char, kTextFieldLength>& field, std::u16string_view text);
// Stores the first 32 units zero-filled, dropping a surrogate pair that the field's end would split.
void StoreWideText(std::array<char16_t, kTextFieldLength>& field, std::u16string_view text);

// Reads folder/setup.cfg for reading only (a write-protected card still shows its settings), taking at most
// its first 420 bytes; nothing when it is missing, unreadable, not a regular file or shorter than 420 bytes.
std::optional<SetupRecord> ReadSetupRecord(const std::string& folder);
// Writes the record and its CRC as the first 424 bytes of folder/setup.cfg, keeping whatever the old file
// held beyond them; the old file stays whole until the new one is complete (ReplaceFileHead).
FileWriteResult WriteSetupRecord(const std::string& folder, const SetupRecord& record);

}  // namespace vx
