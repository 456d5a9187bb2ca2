// Tests of the text table loaders: language list, selected section, missing texts and saving the choice.
#include "core/text/TextTable.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ToolRunner.h"

namespace vx {
namespace {

const ProfileFile kFiveLanguages = ProfileFile::FromBytes(
    "[Setting]\r\nIndex=5\r\nSelect=1\r\n"
    "Language0=한국어\r\nLanguage1=English\r\nLanguage2=Português\r\nLanguage3=日本語\r\nLanguage4=繁體中文\r\n"
    "[한국어]\r\nFileName=파일명\r\nSelectDrive=드라이브:\r\n"
    "[English]\r\nFileName=File name\r\nDate=Date\r\nSize=Size\r\nPath=Path\r\nEvent=Event\r\n"
    "SelectDrive=Drive:\r\nOnOk=OK\r\nDriveFB=Front/Back\r\nSaveButton=SAVE\r\n");

std::u16string TextOf(const std::vector<ControlText>& texts, int id) {
  for (const ControlText& text : texts) {
    if (text.controlId == id) return text.text;
  }
  ADD_FAILURE() << "no text for control " << id;
  return {};
}

TEST(TextTable, SavedLanguageFillsTheListAndLabelsFromItsSection) {
  const SettingTexts texts = LoadSettingTexts(kFiveLanguages, 0);
  ASSERT_EQ(texts.languages.size(), 5u);
  EXPECT_EQ(texts.languages[3], u"日本語");
  EXPECT_EQ(texts.selected, 1);
  EXPECT_EQ(TextOf(texts.texts, 1179), u"Front/Back");
  EXPECT_EQ(TextOf(texts.texts, 1182), u"Front/Back") << "one key labels both of its controls";
  EXPECT_EQ(TextOf(texts.texts, 1117), u"SAVE");
  EXPECT_EQ(TextOf(texts.texts, 1255), u"") << "a missing key labels its control with nothing";
}

TEST(TextTable, ChosenLanguageRelabelsWithoutTouchingTheList) {
  const SettingTexts texts = LoadSettingTexts(kFiveLanguages, 1);  // position 0 of the list
  EXPECT_TRUE(texts.languages.empty());
  EXPECT_FALSE(texts.selected.has_value());
  EXPECT_EQ(TextOf(texts.texts, 1179), u"");
  EXPECT_EQ(TextOf(LoadDriveSelectionTexts(kFiveLanguages), 1200), u"Drive:");
}

TEST(TextTable, MainWindowReadsColumnTitlesAndLanguageIndex) {
  const MainWindowTexts texts = LoadMainWindowTexts(kFiveLanguages);
  EXPECT_EQ(texts.languageIndex, 1);
  EXPECT_EQ(texts.columnTitles[0], u"File name");
  EXPECT_EQ(texts.columnTitles[4], u"Event");
}

TEST(TextTable, SelectWithALeadingBlankNamesNoSectionButStillSelects) {
  const ProfileFile file = ProfileFile::FromBytes(
      "[Setting]\nIndex=2\nSelect=\" 1\"\nLanguage0=A\nLanguage1=B\n[B]\nFileName=Name\n");
  EXPECT_EQ(SelectedLanguageSection(file), u"");
  const SettingTexts texts = LoadSettingTexts(file, 0);
  EXPECT_EQ(texts.selected, 1);
  EXPECT_EQ(texts.languages.size(), 2u);
  EXPECT_EQ(LoadMainWindowTexts(file).columnTitles[0], u"");
}

TEST(TextTable, NoFileGivesNoLanguagesAndEmptyTexts) {
  const ProfileFile none;
  const SettingTexts texts = LoadSettingTexts(none, 0);
  EXPECT_TRUE(texts.languages.empty());
  EXPECT_EQ(texts.selected, 0);
  for (const ControlText& text : texts.texts) EXPECT_TRUE(text.text.empty());
  EXPECT_EQ(texts.texts.size(), 64u) << "every labelled control is still listed";
}

TEST(TextTable, LanguageCountIsBounded) {
  const ProfileFile file = ProfileFile::FromBytes("[Setting]\nIndex=2000000000\n");
  EXPECT_EQ(LoadSettingTexts(file, 0).languages.size(), static_cast<std::size_t>(kMaxLanguages));
  EXPECT_TRUE(LoadSettingTexts(ProfileFile::FromBytes("[Setting]\nIndex=-3\n"), 0).languages.empty());
}

TEST(TextTable, TextToIntegerFollowsTheStandardConversion) {
  EXPECT_EQ(ProfileTextToInt(u" 12x"), 12);
  EXPECT_EQ(ProfileTextToInt(u"-1"), -1);
  EXPECT_EQ(ProfileTextToInt(u"abc"), 0);
  EXPECT_EQ(ProfileTextToInt(u""), 0);
  EXPECT_EQ(ProfileTextToInt(u"99999999999"), 2147483647);
}

TEST(TextTable, SavingTheLanguageRewritesOnlySelect) {
  const test::TempDir dir("text-table");
  const std::string path = dir / "Setting.ini";
  std::ofstream(path, std::ios::binary) << "[Setting]\r\nIndex=5\r\nSelect=1\r\n[English]\r\nDate=Date\r\n";
  ASSERT_TRUE(SaveSelectedLanguage(path, 3));
  const std::string saved = "[Setting]\r\nIndex=5\r\nSelect=3\r\n[English]\r\nDate=Date\r\n";
  EXPECT_EQ(test::FileBytes(path), saved);
  ASSERT_TRUE(SaveSelectedLanguage(path, -1));
  EXPECT_EQ(test::FileBytes(path), saved) << "no selection keeps it";
}

}  // namespace
}  // namespace vx
