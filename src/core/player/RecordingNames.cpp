// Recording files of any camera: listing, event from name tags and folders, start date, front/rear pairs.
#include "core/player/RecordingNames.h"

#include <array>
#include <ctime>
#include <optional>
#include <vector>

#include "core/player/RecordingRules.h"

namespace vx {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares ASCII letters in any case with an upper-case word.
bool EqualsUpper(std::string_view text, std::string_view upperWord) {
  if (text.size() != upperWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (Upper(text[i]) != upperWord[i]) return false;
  }
  return true;
}

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& words) {
  for (const std::string_view word : words) {
    if (text == word) return true;
  }
  return false;
}

std::string_view FileNameOf(std::string_view path) { return path.substr(path.find_last_of('/') + 1); }

// The file name without its extension (the whole name when it has no dot).
std::string_view StemOf(std::string_view name) { return name.substr(0, name.find_last_of('.')); }

std::string_view ExtensionOf(std::string_view name) {
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

// `shape` at `at` of `text`: 'd' stands for a digit, any other character for itself.
bool MatchesShape(std::string_view text, std::size_t at, std::string_view shape) {
  if (at + shape.size() > text.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const char c = text[at + i];
    if (shape[i] == 'd' ? !IsDigit(c) : c != shape[i]) return false;
  }
  return true;
}

// "YYYYMMDD_HHMMSS_Tnn.EXT" with T one of E, D, P and EXT AVI or MP4, in any case.
bool IsOwnCameraName(std::string_view name) {
  constexpr std::size_t kLength = 23;
  if (name.size() != kLength || !MatchesShape(name, 0, "dddddddd_dddddd_") || !MatchesShape(name, 17, "dd.")) {
    return false;
  }
  const char type = Upper(name[16]);
  const std::string_view extension = name.substr(20);
  return (type == 'E' || type == 'D' || type == 'P') &&
         (EqualsUpper(extension, "AVI") || EqualsUpper(extension, "MP4"));
}

// The stem's tokens split at '_' and '-', and the letters after the digits that end the stem as one more.
std::vector<std::string_view> TokensOf(std::string_view stem) {
  std::vector<std::string_view> tokens;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= stem.size(); ++i) {
    if (i < stem.size() && stem[i] != '_' && stem[i] != '-') continue;
    if (i > start) tokens.push_back(stem.substr(start, i - start));
    start = i + 1;
  }
  if (tokens.empty()) return tokens;
  const std::string_view last = tokens.back();
  std::size_t letters = last.size();
  while (letters > 0 && IsLetter(last[letters - 1])) --letters;
  if (letters > 0 && letters < last.size() && IsDigit(last[letters - 1])) tokens.push_back(last.substr(letters));
  return tokens;
}

std::u16string_view EventOfTag(std::string_view token) {
  if (IsOneOf(token, std::array<std::string_view, 3>{"E", "EF", "ER"})) return u"Event";
  if (IsOneOf(token, std::array<std::string_view, 3>{"N", "NF", "NR"})) return u"Drive";
  if (IsOneOf(token, std::array<std::string_view, 3>{"P", "PF", "PR"})) return u"Parking";
  return {};
}

std::u16string_view EventOfFolder(std::string_view folder) {
  const auto is = [folder](std::initializer_list<std::string_view> words) {
    for (const std::string_view word : words) {
      if (EqualsUpper(folder, word)) return true;
    }
    return false;
  };
  if (is({"EMER", "EVENT", "EVT", "RO"})) return u"Event";
  if (is({"NORMAL", "NOR", "MOVIE", "DRIVE"})) return u"Drive";
  if (is({"PARKING", "PARK", "PA"})) return u"Parking";
  return {};
}

// Year, month, day, hour, minute and second of the first stamp in the stem (the shapes RecordingNameDate
// lists), unchecked; nothing when the stem has none.
std::optional<std::array<int, 6>> NameStampFields(std::string_view stem) {
  constexpr std::array<std::string_view, 4> kShapes = {"dddddddd_dddddd", "dddd_dddd_dddddd", "dddddd-dddddd",
                                                       "dddddddddddddd"};
  for (std::size_t at = 0; at < stem.size(); ++at) {
    if (at > 0 && IsDigit(stem[at - 1])) continue;
    for (const std::string_view shape : kShapes) {
      const std::size_t end = at + shape.size();
      if (!MatchesShape(stem, at, shape) || (end < stem.size() && IsDigit(stem[end]))) continue;
      std::string digits;
      for (const char c : stem.substr(at, shape.size())) {
        if (IsDigit(c)) digits += c;
      }
      const auto value = [&digits](std::size_t from, std::size_t count) {
        return std::stoi(digits.substr(from, count));
      };
      const std::size_t yearDigits = digits.size() - 10;  // 4, or 2 for YYMMDD
      const int year = yearDigits == 2 ? 2000 + value(0, 2) : value(0, 4);
      return std::array<int, 6>{year, value(yearDigits, 2), value(yearDigits + 2, 2), value(yearDigits + 4, 2),
                                value(yearDigits + 6, 2), value(yearDigits + 8, 2)};
    }
  }
  return std::nullopt;
}

