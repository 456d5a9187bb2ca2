// Reading and writing setup.cfg: sizes, CRC, full-width texts and the bytes the viewer does not know.
#include "core/settings/SetupRecord.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ReadOnlyFolder.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

class SetupFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("vx-setup-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }
  void WriteBytes(std::size_t n, std::uint8_t value) {
    std::ofstream(m_dir / kSetupFileName, std::ios::binary) << std::string(n, static_cast<char>(value));
  }
  std::vector<std::uint8_t> FileBytes() {
    std::ifstream in(m_dir / kSetupFileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path m_dir;
};

TEST_F(SetupFile, ShortFilesGiveNothingAndFourHundredTwentyBytesAreEnough) {
  EXPECT_FALSE(ReadSetupRecord(m_dir.string()).has_value());
  WriteBytes(419, 7);
  EXPECT_FALSE(ReadSetupRecord(m_dir.string()).has_value());
  WriteBytes(420, 7);
  const auto record = ReadSetupRecord(m_dir.string());
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->dwRomCount, 0x07070707u);
  EXPECT_FALSE(ReadSetupRecord("").has_value());
}

TEST_F(SetupFile, ReadOnlyFileIsNotTaken) {
  WriteBytes(424, 0);
  const test::ReadOnlyFolder card(m_dir);
  ASSERT_EQ(card.Error(), "");
  EXPECT_FALSE(ReadSetupRecord(m_dir.string()).has_value());
}

TEST_F(SetupFile, SavedFileIsRecordAndCrc) {
  SetupRecord record = MakeDefaultRecord(36, true);
  ASSERT_TRUE(WriteSetupRecord(m_dir.string(), record));
  const auto bytes = FileBytes();
  ASSERT_EQ(bytes.size(), kSetupFileSize);
  const auto crc = static_cast<std::uint32_t>(crc32(0, bytes.data(), 420));
  std::uint32_t stored = 0;
  std::memcpy(&stored, bytes.data() + 420, 4);
  EXPECT_EQ(stored, crc);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 4)), "VX-880QN");
  EXPECT_EQ(bytes[234], 36);   // nTimeZone, little-endian
  EXPECT_EQ(bytes[272], 5);    // HD video mode
  EXPECT_EQ(bytes[356] | (bytes[357] << 8), 12000 & 0xFFFF);
}

TEST_F(SetupFile, UnknownBytesAndFullWidthTextsSurviveARoundTrip) {
  std::array<std::uint8_t, kSetupRecordSize> raw{};
  for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i * 7 + 3);
  SetupRecord record = DecodeSetupRecord(raw);
  for (std::size_t i = 0; i < 32; ++i) record.wszCompany[i] = static_cast<char16_t>(u'가' + i);
  record.wDriveTB = 10;
  ASSERT_TRUE(WriteSetupRecord(m_dir.string(), record));
  const auto back = ReadSetupRecord(m_dir.string());
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->wszCompany, record.wszCompany);
  EXPECT_EQ(back->wDriveTB, 10);
  const auto bytes = EncodeSetupRecord(*back);
  for (std::size_t i : {278u, 300u, 319u, 335u, 354u, 360u, 419u}) EXPECT_EQ(bytes[i], raw[i]) << "offset " << i;
}

TEST(SetupRecordDefaults, MatchTheCamerasFactoryState) {
  const SetupRecord r = MakeDefaultRecord(-14);
  EXPECT_EQ(r.nTimeZone, -14);
  EXPECT_EQ(r.dwShare1 + r.dwShare2 + r.dwShare3, 1000u);
  EXPECT_EQ(r.wVideoModeA, 10);
  EXPECT_EQ(r.wVideoModeB, 10);
  EXPECT_EQ(r.dwChannelCount, 2u);
  EXPECT_EQ(r.wParkingTB, 100);
}

}  // namespace
}  // namespace vx
