// Reader and writer of profile files ("[section]" headers and "key=value" lines) in UTF-8 or UTF-16LE.
#include "core/text/ProfileFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/text/Utf.h"

namespace vx {
namespace {

// A carriage return counts as a blank, so CR LF line ends and stray CRs never join a name or value.
bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t' || unit == u'\r'; }

char16_t FoldAscii(char16_t unit) { return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - 32) : unit; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::u16string_view StripQuotes(std::u16string_view value) {
  const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                      value.back() == value.front();
  return quoted ? value.substr(1, value.size() - 2) : value;
}

// Cuts to the longest prefix of at most limit units that does not split a surrogate pair.
std::u16string CutToLength(std::u16string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t length = limit;
  const char16_t last = text[length - 1];
  if (last >= 0xD800 && last <= 0xDBFF) --length;
  text.resize(length);
  return text;
}

}  // namespace

ProfileFile::ProfileFile(std::string bytes) : m_strBytes(std::move(bytes)) {
  const auto starts = [&](std::string_view mark) { return m_strBytes.starts_with(mark); };
  if (starts("\xFF\xFE")) {
    m_nBodyStart = 2;
    m_nUnitSize = 2;
  } else if (starts("\xEF\xBB\xBF")) {
    m_nBodyStart = 3;
  }
}

ProfileFile ProfileFile::FromBytes(std::string bytes) { return ProfileFile(std::move(bytes)); }

std::optional<ProfileFile> ProfileFile::Load(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    if (error) return std::nullopt;
    return ProfileFile();
  }
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return ProfileFile(std::move(bytes));
}

char16_t ProfileFile::UnitAt(std::size_t offset) const {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(m_strBytes[i]); };
  if (m_nUnitSize == 1) return byte(offset);
  return static_cast<char16_t>(byte(offset) | (byte(offset + 1) << 8));
}

// End of the last whole unit: a UTF-16 file cut in the middle of a unit keeps its stray byte after it.
std::size_t ProfileFile::BodyEnd() const {
  return m_strBytes.size() - (m_strBytes.size() - m_nBodyStart) % m_nUnitSize;
}

// Offset of the next line feed at or after offset, or the end of the whole units.
std::size_t ProfileFile::FindNewline(std::size_t offset) const {
  const std::size_t end = BodyEnd();
  while (offset < end && UnitAt(offset) != u'\n') offset += m_nUnitSize;
  return offset;
}

ProfileFile::Range ProfileFile::Trim(Range range) const {
  while (range.begin < range.end && IsBlank(UnitAt(range.begin))) range.begin += m_nUnitSize;
  while (range.end > range.begin && IsBlank(UnitAt(range.end - m_nUnitSize))) range.end -= m_nUnitSize;
  return range;
}

std::u16string ProfileFile::Decode(Range range) const {
  if (m_nUnitSize == 1) return Utf8ToUtf16(std::string_view(m_strBytes).substr(range.begin, range.end - range.begin));
  std::u16string text;
  for (std::size_t at = range.begin; at < range.end; at += 2) text.push_back(UnitAt(at));
  return text;
}

std::string ProfileFile::Encode(std::u16string_view text) const {
  if (m_nUnitSize == 1) return Utf16ToUtf8(text);
  std::string bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

ProfileFile::Lookup ProfileFile::Find(std::u16string_view section, std::u16string_view key) const {
  Lookup found;
  bool inSection = false;
  bool seenSection = false;
  const std::size_t bodyEnd = BodyEnd();
  for (std::size_t line = m_nBodyStart; line < bodyEnd;) {
    const std::size_t newline = FindNewline(line);
    const std::size_t next = std::min(newline + m_nUnitSize, bodyEnd);
    const Range text = Trim({line, newline});
    line = next;
    if (text.begin == text.end) continue;
    if (UnitAt(text.begin) == u'[') {
      if (inSection) break;  // only the first section of a name counts
      std::size_t close = text.begin + m_nUnitSize;
      while (close < text.end && UnitAt(close) != u']') close += m_nUnitSize;
      inSection = !seenSection && SameName(Decode(Trim({text.begin + m_nUnitSize, close})), section);
      seenSection = inSection;
      if (inSection) found.append = next;
      continue;
    }
    if (!inSection) continue;
    found.append = next;
    std::size_t equals = text.begin;
    while (equals < text.end && UnitAt(equals) != u'=') equals += m_nUnitSize;
    if (equals == text.end || !SameName(Decode(Trim({text.begin, equals})), key)) continue;
    found.value = Trim({equals + m_nUnitSize, text.end});
    return found;
  }
  return found;
}

std::u16string ProfileFile::GetString(std::u16string_view section, std::u16string_view key) const {
  const Lookup found = Find(section, key);
  if (!found.value) return {};
  const std::u16string raw = Decode(*found.value);
  return CutToLength(std::u16string(StripQuotes(raw)), kMaxValueLength);
}

std::string ProfileFile::LineBreak() const {
  const std::size_t newline = FindNewline(m_nBodyStart);
  const bool bare = newline < BodyEnd() && (newline == m_nBodyStart || UnitAt(newline - m_nUnitSize) != u'\r');
  return Encode(bare ? u"\n" : u"\r\n");
}

bool ProfileFile::EndsWithNewline() const {
  const std::size_t end = BodyEnd();
  return end == m_nBodyStart || UnitAt(end - m_nUnitSize) == u'\n';
}

void ProfileFile::SetString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  const Lookup found = Find(section, key);
  if (found.value) {
    m_strBytes.replace(found.value->begin, found.value->end - found.value->begin, Encode(value));
    return;
  }
  const std::size_t at = found.append.value_or(BodyEnd());
  const std::string eol = LineBreak();
  std::u16string keyLine(key);
  keyLine += u'=';
  keyLine += value;
  std::string insert = (at < BodyEnd() || EndsWithNewline()) ? "" : eol;
  if (!found.append) insert += Encode(u"[" + std::u16string(section) + u"]") + eol;
  insert += Encode(keyLine) + eol;
  m_strBytes.insert(at, insert);
}

bool ProfileFile::Save(const std::filesystem::path& path) const {
  std::filesystem::path temporary = path;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(m_strBytes.data(), static_cast<std::streamsize>(m_strBytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
  }
  return !error;
}

std::u16string ReadProfileString(const std::filesystem::path& path, std::u16string_view section,
                                 std::u16string_view key) {
  const std::optional<ProfileFile> file = ProfileFile::Load(path);
  return file ? file->GetString(section, key) : std::u16string();
}

bool WriteProfileString(const std::filesystem::path& path, std::u16string_view section, std::u16string_view key,
                        std::u16string_view value) {
  std::optional<ProfileFile> file = ProfileFile::Load(path);
  if (!file) return false;
  file->SetString(section, key, value);
  return file->Save(path);
}

}  // namespace vx
