// The Setting.ini shipped with the program: five languages, each labelling every control.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>

#include "core/text/TextTable.h"
#include "core/text/Utf.h"

namespace vx {
namespace {

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

// The keys of each section of the shipped file, read line by line.
std::map<std::string, std::set<std::string>> KeysBySection() {
  std::ifstream file(std::filesystem::path(VX_BIN_DIR) / "Setting.ini");
  std::map<std::string, std::set<std::string>> keys;
  std::string section;
  for (std::string line; std::getline(file, line);) {
    const auto equals = line.find('=');
    if (line.starts_with('[')) {
      section = line.substr(1, line.find(']') - 1);
    } else if (equals != std::string::npos) {
      keys[section].insert(line.substr(0, equals));
    }
  }
  return keys;
}

TEST(ShippedSettingIni, EveryLanguageKeepsTheSameKeys) {
  const auto keys = KeysBySection();
  ASSERT_EQ(keys.size(), 6u);
  for (const auto& [section, names] : keys) {
    if (section == "Setting") continue;
    EXPECT_EQ(names, keys.at("English")) << section;
  }
}

// RecodingText labels the camera's sound-recording switch, SoundText the group of sound settings.
TEST(ShippedSettingIni, SoundSettingsSpeakOfSound) {
  const std::optional<ProfileFile> file = ProfileFile::Load(std::filesystem::path(VX_BIN_DIR) / "Setting.ini");
  ASSERT_TRUE(file.has_value());
  struct Wording {
    std::u16string section, recording, sound;
  };
  const Wording wordings[] = {{u"한국어", u"녹음", u"사운드"},
                              {u"English", u"Sound recording", u"Sound"},
                              {u"Português", u"Gravação de som", u"Som"},
                              {u"日本語", u"録音", u"音声"},
                              {u"繁體中文", u"錄音", u"聲音"}};
  for (const Wording& wording : wordings) {
    EXPECT_EQ(file->GetString(wording.section, u"RecodingText"), wording.recording) << Utf16ToUtf8(wording.section);
    EXPECT_EQ(file->GetString(wording.section, u"SoundText"), wording.sound) << Utf16ToUtf8(wording.section);
  }
}

}  // namespace
}  // namespace vx
