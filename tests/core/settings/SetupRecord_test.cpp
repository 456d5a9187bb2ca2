// The settings record byte by byte, its defaults and texts, and setup.cfg on disk: sizes, CRC, tails, safety.
#include "core/settings/SetupRecord.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "ReadOnlyFolder.h"
#include "ToolRunner.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using RecordBytes = std::array<std::uint8_t, kSetupRecordSize>;

// One numeric field: its offset and size in the camera's file, and how to set it in the struct.
struct NumberField {
  std::size_t offset;
  std::size_t size;
  void (*set)(SetupRecord&, std::uint32_t);
};

#define FIELD(member, offset, size) \
  NumberField { offset, size, [](SetupRecord& r, std::uint32_t v) { r.member = static_cast<decltype(r.member)>(v); } }

const NumberField kFields[] = {
    FIELD(dwRomCount, 0, 4),        FIELD(wDriveFB, 228, 2),         FIELD(wDriveLR, 230, 2),
    FIELD(wDriveTB, 232, 2),        FIELD(nTimeZone, 234, 2),        FIELD(bBuzzer, 236, 1),
    FIELD(bMic, 237, 1),            FIELD(bVoice, 238, 1),           FIELD(bRearCamera, 239, 1),
    FIELD(dwChannelCount, 240, 4),  FIELD(dwDevParam1, 244, 4),      FIELD(dwDevParam2, 248, 4),
    FIELD(dwDevParam3, 252, 4),     FIELD(dwFrontBitrate, 256, 4),   FIELD(dwRearBitrate, 260, 4),
    FIELD(dwDevParam4, 264, 4),     FIELD(dwDevParam5, 268, 4),      FIELD(wVideoModeA, 272, 2),
    FIELD(wVideoModeB, 274, 2),     FIELD(wDevParam6, 276, 2),       FIELD(dwDevParam7, 280, 4),
    FIELD(dwDevParam8, 284, 4),     FIELD(wDevParam9, 288, 2),       FIELD(wDevParam10, 290, 2),
    FIELD(dwDevParam11, 292, 4),    FIELD(wRecordSound, 296, 2),     FIELD(dwShare1, 320, 4),
    FIELD(dwShare2, 324, 4),        FIELD(dwShare3, 328, 4),         FIELD(bParkingSDUsage, 332, 1),
    FIELD(bTimeSet, 333, 1),        FIELD(bSpeedUnit, 334, 1),       FIELD(wParkingFB, 336, 2),
    FIELD(wParkingLR, 338, 2),      FIELD(wParkingTB, 340, 2),       FIELD(wYear, 342, 2),
    FIELD(wMonth, 344, 2),          FIELD(wDay, 346, 2),             FIELD(wHour, 348, 2),
    FIELD(wMinute, 350, 2),         FIELD(wSecond, 352, 2),          FIELD(dwCutOffVoltage, 356, 4),
};
#undef FIELD

