// Tests of the text table loaders (language list, selected section, missing texts) and of
// the Setting.ini shipped with the program: five languages, each labelling every control.
#include "core/text/TextTable.h"

#include <gtest/gtest.h>

#include "core/text/Utf.h"

namespace vx {
namespace {

const std::string kFiveLanguages =
    "[Setting]\r\nIndex=5\r\nSelect=1\r\n"
    "Language0=한국어\r\nLanguage1=English\r\nLanguage2=Português\r\nLanguage3=日本語\r\nLanguage4=繁體中文\r\n"
    "[한국어]\r\nFileName=파일명\r\nSelectDrive=드라이브:\r\n"
    "[English]\r\nFileName=File name\r\nDate=Date\r\nSize=Size\r\nPath=Path\r\nEvent=Event\r\n"
    "SelectDrive=Drive:\r\nOnOk=OK\r\nDriveFB=Front/Back\r\nSaveButton=SAVE\r\n";
const std::string kLeadingBlank =
    "[Setting]\nIndex=2\nSelect=\" 1\"\nLanguage0=A\nLanguage1=B\n[B]\nFileName=Name\n";

std::u16string TextOf(const std::vector<ControlText>& texts, int id) {
  for (const ControlText& text : texts) {
    if (text.controlId == id) return text.text;
  }
  ADD_FAILURE() << "no text for control " << id;
  return {};
}

// The saved language (0) fills the list and selects; a chosen one relabels without touching the list.
TEST(TextTable, LanguageListFollowsIndexAndSelectWithinBounds) {
  const struct {
    std::string bytes;
    int language;
    std::size_t count;
    std::optional<int> selected;
  } cases[] = {
      {kFiveLanguages, 0, 5, 1},     {kFiveLanguages, 1, 0, std::nullopt},
      {kLeadingBlank, 0, 2, 1},      {"", 0, 0, 0},
      {"[Setting]\nIndex=2000000000\n", 0, kMaxLanguages, 0},
      {"[Setting]\nIndex=-3\n", 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 24) + " language " + std::to_string(c.language));
    const SettingTexts texts = LoadSettingTexts(ProfileFile::FromBytes(c.bytes), c.language);
    EXPECT_EQ(std::pair(texts.languages.size(), texts.selected), std::pair(c.count, c.selected));
  }
}

TEST(TextTable, TheLanguagesSectionLabelsControlsAndColumnsAndAMissingKeyLabelsNothing) {
  const ProfileFile five = ProfileFile::FromBytes(kFiveLanguages);
  const SettingTexts saved = LoadSettingTexts(five, 0);
  EXPECT_EQ(TextOf(saved.texts, 1179), u"Front/Back");
  EXPECT_EQ(TextOf(saved.texts, 1182), u"Front/Back") << "one key labels both of its controls";
  EXPECT_EQ(TextOf(saved.texts, 1117), u"SAVE");
  EXPECT_EQ(TextOf(saved.texts, 1255), u"");
  EXPECT_EQ(TextOf(LoadSettingTexts(five, 1).texts, 1179), u"") << "position 0 of the list";
  EXPECT_EQ(TextOf(LoadDriveSelectionTexts(five), 1200), u"Drive:");
  const MainWindowTexts main = LoadMainWindowTexts(five);
  EXPECT_EQ(std::pair(main.languageIndex, main.columnTitles[4]), std::pair(1, std::u16string(u"Event")));

  // A "Select" with a leading blank still selects, but names no section.
  const ProfileFile blank = ProfileFile::FromBytes(kLeadingBlank);
  EXPECT_EQ(SelectedLanguageSection(blank), u"");
  EXPECT_EQ(LoadMainWindowTexts(blank).columnTitles[0], u"");

  const SettingTexts none = LoadSettingTexts(ProfileFile{}, 0);
  for (const ControlText& text : none.texts) EXPECT_TRUE(text.text.empty());
  EXPECT_EQ(none.texts.size(), 64u) << "every labelled control is still listed";
}

TEST(TextTable, TextToIntegerFollowsTheStandardConversion) {
  for (const auto& [text, value] : {std::pair{u" 12x", 12}, {u"-1", -1}, {u"abc", 0}, {u"99999999999", 2147483647}}) {
    EXPECT_EQ(ProfileTextToInt(text), value) << Utf16ToUtf8(text);
  }
}

// RecodingText labels the camera's sound-recording switch, SoundText the group of sound settings.
TEST(ShippedSettingIni, EveryLanguageHasEveryTextAndSoundSettingsSpeakOfSound) {
  const std::optional<ProfileFile> file = ProfileFile::Load(std::filesystem::path(VX_BIN_DIR) / "Setting.ini");
  ASSERT_TRUE(file.has_value());
  const std::tuple<std::u16string, std::u16string, std::u16string> languages[] = {
      {u"한국어", u"녹음", u"사운드"},       {u"English", u"Sound recording", u"Sound"},
      {u"Português", u"Gravação de som", u"Som"}, {u"日本語", u"録音", u"音声"}, {u"繁體中文", u"錄音", u"聲音"}};
  ASSERT_EQ(LoadSettingTexts(*file, 0).languages,
            (std::vector<std::u16string>{u"한국어", u"English", u"Português", u"日本語", u"繁體中文"}));
  for (const auto& [section, recording, sound] : languages) {
    SCOPED_TRACE(Utf16ToUtf8(section));
    EXPECT_EQ(std::pair(file->GetString(section, u"RecodingText"), file->GetString(section, u"SoundText")),
              std::pair(recording, sound));
    for (const std::u16string_view key : MainWindowColumnKeys()) {
      EXPECT_FALSE(file->GetString(section, key).empty()) << Utf16ToUtf8(key);
    }
    for (const auto& table : {DriveSelectionTexts(), SettingDialogTexts()}) {
      for (const TextBinding& binding : table) {
        EXPECT_FALSE(file->GetString(section, binding.key).empty()) << "lacks " << Utf16ToUtf8(binding.key);
      }
    }
  }
}

}  // namespace
}  // namespace vx
