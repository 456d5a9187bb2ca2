// Tests of the profile-file reader and writer: lookups, encodings, limits and byte-exact saves on disk.
#include "core/text/ProfileFile.h"
#include "core/text/TextTable.h"
#include "core/text/Utf.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ToolRunner.h"

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

TEST(ProfileFile, LookupsTrimCaseFoldAndTakeTheFirstOfAName) {
  const std::string texts =
      "; comment\r\n[Setting]\r\n  select =  2  \r\nQuoted=\" 1\"\r\nEmpty=\r\n[English]\r\nDate=Date=Time\r\n"
      "[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\n";
  const std::string korean = "\xEF\xBB\xBF[한국어]\nDate=날짜\n";
  const std::string utf16 = Utf16Le(u"[Setting]\r\nSelect=3\r\n[繁體中文]\r\nSize=大小\r\n");
  struct Case {
    std::string bytes;
    std::u16string section, key, value;
  };
  const Case cases[] = {
      {texts, u"SETTING", u"Select", u"2"},     {texts, u"Setting", u"Quoted", u" 1"},
      {texts, u"Setting", u"Empty", u""},       {texts, u"English", u"Date", u"Date=Time"},
      {texts, u"English", u"Select", u""},      {texts, u"Missing", u"Date", u""},
      {texts, u"A", u"k", u"1"},                {utf16, u"繁體中文", u"Size", u"大小"},
      {korean, u"한국어", u"Date", u"날짜"},   {korean.substr(3), u"한국어", u"Date", u"날짜"},
      {"[Setting\r\nSelect=1\r", u"Setting", u"Select", u"1"},  // a stray carriage return ends the value
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProfileFile::FromBytes(c.bytes).GetString(c.section, c.key), c.value)
        << Utf16ToUtf8(c.section) << "/" << Utf16ToUtf8(c.key);
  }
}

TEST(ProfileFile, CutsLongValuesWithoutSplittingACharacter) {
  const std::string ascii(300, 'a');
  EXPECT_EQ(ProfileFile::FromBytes("[S]\nk=" + ascii + "\n").GetString(u"S", u"k").size(), 255u);
  // 254 letters then a character outside the basic plane: the pair does not fit and is left out whole.
  const std::string text = std::string(254, 'a') + "\xF0\x9F\x9A\x97";
  EXPECT_EQ(ProfileFile::FromBytes("[S]\nk=" + text + "\n").GetString(u"S", u"k"), std::u16string(254, u'a'));
}

// A write replaces only the value and keeps every other byte; a missing key or section is added with the
// file's line breaks.
TEST(ProfileFile, WritesChangeOnlyTheValueOrAddTheKey) {
  const struct {
    std::string before;
    std::u16string section, key, value;
    std::string after;
  } cases[] = {
      {"\xEF\xBB\xBF; texts\r\n[Setting]\r\nIndex=5\r\nSelect = 1 ; old\r\n\r\n[English]\r\nA=b\r\n",
       u"Setting", u"Select", u"4",
       "\xEF\xBB\xBF; texts\r\n[Setting]\r\nIndex=5\r\nSelect = 4\r\n\r\n[English]\r\nA=b\r\n"},
      {"[Setting]\nIndex=5\n\n[English]\nA=b", u"Setting", u"Select", u"0",
       "[Setting]\nIndex=5\nSelect=0\n\n[English]\nA=b"},
      {"[English]\r\nA=b", u"English", u"C", u"d", "[English]\r\nA=b\r\nC=d\r\n"},
      {"[English]\r\nA=b", u"Setting", u"Select", u"-1", "[English]\r\nA=b\r\n[Setting]\r\nSelect=-1\r\n"},
      {"[Setting\r\nSelect=1\r", u"Other", u"k", u"v", "[Setting\r\nSelect=1\r\r\n[Other]\r\nk=v\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    ProfileFile file = ProfileFile::FromBytes(c.before);
    file.SetString(c.section, c.key, c.value);
    EXPECT_EQ(file.Bytes(), c.after);
    EXPECT_EQ(file.GetString(c.section, c.key), c.value);
  }
}

// A missing file is made, a folder is left alone, and an existing file, here UTF-16 with a stray odd byte at
// its end, keeps every byte but the value.
TEST(ProfileFileOnDisk, SavesChangeOnlyTheValueOfAFileThatCanBeRead) {
  const test::TempDir dir("profile");
  const std::string path = dir / "Setting.ini";
  EXPECT_EQ(ReadProfileString(path, u"Setting", u"Select"), u"");
  ASSERT_TRUE(SaveSelectedLanguage(path, 1));
  EXPECT_EQ(test::FileBytes(path), "[Setting]\r\nSelect=1\r\n");

  std::string original = Utf16Le(u"[Setting]\r\nIndex=5\r\nSelect=1\r\n[English]\r\nFileName=File name\r\n");
  original.push_back('\x00');
  std::ofstream(path, std::ios::binary) << original;
  ASSERT_TRUE(SaveSelectedLanguage(path, 3));
  ASSERT_TRUE(SaveSelectedLanguage(path, -1));  // no selection keeps the saved one
  std::string expected = original;
  expected[original.find(Utf16Le(u"Select=").substr(2)) + 14] = '3';
  EXPECT_EQ(test::FileBytes(path), expected);

  EXPECT_FALSE(WriteProfileString(dir.Path(), u"Setting", u"Select", u"1"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

}  // namespace
}  // namespace vx