void PutLittleEndian(RecordBytes& bytes, std::size_t offset, std::size_t size, std::uint32_t value) {
  for (std::size_t k = 0; k < size; ++k) bytes[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

// Each field gets a value filling its size that no other field shares, so that a member narrower than the
// file's field, or two fields overlapping, changes the bytes. Decoding is checked through encoding again: the
// fields are written over the kept raw bytes, so a field decoded wrongly comes back wrong.
TEST(SetupRecordLayout, EveryFieldSitsAtItsOffsetInBothDirections) {
  SetupRecord record;
  RecordBytes expected{};
  for (const NumberField& field : kFields) {
    const std::uint32_t value = (0x9A000000u + static_cast<std::uint32_t>(field.offset) * 0x10101u) &
                                (field.size == 4 ? ~0u : (1u << (8 * field.size)) - 1);
    field.set(record, value);
    PutLittleEndian(expected, field.offset, field.size, value);
  }
  for (std::size_t i = 0; i < kTextFieldLength; ++i) {
    record.szSerialNumber[i] = static_cast<char>('a' + i % 26);
    record.wszCarLicence[i] = static_cast<char16_t>(0x3040 + i);
    expected[36 + i] = static_cast<std::uint8_t>('a' + i % 26);
    PutLittleEndian(expected, 164 + 2 * i, 2, 0x3040 + static_cast<std::uint32_t>(i));
  }
  StoreNarrowText(record.szProductName, u"P");
  StoreNarrowText(record.szFWVersion, u"F");
  StoreWideText(record.wszCompany, u"C");
  expected[4] = 'P';
  expected[68] = 'F';
  expected[100] = 'C';
  EXPECT_EQ(EncodeSetupRecord(record), expected);
  EXPECT_EQ(EncodeSetupRecord(DecodeSetupRecord(expected)), expected);
}

TEST(SetupRecordTexts, FieldsEndAtTheirFirstZeroOrTheirEndAndSingleByteFieldsRefuseWiderCodes) {
  SetupRecord record;
  StoreWideText(record.wszCompany, u"ABCDEF");
  StoreWideText(record.wszCompany, u"AB");
  EXPECT_EQ(WideFieldText(DecodeSetupRecord(EncodeSetupRecord(record)).wszCompany), u"AB");

  const std::u16string full(32, u'회');
  StoreWideText(record.wszCompany, full);
  const RecordBytes bytes = EncodeSetupRecord(record);
  EXPECT_NE(bytes[162] | bytes[163], 0) << "a full field has no terminator";
  EXPECT_EQ(WideFieldText(DecodeSetupRecord(bytes).wszCompany), full);

  // 31 units and a surrogate pair: the pair would be split by the field's end, so it is left out whole.
  const std::u16string withPair = std::u16string(31, u'x') + u"\U0001F697";
  StoreWideText(record.wszCarLicence, withPair);
  EXPECT_EQ(WideFieldText(record.wszCarLicence), std::u16string(31, u'x'));
  EXPECT_FALSE(FitsWideField(withPair));

  // Single-byte fields hold codes up to 255 and refuse others.
  RecordBytes serialBytes{};
  serialBytes[36] = 0xE9;
  serialBytes[37] = 'X';
  record = DecodeSetupRecord(serialBytes);
  const std::u16string serial = NarrowFieldText(record.szSerialNumber);
  EXPECT_EQ(serial, u"\u00E9X");
  ASSERT_TRUE(StoreNarrowText(record.szSerialNumber, serial));
  EXPECT_EQ(EncodeSetupRecord(record)[36], 0xE9);

  EXPECT_FALSE(StoreNarrowText(record.szSerialNumber, u"\u0100"));  // would have been stored as 0x00
  EXPECT_FALSE(StoreNarrowText(record.szSerialNumber, std::u16string(33, u'1')));
  EXPECT_EQ(NarrowFieldText(record.szSerialNumber), serial) << "a refused text leaves the field as it was";
  EXPECT_TRUE(StoreNarrowText(record.szSerialNumber, std::u16string(32, u'1')));
  EXPECT_EQ(NarrowFieldText(record.szSerialNumber).size(), 32u);
}

class SetupFile : public ::testing::Test {
 protected:
  fs::path File() const { return m_dir / kSetupFileName; }
  std::string Folder() const { return m_dir.string() + "/"; }
  void WriteBytes(const std::string& bytes) const { std::ofstream(File(), std::ios::binary) << bytes; }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir)) names.push_back(entry.path().filename());
    return names;
  }
  const test::TempDir m_temp{"setup"};
  const fs::path m_dir = m_temp.Path();
};

TEST_F(SetupFile, FourHundredTwentyReadableBytesAreARecordAndFewerAreNot) {
  EXPECT_FALSE(ReadSetupRecord(Folder()).has_value()) << "no file";
  EXPECT_FALSE(ReadSetupRecord("").has_value()) << "no folder";
  ASSERT_EQ(::mkfifo(File().c_str(), 0600), 0);
  EXPECT_FALSE(ReadSetupRecord(Folder()).has_value()) << "a FIFO is refused without waiting";
  EXPECT_FALSE(WriteSetupRecord(Folder(), MakeDefaultRecord(0)));
  fs::remove(File());
  WriteBytes(std::string(419, '\x07'));
  EXPECT_FALSE(ReadSetupRecord(Folder()).has_value());
  WriteBytes(std::string(420, '\x07'));
  const test::ReadOnlyFolder writeProtected(m_dir);  // a write-protected card still shows its settings
  ASSERT_EQ(writeProtected.Error(), "");
  const auto record = ReadSetupRecord(Folder());
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->dwRomCount, 0x07070707u);
}

