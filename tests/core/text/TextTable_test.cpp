// Tests of the text table loaders (language list, selected section, missing texts) and of
// the Setting.ini shipped with the program: five languages, each labelling every control.
#include "core/text/TextTable.h"

#include <gtest/gtest.h>

#include "core/text/Utf.h"

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

TEST(TextTable, SavedLanguageFillsTheListAndLabelsTheDialogAndColumnsFromItsSection) {
  const SettingTexts texts = LoadSettingTexts(kFiveLanguages, 0);
  ASSERT_EQ(texts.languages.size(), 5u);
  EXPECT_EQ(texts.languages[3], u"日本語");
  EXPECT_EQ(texts.selected, 1);
  EXPECT_EQ(TextOf(texts.texts, 1179), u"Front/Back");
  EXPECT_EQ(TextOf(texts.texts, 1182), u"Front/Back") << "one key labels both of its controls";
  EXPECT_EQ(TextOf(texts.texts, 1117), u"SAVE");
  EXPECT_EQ(TextOf(texts.texts, 1255), u"") << "a missing key labels its control with nothing";
  const MainWindowTexts main = LoadMainWindowTexts(kFiveLanguages);
  EXPECT_EQ(main.languageIndex, 1);
  EXPECT_EQ(main.columnTitles[4], u"Event");
}

TEST(TextTable, ChosenLanguageRelabelsWithoutTouchingTheList) {
  const SettingTexts texts = LoadSettingTexts(kFiveLanguages, 1);  // position 0 of the list
  EXPECT_TRUE(texts.languages.empty());
  EXPECT_FALSE(texts.selected.has_value());
  EXPECT_EQ(TextOf(texts.texts, 1179), u"");
  EXPECT_EQ(TextOf(LoadDriveSelectionTexts(kFiveLanguages), 1200), u"Drive:");
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
  for (const auto& [text, value] : {std::pair{u" 12x", 12}, {u"-1", -1}, {u"abc", 0}, {u"99999999999", 2147483647}}) {
    EXPECT_EQ(ProfileTextToInt(text), value) << Utf16ToUtf8(text);
  }
}

TEST(ShippedSettingIni, EveryLanguageHasEveryText) {
  const std::optional<ProfileFile> file = ProfileFile::Load(std::filesystem::path(VX_BIN_DIR) / "Setting.ini");
  ASSERT_TRUE(file.has_value());
  const SettingTexts saved = LoadSettingTexts(*file, 0);
  ASSERT_EQ(saved.languages, (std::vector<std::u16string>{u"한국어", u"English", u"Português", u"日本語", u"繁體中文"}));
  for (int language = 1; language <= 5; ++language) {
    const std::u16string section = saved.languages[static_cast<std::size_t>(language - 1)];
    for (const std::u16string_view key : MainWindowColumnKeys()) {
      EXPECT_FALSE(file->GetString(section, key).empty()) << Utf16ToUtf8(section) << " " << Utf16ToUtf8(key);
    }
    for (const auto& table : {DriveSelectionTexts(), SettingDialogTexts()}) {
      for (const TextBinding& binding : table) {
        EXPECT_FALSE(file->GetString(section, binding.key).empty())
            << Utf16ToUtf8(section) << " lacks " << Utf16ToUtf8(binding.key);
      }
    }
  }
}

// RecodingText labels the camera's sound-recording switch, SoundText the group of sound settings.
TEST(ShippedSettingIni, SoundSettingsSpeakOfSound) {
  const ProfileFile file = ProfileFile::Load(std::filesystem::path(VX_BIN_DIR) / "Setting.ini").value();
  for (const auto& [section, recording, sound] : {std::tuple{u"한국어", u"녹음", u"사운드"},
                                                  {u"English", u"Sound recording", u"Sound"},
                                                  {u"Português", u"Gravação de som", u"Som"},
                                                  {u"日本語", u"録音", u"音声"}, {u"繁體中文", u"錄音", u"聲音"}}) {
    EXPECT_EQ(file.GetString(section, u"RecodingText"), recording) << Utf16ToUtf8(section);
    EXPECT_EQ(file.GetString(section, u"SoundText"), sound) << Utf16ToUtf8(section);
  }
}

}  // namespace
}  // namespace vx
