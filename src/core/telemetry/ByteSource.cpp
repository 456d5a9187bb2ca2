// Bounds-checked reads from memory and from files.
#include "core/telemetry/ByteSource.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

bool MemoryByteSource::Read(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (offset > m_bytes.size() || out.size() > m_bytes.size() - offset) return false;
  if (out.empty()) return true;  // an empty span may carry a null pointer, which memcpy must not see
  std::memcpy(out.data(), m_bytes.data() + offset, out.size());
  return true;
}

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path, std::string& error) {
  // Opened without blocking and checked before any read: a FIFO or a device named as a recording would
  // otherwise wait forever for a writer or for data.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  std::FILE* file = nullptr;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "not a regular file";
  } else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 || !(file = fdopen(fd, "rb"))) {
    error = std::strerror(errno);
  }
  if (!file) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<FileByteSource>(new FileByteSource(file, static_cast<std::uint64_t>(st.st_size)));
}

bool FileByteSource::Read(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (offset > m_nSize || out.size() > m_nSize - offset) return false;
  if (fseeko(m_file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return false;
  return std::fread(out.data(), 1, out.size(), m_file.get()) == out.size();
}

}  // namespace vx
