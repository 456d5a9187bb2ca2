// Replacing the beginning of a file through a temporary copy, a flush and a rename.
#include "core/settings/SafeFileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTemporaryInfix = ".tmp-";
constexpr std::chrono::minutes kStaleTemporaryAge{1};

// Owns one open file descriptor.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return m_fd; }
  bool Valid() const { return m_fd >= 0; }
  // Closes now and reports the close's own error (0 when it succeeded): a failed close can mean lost data.
  int Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int m_fd;
};

FileWriteResult Fail(int error, const char* step) { return {error, step}; }

// Writes every byte, across short writes and interruptions; 0 or the errno value.
int WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

// Appends to `to` what `from` holds from `offset` to its end, in bounded chunks; 0 or the errno value.
int CopyTail(int from, off_t offset, int to) {
  std::array<std::uint8_t, 64 * 1024> chunk{};
  for (;;) {
    const ssize_t n = ::pread(from, chunk.data(), chunk.size(), offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    if (const int error = WriteAll(to, chunk.data(), static_cast<std::size_t>(n))) return error;
    offset += n;
  }
}

// A new file beside `path` with a name no other save uses; its mode follows the process's umask.
FileDescriptor CreateTemporary(const std::filesystem::path& path, std::string& tempPath) {
  static std::atomic<unsigned> s_nCounter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path.string() + kTemporaryInfix + std::to_string(::getpid()) + "-" + std::to_string(stamp) + "-" +
               std::to_string(s_nCounter++);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return FileDescriptor(fd);
  }
  return FileDescriptor(-1);
}

// Fills the temporary file with head and the old file's tail, gives it the old file's mode and flushes it.
FileWriteResult FillTemporary(FileDescriptor& temp, const FileDescriptor& old, const struct stat& oldStat,
                              std::span<const std::uint8_t> head) {
  if (const int error = WriteAll(temp.Get(), head.data(), head.size())) return Fail(error, "writing the new copy");
  if (old.Valid()) {
    if (const int error = CopyTail(old.Get(), static_cast<off_t>(head.size()), temp.Get())) {
      return Fail(error, "copying the rest of the old file");
    }
    // File systems without modes (FAT cards) refuse this; the content is what matters.
    (void)::fchmod(temp.Get(), oldStat.st_mode & 07777);
  }
  if (::fsync(temp.Get()) != 0) return Fail(errno, "flushing the new copy to the device");
  if (const int error = temp.Close()) return Fail(error, "closing the new copy");
  return {};
}

fs::path FolderOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

}  // namespace

std::string FileWriteResult::Describe() const {
  if (error == 0) return {};
  return step + ": " + std::generic_category().message(error);
}

FileWriteResult ReplaceFileHead(const std::filesystem::path& path, std::span<const std::uint8_t> head) {
  // Non-blocking, so that a FIFO standing where the file should be cannot stall the save.
  const FileDescriptor old(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!old.Valid() && errno != ENOENT) return Fail(errno, "opening the old file");
  struct stat oldStat {};
  if (old.Valid() && ::fstat(old.Get(), &oldStat) != 0) return Fail(errno, "examining the old file");
  if (old.Valid() && !S_ISREG(oldStat.st_mode)) return Fail(EINVAL, "the old file is not a regular file");

  std::string tempPath;
  FileDescriptor temp = CreateTemporary(path, tempPath);
  if (!temp.Valid()) return Fail(errno, "creating the new copy");
  FileWriteResult result = FillTemporary(temp, old, oldStat, head);
  // Opened before the rename: once the new file has taken the old one's place, no step is left that can fail.
  const FileDescriptor folder(result ? ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1);
  if (result && !folder.Valid()) result = Fail(errno, "opening the folder to flush it");
  if (result && ::rename(tempPath.c_str(), path.c_str()) != 0) result = Fail(errno, "replacing the old file");
  if (!result) {
    ::unlink(tempPath.c_str());
    return result;
  }
  // Makes the rename durable where the file system can flush a folder. The card already holds the new file
  // whatever this says, so the save stands; the system writes the folder back in its own time otherwise.
  (void)::fsync(folder.Get());
  return {};
}

void RemoveStaleTemporaries(const fs::path& path) {
  const std::string prefix = path.filename().string() + kTemporaryInfix;
  const auto staleBefore = fs::file_time_type::clock::now() - kStaleTemporaryAge;
  std::error_code error;
  for (fs::directory_iterator entry(FolderOf(path), error), end; !error && entry != end; entry.increment(error)) {
    const bool temporary = entry->path().filename().string().starts_with(prefix) &&
                           entry->symlink_status(error).type() == fs::file_type::regular;
    if (temporary && entry->last_write_time(error) < staleBefore && !error) fs::remove(entry->path(), error);
    error.clear();  // one file that cannot be examined or removed does not stop the others
  }
}

}  // namespace vx