std::u16string OtherCameraDate(std::string_view stem) {
  const auto f = NameStampFields(stem);
  return f ? StampDateText((*f)[0], (*f)[1], (*f)[2], (*f)[3], (*f)[4], (*f)[5]) : std::u16string();
}

std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// Swaps the spelling of one lens's word for the other's, or nothing when `word` is neither.
std::string_view OtherLensFolder(std::string_view word, bool& isFront) {
  constexpr std::array<std::string_view, 3> kFront = {"Front", "FRONT", "front"};
  constexpr std::array<std::string_view, 3> kRear = {"Rear", "REAR", "rear"};
  for (std::size_t i = 0; i < kFront.size(); ++i) {
    isFront = word == kFront[i];
    if (isFront) return kRear[i];
    if (word == kRear[i]) return kFront[i];
  }
  return {};
}

}  // namespace

bool IsListedRecording(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  if (IsOwnCameraName(name)) return HasRecordingExtension(name);
  if (name.find('.') == std::string_view::npos) return false;
  const std::string_view extension = ExtensionOf(name);
  return EqualsUpper(extension, "MP4") || EqualsUpper(extension, "MOV") || EqualsUpper(extension, "AVI") ||
         EqualsUpper(extension, "TS");
}

std::u16string_view RecordingEventOf(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  // An own name is ASCII, so its letter seven from the end is the full path's as well.
  if (IsOwnCameraName(name)) return EventTypeOf(Widen(name));
  const std::vector<std::string_view> tokens = TokensOf(StemOf(name));
  for (auto token = tokens.rbegin(); token != tokens.rend(); ++token) {
    if (const std::u16string_view event = EventOfTag(*token); !event.empty()) return event;
  }
  std::string_view folders = path.substr(0, path.size() - name.size());
  while (!folders.empty()) {
    if (folders.back() == '/') {
      folders.remove_suffix(1);
      continue;
    }
    const std::string_view folder = FileNameOf(folders);
    if (const std::u16string_view event = EventOfFolder(folder); !event.empty()) return event;
    folders.remove_suffix(folder.size());
  }
  return {};
}

std::u16string RecordingNameDate(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  return IsOwnCameraName(name) ? NameDateText(Widen(name)) : OtherCameraDate(StemOf(name));
}

std::optional<std::int64_t> RecordingNameSeconds(std::string_view path) {
  const auto f = NameStampFields(StemOf(FileNameOf(path)));
  if (!f || StampDateText((*f)[0], (*f)[1], (*f)[2], (*f)[3], (*f)[4], (*f)[5]).empty()) return std::nullopt;
  std::tm tm{};
  tm.tm_year = (*f)[0] - 1900;
  tm.tm_mon = (*f)[1] - 1;
  tm.tm_mday = (*f)[2];
  tm.tm_hour = (*f)[3];
  tm.tm_min = (*f)[4];
  tm.tm_sec = (*f)[5];
  return static_cast<std::int64_t>(timegm(&tm));
}

RecordingPair PairOf(std::string_view path, const std::function<bool(const std::string&)>& isRegularFile) {
  const std::string_view name = FileNameOf(path);
  const std::string_view stem = StemOf(name);
  const std::vector<std::string_view> tokens = TokensOf(stem);
  const std::string_view tag = tokens.empty() ? std::string_view{} : tokens.back();
  std::string other(path);
  bool isFront = false;
  // The tag must end the stem ("X_F_" has none there): its last letter is the one swapped.
  constexpr std::array<std::string_view, 8> kLensTags = {"F", "EF", "NF", "PF", "R", "ER", "NR", "PR"};
  if (stem.ends_with(tag) && IsOneOf(tag, kLensTags)) {
    isFront = tag.back() == 'F';
    other[path.size() - name.size() + stem.size() - 1] = isFront ? 'R' : 'F';
  } else {
    const std::string_view folderPath = path.substr(0, path.size() - name.size());
    if (folderPath.size() < 2) return {std::string(path), {}};
    const std::string_view folder = FileNameOf(folderPath.substr(0, folderPath.size() - 1));
    const std::string_view otherFolder = OtherLensFolder(folder, isFront);
    if (otherFolder.empty()) return {std::string(path), {}};
    other.replace(folderPath.size() - 1 - folder.size(), folder.size(), otherFolder);
  }
  if (!isRegularFile(other)) return {std::string(path), {}};
  if (isFront) return {std::string(path), std::move(other)};
  return {std::move(other), std::string(path)};
}

}  // namespace vx
