// The Setting.ini shipped with the program: five languages, each labelling every control.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vx
