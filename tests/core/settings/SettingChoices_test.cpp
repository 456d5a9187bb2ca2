// How a record shows on the settings dialog's controls and what SAVE makes of them.
#include "core/settings/SettingChoices.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

const ZoneTime kSaveTime{};

SetupRecord Collect(const SetupRecord& kept, const SettingChoices& choices, std::int16_t zone = 36) {
  const auto record = CollectRecord(kept, choices, zone, kSaveTime);
  EXPECT_TRUE(record.has_value());
  return record.value_or(kept);
}

TEST(SettingChoices, FlagsAndImpulsesShowAsStoredAndSaveBack) {
  SettingChoices c = ChoicesFromRecord(MakeDefaultRecord(0));
  EXPECT_EQ(c.mic, kNotUse) << "a stored 0";
  EXPECT_EQ(c.buzzer, kUse) << "a stored 1";
  EXPECT_EQ(c.drive, (std::array<int, 3>{0, 0, 0})) << "a stored 100";
  c.parking = {0, 70, 90};
  c.parkingSDUsage = kUse;
  SetupRecord r = Collect(MakeDefaultRecord(0), c);
  EXPECT_EQ((std::array{r.wParkingFB, r.wParkingLR, r.wParkingTB}), (std::array<std::uint16_t, 3>{100, 30, 10}));
  // Parking recordings get a share of the card only while parking SD usage is on.
  EXPECT_EQ(r.bParkingSDUsage, 1);
  EXPECT_EQ((std::array{r.dwShare1, r.dwShare2, r.dwShare3}), (std::array<std::uint32_t, 3>{375, 375, 250}));
  c.parkingSDUsage = kNotUse;
  r = Collect(r, c);
  EXPECT_EQ(r.bParkingSDUsage, 0);
  EXPECT_EQ((std::array{r.dwShare1, r.dwShare2, r.dwShare3}), (std::array<std::uint32_t, 3>{750, 0, 250}));
}

TEST(SettingChoices, AVgaRecordShowsVgaAndSavesAsHd) {
  SetupRecord vga = MakeDefaultRecord(0);
  vga.wVideoModeA = vga.wVideoModeB = 10;
  const SettingChoices c = ChoicesFromRecord(vga);
  EXPECT_EQ(c.hdVga, kVga);
  const SetupRecord saved = Collect(vga, c);
  EXPECT_EQ((std::array{saved.wVideoModeA, saved.wVideoModeB}), (std::array<std::uint16_t, 2>{5, 15}));
  vga.wVideoModeB = 15;
  EXPECT_EQ(ChoicesFromRecord(vga).hdVga, kHd) << "either value of the pair makes HD";
}

// Channel count and time set, once 1, stay 1; an unknown speed unit is kept until the user picks one.
TEST(SettingChoices, SomeFieldsKeepWhatTheCardHeld) {
  const auto kept = [](const SetupRecord& r) {
    return std::array<unsigned, 4>{r.dwChannelCount, r.bRearCamera, r.bTimeSet, r.bSpeedUnit};
  };
  SetupRecord r = MakeDefaultRecord(0);
  r.bSpeedUnit = 7;
  SettingChoices c = ChoicesFromRecord(r);
  EXPECT_EQ(c.speedUnit, kNoChoice);
  c.rearCamera = kNotUse;
  c.timeSetUse = true;
  r = Collect(r, c);
  EXPECT_EQ(kept(r), (std::array<unsigned, 4>{1, 0, 1, 7}));
  c.rearCamera = kUse;
  c.timeSetUse = false;
  c.speedUnit = 1;
  EXPECT_EQ(kept(Collect(r, c)), (std::array<unsigned, 4>{1, 1, 1, 1}));
}

// One record saved again and again with summer time on: four quarter hours are added to the zone's base, never
// to the saved zone, and a cut-off outside 10 to 13 V shows and saves as 11.8 V.
TEST(SettingChoices, SavesAddSummerTimeOnceAndHoldTheCutOffInItsRange) {
  SetupRecord r = MakeDefaultRecord(0);
  SettingChoices c = ChoicesFromRecord(r);
  c.summerTime = true;
  for (const auto& [stored, shown, saved] :
       {std::tuple{0u, "11.800 V", 11800u}, {9999u, "11.800 V", 11800u}, {10000u, "10.000 V", 10000u},
        {13000u, "13.000 V", 13000u}, {13001u, "11.800 V", 11800u}, {0xFFFFFFFFu, "11.800 V", 11800u}}) {
    r.dwCutOffVoltage = stored;
    c.cutOffPos = ChoicesFromRecord(r).cutOffPos;
    EXPECT_EQ(CutOffText(c.cutOffPos), shown) << stored;
    r = Collect(r, c, 23);  // UTC+5:45
    EXPECT_EQ(std::pair(r.dwCutOffVoltage, r.nTimeZone), std::pair(saved, std::int16_t{27})) << stored;
  }
  c.summerTime = false;
  EXPECT_EQ(Collect(r, c, 23).nTimeZone, 23);
}

TEST(SettingChoices, DeviceValuesComeFromTheKeptRecordAndTextsFromTheControls) {
  SetupRecord card = MakeDefaultRecord(0);
  card.dwRomCount = 0xFFFFFFFF;
  card.dwDevParam7 = 77;
  card.raw[300] = 0x5A;  // reserved
  SettingChoices c = ChoicesFromRecord(card);
  c.company = u"Norvane";
  c.serialNumber = u"SN-\u00E9";
  const SetupRecord r = Collect(card, c);
  EXPECT_EQ(std::tuple(r.dwRomCount, r.dwDevParam7, EncodeSetupRecord(r)[300], WideFieldText(r.wszCompany)),
            std::tuple(0xFFFFFFFFu, 77u, std::uint8_t{0x5A}, std::u16string(u"Norvane")));

  c.serialNumber = u"SN-\u20AC";  // the euro sign has no single byte
  EXPECT_FALSE(CollectRecord(card, c, 0, kSaveTime).has_value());
}

}  // namespace
}  // namespace vx
