// The user-interface text table of Setting.ini: language list, selected language and the texts each window shows.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/ProfileFile.h"

namespace vx {

inline constexpr std::u16string_view kSettingSection = u"Setting";
inline constexpr std::u16string_view kSettingFileName = u"Setting.ini";
// Longest language list read; "Index" beyond it counts as this many.
inline constexpr int kMaxLanguages = 100;

// One text key and the controls (by ID, up to four, 0 ends the list) it labels.
struct TextBinding {
  std::u16string_view key;
  std::array<int, 4> controlIds;
};

struct ControlText {
  int controlId;
  std::u16string text;
};

struct MainWindowTexts {
  int languageIndex = 0;
  std::array<std::u16string, 5> columnTitles;  // file name, date, size, path, event
};

struct SettingTexts {
  std::vector<std::u16string> languages;  // filled only when the saved language is used
  std::optional<int> selected;            // position to select in the language list, likewise
  std::vector<ControlText> texts;         // in the order of SettingDialogTexts()
};

// Setting.ini in the process's current directory.
std::filesystem::path SettingIniPath();

// Text-to-integer conversion of profile values: leading blanks, a sign, digits; no number gives 0.
int ProfileTextToInt(std::u16string_view text);

// Name of the section holding the texts of the saved language ("Language" + the "Select" text as written).
std::u16string SelectedLanguageSection(const ProfileFile& file);

// Keys of the main window's list column titles, in column order.
std::span<const std::u16string_view> MainWindowColumnKeys();
std::span<const TextBinding> DriveSelectionTexts();
std::span<const TextBinding> SettingDialogTexts();

MainWindowTexts LoadMainWindowTexts(const ProfileFile& file);
std::vector<ControlText> LoadDriveSelectionTexts(const ProfileFile& file);
// language 0: the saved language, with the language list; n > 0: language n - 1, list untouched.
SettingTexts LoadSettingTexts(const ProfileFile& file, int language);

// Writes position as decimal text to "Select"; a negative position (no selection) writes nothing.
// False when the file could not be written.
bool SaveSelectedLanguage(const std::filesystem::path& path, int position);
// Whether "Select" already holds position as SaveSelectedLanguage writes it: saving it would change nothing.
bool IsSavedLanguage(const ProfileFile& file, int position);

}  // namespace vx
