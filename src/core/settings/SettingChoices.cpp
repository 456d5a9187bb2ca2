// The settings record on the dialog's controls and back.
#include "core/settings/SettingChoices.h"

#include <algorithm>
#include <cstdio>

namespace vx {
namespace {

constexpr int kImpulseScale = 100;
constexpr std::uint32_t kBitsPerMbit = 1000000;
constexpr std::uint16_t kHdModeA = 5;
constexpr std::uint16_t kHdModeB = 15;
constexpr std::int16_t kSummerTimeQuarterHours = 4;

int ImpulsePosition(std::uint16_t stored) { return std::clamp(kImpulseScale - stored, 0, kImpulseMaxPosition); }

std::uint16_t ImpulseValue(int position) {
  return static_cast<std::uint16_t>(kImpulseScale - std::clamp(position, 0, kImpulseMaxPosition));
}

int UseIndex(unsigned value) { return value != 0 ? kUse : kNotUse; }

int ClampMbps(long long mbps) { return static_cast<int>(std::clamp<long long>(mbps, kBitrateMinMbps, kBitrateMaxMbps)); }

template <typename T>
T UseFlag(int index) {
  return static_cast<T>(index == kUse ? 1 : 0);
}

}  // namespace

SettingChoices ChoicesFromRecord(const SetupRecord& r) {
  SettingChoices c;
  c.drive = {ImpulsePosition(r.wDriveFB), ImpulsePosition(r.wDriveLR), ImpulsePosition(r.wDriveTB)};
  c.parking = {ImpulsePosition(r.wParkingFB), ImpulsePosition(r.wParkingLR), ImpulsePosition(r.wParkingTB)};
  c.frontMbps = ClampMbps(r.dwFrontBitrate / kBitsPerMbit);
  c.rearMbps = ClampMbps(r.dwRearBitrate / kBitsPerMbit);
  c.recordSound = UseIndex(r.wRecordSound);
  c.buzzer = UseIndex(r.bBuzzer);
  c.parkingSDUsage = UseIndex(r.bParkingSDUsage);
  c.mic = UseIndex(r.bMic);
  c.voice = UseIndex(r.bVoice);
  c.rearCamera = UseIndex(r.bRearCamera);
  c.speedUnit = r.bSpeedUnit <= 1 ? r.bSpeedUnit : kNoChoice;
  c.hdVga = r.wVideoModeA == kHdModeA || r.wVideoModeB == kHdModeB ? kHd : kVga;
  c.cutOffPos = CutOffPosition(r.dwCutOffVoltage);
  c.serialNumber = NarrowFieldText(r.szSerialNumber);
  c.company = WideFieldText(r.wszCompany);
  c.carLicence = WideFieldText(r.wszCarLicence);
  return c;
}

std::optional<SetupRecord> CollectRecord(const SetupRecord& kept, const SettingChoices& c,
                                         std::int16_t zoneQuarterHours, const ZoneTime& time) {
  SetupRecord r = kept;
  if (!StoreNarrowText(r.szSerialNumber, c.serialNumber)) return std::nullopt;
  StoreWideText(r.wszCompany, c.company);
  StoreWideText(r.wszCarLicence, c.carLicence);
  r.wDriveFB = ImpulseValue(c.drive[0]);
  r.wDriveLR = ImpulseValue(c.drive[1]);
  r.wDriveTB = ImpulseValue(c.drive[2]);
  r.wParkingFB = ImpulseValue(c.parking[0]);
  r.wParkingLR = ImpulseValue(c.parking[1]);
  r.wParkingTB = ImpulseValue(c.parking[2]);
  r.dwFrontBitrate = static_cast<std::uint32_t>(ClampMbps(c.frontMbps)) * kBitsPerMbit;
  r.dwRearBitrate = static_cast<std::uint32_t>(ClampMbps(c.rearMbps)) * kBitsPerMbit;
  if (c.timeSetUse) r.bTimeSet = 1;
  r.nTimeZone = static_cast<std::int16_t>(zoneQuarterHours + (c.summerTime ? kSummerTimeQuarterHours : 0));
  r.wYear = static_cast<std::uint16_t>(time.year);
  r.wMonth = static_cast<std::uint16_t>(time.month);
  r.wDay = static_cast<std::uint16_t>(time.day);
  r.wHour = static_cast<std::uint16_t>(time.hour);
  r.wMinute = static_cast<std::uint16_t>(time.minute);
  r.wSecond = static_cast<std::uint16_t>(time.second);
  r.wRecordSound = UseFlag<std::uint16_t>(c.recordSound);
  r.bBuzzer = UseFlag<std::uint8_t>(c.buzzer);
  r.bParkingSDUsage = UseFlag<std::uint8_t>(c.parkingSDUsage);
  r.bMic = UseFlag<std::uint8_t>(c.mic);
  r.bVoice = UseFlag<std::uint8_t>(c.voice);
  r.bRearCamera = UseFlag<std::uint8_t>(c.rearCamera);
  if (c.speedUnit != kNoChoice) r.bSpeedUnit = static_cast<std::uint8_t>(c.speedUnit);
  if (c.rearCamera == kNotUse) r.dwChannelCount = 1;
  r.wVideoModeA = kHdModeA;
  r.wVideoModeB = kHdModeB;
  const bool parkingShare = c.parkingSDUsage == kUse;
  r.dwShare1 = parkingShare ? 375 : 750;
  r.dwShare2 = parkingShare ? 375 : 0;
  r.dwShare3 = 250;
  r.dwCutOffVoltage = static_cast<std::uint32_t>(kCutOffBaseMillivolts + std::clamp(c.cutOffPos, 0, kCutOffMaxPosition));
  return r;
}

int VgaBitrateCap(int otherMbps) { return 8 - otherMbps; }

int CutOffPosition(std::uint32_t millivolts) {
  const bool inRange = millivolts >= kCutOffBaseMillivolts && millivolts <= kCutOffBaseMillivolts + kCutOffMaxPosition;
  return inRange ? static_cast<int>(millivolts) - kCutOffBaseMillivolts : kCutOffFallbackPosition;
}

std::string CutOffText(int position) {
  const int millivolts = kCutOffBaseMillivolts + position;
  char text[32];
  std::snprintf(text, sizeof text, "%d.%03d V", millivolts / 1000, millivolts % 1000);
  return text;
}

std::string RomCountText(std::uint32_t romCount) { return std::to_string(romCount); }

}  // namespace vx
