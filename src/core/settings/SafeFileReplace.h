// Replacing the beginning of a file so that a crash or a full card never leaves it half written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace vx {

// The outcome of a file replacement: error 0 when it succeeded, else the errno value and the step that failed.
struct FileWriteResult {
  int error = 0;
  std::string step;  // what was being done, e.g. "writing the new copy"

  explicit operator bool() const { return error == 0; }
  // "<step>: <the system's text for error>", empty on success.
  std::string Describe() const;
};

// Makes `path` hold `head` followed by the bytes the old file held beyond head.size(), if any.
// The new content goes to a uniquely named file in the same folder ("<name>.tmp-..."); every write is checked,
// the file is flushed to the device, renamed over `path` and the folder is flushed. At every moment `path` is
// either the complete old file or the complete new one; a failure removes the temporary file and leaves `path`
// alone, and success is reported exactly when `path` was replaced.
FileWriteResult ReplaceFileHead(const std::filesystem::path& path, std::span<const std::uint8_t> head);

// Removes the temporary files of ReplaceFileHead(path) that were last written more than a minute ago: saves
// killed before their rename left them. A save still running finishes far sooner, so its file stays.
void RemoveStaleTemporaries(const std::filesystem::path& path);

}  // namespace vx
