// Tests of the profile-file reader and writer: lookups, encodings, limits and byte-exact saves.
#include "core/text/ProfileFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vx {
namespace {

std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

class ProfileFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = std::filesystem::temp_directory_path() /
             ("vx_profile_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ini");
    std::filesystem::remove(m_path);
  }
  void TearDown() override { std::filesystem::remove(m_path); }
  void Write(const std::string& bytes) const { std::ofstream(m_path, std::ios::binary) << bytes; }
  std::string Read() const {
    std::ifstream in(m_path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::filesystem::path m_path;
};

TEST(ProfileFile, FindsValuesTrimmedAndWithoutRegardToCase) {
  const ProfileFile file = ProfileFile::FromBytes(
      "; comment\r\n[Setting]\r\n  select =  2  \r\nQuoted=\" 1\"\r\nEmpty=\r\n[English]\r\nDate=Date=Time\r\n");
  EXPECT_EQ(file.GetString(u"SETTING", u"Select"), u"2");
  EXPECT_EQ(file.GetString(u"Setting", u"Quoted"), u" 1");
  EXPECT_EQ(file.GetString(u"Setting", u"Empty"), u"");
  EXPECT_EQ(file.GetString(u"English", u"Date"), u"Date=Time");
  EXPECT_EQ(file.GetString(u"English", u"Select"), u"") << "keys belong to their own section";
  EXPECT_EQ(file.GetString(u"Missing", u"Date"), u"");
}

TEST(ProfileFile, StrayCarriageReturnsDoNotJoinTheValue) {
  ProfileFile file = ProfileFile::FromBytes("[Setting\r\nSelect=1\r");
  file.SetString(u"Other", u"k", u"v");
  EXPECT_EQ(file.GetString(u"Setting", u"Select"), u"1");
  EXPECT_EQ(file.GetString(u"Other", u"k"), u"v");
}

TEST(ProfileFile, UsesTheFirstSectionAndKeyOfAName) {
  const ProfileFile file = ProfileFile::FromBytes("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\n");
  EXPECT_EQ(file.GetString(u"A", u"k"), u"1");
  EXPECT_EQ(file.GetString(u"B", u"k"), u"3");
}

TEST(ProfileFile, ReadsUtf8WithAndWithoutByteOrderMark) {
  EXPECT_EQ(ProfileFile::FromBytes("\xEF\xBB\xBF[한국어]\nDate=날짜\n").GetString(u"한국어", u"Date"), u"날짜");
  EXPECT_EQ(ProfileFile::FromBytes("[日本語]\nDate=日付\n").GetString(u"日本語", u"Date"), u"日付");
}

TEST(ProfileFile, ReadsUtf16LittleEndianWithByteOrderMark) {
  const ProfileFile file = ProfileFile::FromBytes(Utf16Le(u"[Setting]\r\nSelect=3\r\n[繁體中文]\r\nSize=大小\r\n"));
  EXPECT_EQ(file.GetString(u"Setting", u"Select"), u"3");
  EXPECT_EQ(file.GetString(u"繁體中文", u"Size"), u"大小");
}

TEST(ProfileFile, CutsLongValuesWithoutSplittingACharacter) {
  const std::string ascii(300, 'a');
  EXPECT_EQ(ProfileFile::FromBytes("[S]\nk=" + ascii + "\n").GetString(u"S", u"k").size(), 255u);
  // 254 letters then a character outside the basic plane: the pair does not fit and is left out whole.
  const std::string text = std::string(254, 'a') + "\xF0\x9F\x9A\x97";
  EXPECT_EQ(ProfileFile::FromBytes("[S]\nk=" + text + "\n").GetString(u"S", u"k"), std::u16string(254, u'a'));
}

TEST(ProfileFile, ReplacesOnlyTheValueAndKeepsEveryOtherByte) {
  const std::string before = "\xEF\xBB\xBF; texts\r\n[Setting]\r\nIndex=5\r\nSelect = 1 ; old\r\n\r\n[English]\r\nA=b\r\n";
  ProfileFile file = ProfileFile::FromBytes(before);
  file.SetString(u"Setting", u"Select", u"4");
  const std::string expected = "\xEF\xBB\xBF; texts\r\n[Setting]\r\nIndex=5\r\nSelect = 4\r\n\r\n[English]\r\nA=b\r\n";
  EXPECT_EQ(file.Bytes(), std::string(before).replace(before.find("1 ; old"), 7, "4"));
  EXPECT_EQ(file.Bytes(), expected);
}

TEST(ProfileFile, AddsMissingKeysAndSectionsWithTheFilesLineBreaks) {
  ProfileFile inSection = ProfileFile::FromBytes("[Setting]\nIndex=5\n\n[English]\nA=b");
  inSection.SetString(u"Setting", u"Select", u"0");
  EXPECT_EQ(inSection.Bytes(), "[Setting]\nIndex=5\nSelect=0\n\n[English]\nA=b");

  ProfileFile atEnd = ProfileFile::FromBytes("[English]\r\nA=b");
  atEnd.SetString(u"English", u"C", u"d");
  atEnd.SetString(u"Setting", u"Select", u"-1");
  EXPECT_EQ(atEnd.Bytes(), "[English]\r\nA=b\r\nC=d\r\n[Setting]\r\nSelect=-1\r\n");

  ProfileFile empty;
  empty.SetString(u"Setting", u"Select", u"2");
  EXPECT_EQ(empty.GetString(u"Setting", u"Select"), u"2");
}

TEST(ProfileFile, WritesUtf16FilesInUtf16) {
  ProfileFile file = ProfileFile::FromBytes(Utf16Le(u"[Setting]\r\nSelect=1\r\n[한국어]\r\nDate=날짜\r\n"));
  file.SetString(u"Setting", u"Select", u"12");
  EXPECT_EQ(file.Bytes(), Utf16Le(u"[Setting]\r\nSelect=12\r\n[한국어]\r\nDate=날짜\r\n"));
  file.SetString(u"Setting", u"Index", u"5");
  EXPECT_EQ(file.GetString(u"Setting", u"Index"), u"5");
  EXPECT_EQ(file.GetString(u"한국어", u"Date"), u"날짜");
}

TEST_F(ProfileFileOnDisk, MissingFileReadsEmptyAndIsCreatedByAWrite) {
  EXPECT_EQ(ReadProfileString(m_path, u"Setting", u"Select"), u"");
  ASSERT_TRUE(WriteProfileString(m_path, u"Setting", u"Select", u"1"));
  EXPECT_EQ(Read(), "[Setting]\r\nSelect=1\r\n");
}

TEST_F(ProfileFileOnDisk, SaveKeepsEveryByteButTheValue) {
  std::string original = Utf16Le(u"[Setting]\r\nIndex=5\r\nSelect=1\r\n[English]\r\nFileName=File name\r\n");
  original.push_back('\x00');  // a stray odd byte at the end stays where it is
  Write(original);
  ASSERT_TRUE(WriteProfileString(m_path, u"Setting", u"Select", u"3"));
  std::string expected = original;
  expected[original.find(Utf16Le(u"Select=").substr(2)) + 14] = '3';
  EXPECT_EQ(Read(), expected);
}

TEST_F(ProfileFileOnDisk, UnreadableFileIsNotOverwritten) {
  std::filesystem::create_directory(m_path);  // exists, but cannot be read as a file
  EXPECT_FALSE(WriteProfileString(m_path, u"Setting", u"Select", u"1"));
  EXPECT_TRUE(std::filesystem::is_directory(m_path));
  std::filesystem::remove(m_path);
}

}  // namespace
}  // namespace vx
