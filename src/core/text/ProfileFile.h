// Reader and writer of profile files ("[section]" headers and "key=value" lines) in UTF-8 or UTF-16LE.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

// Holds the file's bytes unchanged; reads find values in them and writes splice new values into them,
// so every byte that a write does not concern stays as it was. Section and key names compare without
// regard to ASCII case; names and values are trimmed of blanks, and a value in quotes loses the quotes.
class ProfileFile {
 public:
  // Longest text a read hands out, in UTF-16 code units.
  static constexpr std::size_t kMaxValueLength = 255;

  ProfileFile() = default;
  static ProfileFile FromBytes(std::string bytes);
  // A missing file gives an empty profile; a file that exists but cannot be read gives nothing.
  static std::optional<ProfileFile> Load(const std::filesystem::path& path);

  // The value of key in section, cut to kMaxValueLength; empty when the section or key is missing.
  std::u16string GetString(std::u16string_view section, std::u16string_view key) const;
  // Replaces the value of key (adding the key, and the section, when missing) in the file's encoding.
  void SetString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  // Writes the bytes to a temporary file beside path and renames it over path.
  bool Save(const std::filesystem::path& path) const;

  const std::string& Bytes() const { return m_strBytes; }

 private:
  struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
  };
  struct Lookup {
    std::optional<Range> value;         // the key's value, quotes included
    std::optional<std::size_t> append;  // where a new key line of the section goes
  };

  explicit ProfileFile(std::string bytes);
  Lookup Find(std::u16string_view section, std::u16string_view key) const;
  char16_t UnitAt(std::size_t offset) const;
  std::size_t BodyEnd() const;
  std::size_t FindNewline(std::size_t offset) const;
  Range Trim(Range range) const;
  std::u16string Decode(Range range) const;
  std::string Encode(std::u16string_view text) const;
  std::string LineBreak() const;
  bool EndsWithNewline() const;

  std::string m_strBytes;
  std::size_t m_nBodyStart = 0;  // first byte after the byte-order mark
  std::size_t m_nUnitSize = 1;   // 1 for UTF-8, 2 for UTF-16LE
};

// Reads one value from the profile file at path; empty when the file, section or key is missing.
std::u16string ReadProfileString(const std::filesystem::path& path, std::u16string_view section,
                                 std::u16string_view key);
// Writes one value into the profile file at path, creating it when missing. Leaves a file that exists
// but cannot be read untouched and returns false.
bool WriteProfileString(const std::filesystem::path& path, std::u16string_view section, std::u16string_view key,
                        std::u16string_view value);

}  // namespace vx
