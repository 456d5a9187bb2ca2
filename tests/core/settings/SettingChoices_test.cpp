// How a record shows on the settings dialog's controls and what SAVE makes of them.
#include "core/settings/SettingChoices.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

const ZoneTime kSaveTime{2024, 2, 29, 23, 59, 58};

SetupRecord Collect(const SetupRecord& kept, const SettingChoices& choices, std::int16_t zone = 36) {
  const auto record = CollectRecord(kept, choices, zone, kSaveTime);
  EXPECT_TRUE(record.has_value());
  return record.value_or(kept);
}

TEST(SettingChoices, DefaultsShowAsTheDialogStarts) {
  const SettingChoices c = ChoicesFromRecord(MakeDefaultRecord(36));
  EXPECT_EQ(c.drive, (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(c.frontMbps, 2);
  EXPECT_EQ(c.mic, kNotUse);
  EXPECT_EQ(c.parkingSDUsage, kNotUse);
  EXPECT_EQ(c.buzzer, kUse);
  EXPECT_EQ(c.hdVga, kVga);
  EXPECT_EQ(CutOffText(c.cutOffPos), "12.000 V");
}

TEST(SettingChoices, ImpulseSlidersStoreOneHundredMinusTheirPosition) {
  SettingChoices c = ChoicesFromRecord(MakeDefaultRecord(0));
  for (const auto& [position, stored] : {std::pair{0, 100}, {70, 30}, {90, 10}}) {
    c.parking = {position, position, position};
    const SetupRecord r = Collect(MakeDefaultRecord(0), c);
    EXPECT_EQ(r.wParkingFB, stored);
    EXPECT_EQ(r.wParkingLR, stored);
    EXPECT_EQ(r.wParkingTB, stored);
    EXPECT_EQ(ChoicesFromRecord(r).parking[2], position);
  }
}

TEST(SettingChoices, AVgaRecordShowsVgaAndSavesAsHd) {
  SetupRecord vga = MakeDefaultRecord(0);
  vga.wVideoModeA = 10;
  vga.wVideoModeB = 10;
  const SettingChoices c = ChoicesFromRecord(vga);
  EXPECT_EQ(c.hdVga, kVga);
  const SetupRecord saved = Collect(vga, c);
  EXPECT_EQ(saved.wVideoModeA, 5);
  EXPECT_EQ(saved.wVideoModeB, 15);
  EXPECT_EQ(ChoicesFromRecord(saved).hdVga, kHd);
  vga.wVideoModeB = 15;
  EXPECT_EQ(ChoicesFromRecord(vga).hdVga, kHd) << "either value of the pair makes HD";
  EXPECT_EQ(VgaBitrateCap(4), 4);
  EXPECT_EQ(VgaBitrateCap(2), 6);
}

TEST(SettingChoices, SharesFollowParkingSdUsage) {
  SettingChoices c = ChoicesFromRecord(MakeDefaultRecord(0));
  c.parkingSDUsage = kUse;
  SetupRecord r = Collect(MakeDefaultRecord(0), c);
  EXPECT_EQ((std::array{r.dwShare1, r.dwShare2, r.dwShare3}), (std::array<std::uint32_t, 3>{375, 375, 250}));
  EXPECT_EQ(r.bParkingSDUsage, 1);
  c.parkingSDUsage = kNotUse;
  r = Collect(r, c);
  EXPECT_EQ((std::array{r.dwShare1, r.dwShare2, r.dwShare3}), (std::array<std::uint32_t, 3>{750, 0, 250}));
  EXPECT_EQ(r.bParkingSDUsage, 0);
}

TEST(SettingChoices, ChannelCountAndTimeSetOnceOneStayOne) {
  SettingChoices c = ChoicesFromRecord(MakeDefaultRecord(0));
  c.rearCamera = kNotUse;
  c.timeSetUse = true;
  SetupRecord r = Collect(MakeDefaultRecord(0), c);
  EXPECT_EQ(r.dwChannelCount, 1u);
  EXPECT_EQ(r.bRearCamera, 0);
  EXPECT_EQ(r.bTimeSet, 1);
  c.rearCamera = kUse;
  c.timeSetUse = false;
  r = Collect(r, c);
  EXPECT_EQ(r.dwChannelCount, 1u);
  EXPECT_EQ(r.bRearCamera, 1);
  EXPECT_EQ(r.bTimeSet, 1);
}

TEST(SettingChoices, SummerTimeAddsFourToTheZonesBaseOnlyOnce) {
  SettingChoices c = ChoicesFromRecord(MakeDefaultRecord(0));
  c.summerTime = true;
  SetupRecord r = Collect(MakeDefaultRecord(0), c, 23);  // UTC+5:45
  EXPECT_EQ(r.nTimeZone, 27);
  r = Collect(r, c, 23);
  EXPECT_EQ(r.nTimeZone, 27) << "a second save does not add 4 again";
  c.summerTime = false;
  EXPECT_EQ(Collect(r, c, 23).nTimeZone, 23);
  EXPECT_EQ((std::array{r.wYear, r.wMonth, r.wDay, r.wHour, r.wMinute, r.wSecond}),
            (std::array<std::uint16_t, 6>{2024, 2, 29, 23, 59, 58}));
}

TEST(SettingChoices, CutOffOutsideItsRangeShowsElevenEightAndIsSavedSo) {
  SetupRecord r = MakeDefaultRecord(0);
  for (const std::uint32_t outside : {0u, 9999u, 13001u, 0xFFFFFFFFu}) {
    r.dwCutOffVoltage = outside;
    const SettingChoices c = ChoicesFromRecord(r);
    EXPECT_EQ(CutOffText(c.cutOffPos), "11.800 V") << outside;
    EXPECT_EQ(Collect(r, c).dwCutOffVoltage, 11800u);
  }
  r.dwCutOffVoltage = 13000;
  EXPECT_EQ(CutOffText(ChoicesFromRecord(r).cutOffPos), "13.000 V");
  EXPECT_EQ(CutOffPosition(10000), 0);
}

TEST(SettingChoices, AnUnknownSpeedUnitIsKeptUntilTheUserPicksOne) {
  SetupRecord r = MakeDefaultRecord(0);
  r.bSpeedUnit = 7;
  SettingChoices c = ChoicesFromRecord(r);
  EXPECT_EQ(c.speedUnit, kNoChoice);
  EXPECT_EQ(Collect(r, c).bSpeedUnit, 7);
  c.speedUnit = 1;
  EXPECT_EQ(Collect(r, c).bSpeedUnit, 1);
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
  EXPECT_EQ(r.dwRomCount, 0xFFFFFFFFu);
  EXPECT_EQ(r.dwDevParam7, 77u);
  EXPECT_EQ(EncodeSetupRecord(r)[300], 0x5A);
  EXPECT_EQ(WideFieldText(r.wszCompany), u"Norvane");
  EXPECT_EQ(RomCountText(r.dwRomCount), "4294967295");

  c.serialNumber = u"SN-\u20AC";  // the euro sign has no single byte
  EXPECT_FALSE(CollectRecord(card, c, 0, kSaveTime).has_value());
}

}  // namespace
}  // namespace vx
