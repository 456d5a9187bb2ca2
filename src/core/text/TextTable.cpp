// The user-interface text table of Setting.ini: language list, selected language and the texts each window shows.
#include "core/text/TextTable.h"

#include <algorithm>
#include <limits>
#include <system_error>

#include "core/text/Utf.h"

namespace vx {
namespace {

constexpr std::array<std::u16string_view, 5> kColumnKeys = {u"FileName", u"Date", u"Size", u"Path", u"Event"};

constexpr TextBinding kDriveSelectionTexts[] = {
    {u"SelectDrive", {1200}},
    {u"SelectDriveHelp", {1201}},
    {u"OnOk", {1}},
};

constexpr TextBinding kSettingDialogTexts[] = {
    {u"DriveImpulse", {1149}},
    {u"DriveQuickSetting", {1175, 1176}},
    {u"DriveUserSetting", {1177, 1178}},
    {u"DriveInsensitive", {1194, 1196}},
    {u"DriveSensitive", {1195, 1197}},
    {u"DriveFB", {1179, 1182}},
    {u"DriveLR", {1180, 1183}},
    {u"DriveTB", {1181, 1184}},
    {u"ParkingImpulse", {1155}},
    {u"Machine", {1185}},
    {u"BatterySafeText", {1187}},
    {u"SpeedUnitText", {1128}},
    {u"RecodingText", {1188}},
    {u"BuzzerText", {1189}},
    {u"SoundText", {1186}},
    {u"BitrateText", {1190}},
    {u"BitrateFrontText", {1191}},
    {u"BitrateBackText", {1192}},
    {u"TimeText", {1193}},
    {u"LanguageText", {1198}},
    {u"SelectButton", {1116}},
    {u"SaveButton", {1117}},
    {u"CancelButton", {1118}},
    {u"DriveQuickInsensitive", {1148, 1156}},
    {u"DriveQuickNormally", {1150, 1157}},
    {u"DriveQuickSensitive", {1151, 1158}},
    {u"BatterySafeOn", {1171, 1167, 1208, 1234}},
    {u"BatterySafeOff", {1172, 1168, 1209, 1235}},
    {u"Use", {1165, 1204, 1231}},
    {u"NotUse", {1166, 1205, 1232}},
    {u"TimeSetUse", {1202}},
    {u"ParkingSDUsage", {1206}},
    {u"MIC", {1207}},
    {u"SummerTime", {1229}},
    {u"VOICE", {1230}},
    {u"RearCamera", {1233}},
    {u"UserInfo", {1238}},
    {u"ProductName", {1247}},
    {u"SerialNumber", {1246}},
    {u"RomCount", {1239}},
    {u"FWVer", {1250}},
    {u"Company", {1252}},
    {u"CarLicence", {1253}},
    {u"CutOff", {1255}},
};

std::u16string LanguageKey(std::u16string_view suffix) { return u"Language" + std::u16string(suffix); }

std::u16string LanguageKey(int index) { return LanguageKey(Utf8ToUtf16(std::to_string(index))); }

// Every control labelled by the bindings, each with its key's text from section.
std::vector<ControlText> ReadTexts(const ProfileFile& file, std::u16string_view section,
                                   std::span<const TextBinding> bindings) {
  std::vector<ControlText> texts;
  for (const TextBinding& binding : bindings) {
    const std::u16string text = file.GetString(section, binding.key);
    for (const int id : binding.controlIds) {
      if (id != 0) texts.push_back({id, text});
    }
  }
  return texts;
}

}  // namespace

std::filesystem::path SettingIniPath() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::filesystem::path(kSettingFileName) : folder / kSettingFileName;
}

int ProfileTextToInt(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  const bool negative = i < text.size() && text[i] == u'-';
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
  long long value = 0;
  constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = std::min(value * 10 + (text[i] - u'0'), kLimit);
  }
  value = negative ? -value : std::min(value, kLimit - 1);
  return static_cast<int>(value);
}

std::u16string SelectedLanguageSection(const ProfileFile& file) {
  return file.GetString(kSettingSection, LanguageKey(file.GetString(kSettingSection, u"Select")));
}

std::span<const std::u16string_view> MainWindowColumnKeys() { return kColumnKeys; }

std::span<const TextBinding> DriveSelectionTexts() { return kDriveSelectionTexts; }

std::span<const TextBinding> SettingDialogTexts() { return kSettingDialogTexts; }

MainWindowTexts LoadMainWindowTexts(const ProfileFile& file) {
  MainWindowTexts texts;
  texts.languageIndex = ProfileTextToInt(file.GetString(kSettingSection, u"Select"));
  const std::u16string section = SelectedLanguageSection(file);
  for (std::size_t i = 0; i < kColumnKeys.size(); ++i) texts.columnTitles[i] = file.GetString(section, kColumnKeys[i]);
  return texts;
}

std::vector<ControlText> LoadDriveSelectionTexts(const ProfileFile& file) {
  return ReadTexts(file, SelectedLanguageSection(file), kDriveSelectionTexts);
}

SettingTexts LoadSettingTexts(const ProfileFile& file, int language) {
  SettingTexts result;
  std::u16string section;
  if (language > 0) {
    section = file.GetString(kSettingSection, LanguageKey(language - 1));
  } else {
    const int count = std::min(ProfileTextToInt(file.GetString(kSettingSection, u"Index")), kMaxLanguages);
    for (int i = 0; i < count; ++i) result.languages.push_back(file.GetString(kSettingSection, LanguageKey(i)));
    result.selected = ProfileTextToInt(file.GetString(kSettingSection, u"Select"));
    section = SelectedLanguageSection(file);
  }
  result.texts = ReadTexts(file, section, kSettingDialogTexts);
  return result;
}

bool SaveSelectedLanguage(const std::filesystem::path& path, int position) {
  // No selection (an empty list) chooses nothing: keep what is saved rather than name a language -1.
  if (position < 0) return true;
  return WriteProfileString(path, kSettingSection, u"Select", Utf8ToUtf16(std::to_string(position)));
}

bool IsSavedLanguage(const ProfileFile& file, int position) {
  return file.GetString(kSettingSection, u"Select") == Utf8ToUtf16(std::to_string(position));
}

}  // namespace vx