TEST_F(SetupFile, AGigabyteFileIsReadInBoundedMemory) {
  std::ofstream(File(), std::ios::binary).close();
  ASSERT_EQ(::truncate(File().c_str(), 1LL << 30), 0);
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  EXPECT_TRUE(ReadSetupRecord(Folder()).has_value());
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "peak resident memory grew by that many KiB";
}

TEST_F(SetupFile, ASaveIsTheRecordAndItsCrcAndKeepsALongerFilesTail) {
  const SetupRecord record = MakeDefaultRecord(36, true);
  ASSERT_TRUE(WriteSetupRecord(Folder(), record));
  std::string bytes = test::FileBytes(File());
  ASSERT_EQ(bytes.size(), kSetupFileSize);
  const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
  std::uint32_t stored = 0;
  std::memcpy(&stored, bytes.data() + 420, 4);
  EXPECT_EQ(stored, static_cast<std::uint32_t>(crc32(0, data, 420)));
  EXPECT_EQ(bytes.substr(0, 420), std::string(reinterpret_cast<const char*>(EncodeSetupRecord(record).data()), 420));

  const std::string tail = "firmware 2 keeps more here";
  WriteBytes(std::string(424, '\0') + tail);
  ASSERT_TRUE(WriteSetupRecord(Folder(), record));
  bytes = test::FileBytes(File());
  EXPECT_EQ(bytes.size(), kSetupFileSize + tail.size());
  EXPECT_EQ(bytes.substr(kSetupFileSize), tail);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{kSetupFileName}) << "no temporary file is left behind";
}

TEST_F(SetupFile, AFailedSaveSaysWhyAndLeavesNothing) {
  const std::string missing = (m_dir / "no-such-card").string() + "/";
  const FileWriteResult result = WriteSetupRecord(missing, MakeDefaultRecord(0));
  EXPECT_FALSE(result);
  EXPECT_EQ(result.Describe(), "creating the new copy: No such file or directory");

  fs::create_directory(File());  // a folder where the file should be
  EXPECT_FALSE(WriteSetupRecord(Folder(), MakeDefaultRecord(0)));
  EXPECT_TRUE(fs::is_directory(File()));
  EXPECT_EQ(FolderEntries().size(), 1u);
}

// A folder the saving user may write in but not read: the folder cannot be opened to flush the rename, so the
// save must fail before the rename instead of replacing the file and then reporting a failure.
TEST_F(SetupFile, ASaveIsReportedAsDoneExactlyWhenTheFileWasReplaced) {
  constexpr uid_t kNobody = 65534;
  const std::string old(kSetupFileSize, 'o');
  WriteBytes(old);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(m_dir.c_str(), kNobody, kNobody), 0);
  }
  // In a child process, which as root first becomes an ordinary user that permissions bind.
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) std::_Exit(2);
        ::chmod(m_dir.c_str(), 0300);
        const bool saved = static_cast<bool>(WriteSetupRecord(Folder(), MakeDefaultRecord(0)));
        ::chmod(m_dir.c_str(), 0700);
        const bool replaced = test::FileBytes(File()) != old;
        std::_Exit(saved == replaced && FolderEntries().size() == 1 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(SetupFile, OnlyTemporaryCopiesOlderThanAMinuteAreRemoved) {
  const auto now = fs::file_time_type::clock::now();
  const std::tuple<const char*, std::chrono::seconds, bool> files[] = {
      {"setup.cfg.tmp-812-4411-0", std::chrono::seconds(61), false},  // left by a killed save
      {"setup.cfg.tmp-813-4412-0", std::chrono::seconds(5), true},    // a save still running
      {"setup.cfg", std::chrono::hours(24), true},
      {"setup.cfg.bak", std::chrono::hours(24), true},
      {"other.cfg.tmp-812-4411-0", std::chrono::hours(24), true},
  };
  for (const auto& [name, age, stays] : files) {
    std::ofstream(m_dir / name) << "x";
    fs::last_write_time(m_dir / name, now - age);
  }
  fs::create_directory(m_dir / "setup.cfg.tmp-folder");
  fs::last_write_time(m_dir / "setup.cfg.tmp-folder", now - std::chrono::hours(24));
  RemoveStaleTemporaries(File());
  for (const auto& [name, age, stays] : files) EXPECT_EQ(fs::exists(m_dir / name), stays) << name;
  EXPECT_TRUE(fs::exists(m_dir / "setup.cfg.tmp-folder")) << "only files are removed";
}

}  // namespace
}  // namespace vx
