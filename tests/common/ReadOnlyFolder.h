// A folder that refuses writes for the rest of the test, also to root: a write-protected card.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace vx::test {

// Root writes through file permissions, so for root the folder becomes a read-only bind mount of itself
// in a mount namespace of this process's own (gone with the process, invisible to the rest of the
// machine). Other users get the folder and its files without write permission.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::filesystem::path dir) : m_dir(std::move(dir)) {
    m_strError = ::geteuid() == 0 ? MountReadOnly() : RemoveWritePermission();
    if (m_strError.empty() && ::access(m_dir.c_str(), W_OK) == 0) m_strError = m_dir.string() + " takes writes";
  }
  ~ReadOnlyFolder() {
    if (m_bMounted) ::umount2(m_dir.c_str(), MNT_DETACH);
    std::error_code ec;
    std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ec);
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  // Empty when the folder really refuses writes; otherwise why it could not be made to.
  const std::string& Error() const { return m_strError; }

 private:
  std::string MountReadOnly() {
    static const bool unshared =
        ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    m_bMounted = unshared && ::mount(m_dir.c_str(), m_dir.c_str(), nullptr, MS_BIND, nullptr) == 0;
    const unsigned long readOnly = MS_REMOUNT | MS_BIND | MS_RDONLY;
    if (m_bMounted && ::mount(nullptr, m_dir.c_str(), nullptr, readOnly, nullptr) == 0) return {};
    return "read-only bind mount of " + m_dir.string() + ": " + std::strerror(errno);
  }

  std::string RemoveWritePermission() {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(m_dir, ec)) {
      fs::permissions(entry.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove, ec);
    }
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec, ec);
    return ec ? "chmod: " + ec.message() : std::string();
  }

  std::filesystem::path m_dir;
  bool m_bMounted = false;
  std::string m_strError;
};

}  // namespace vx::test
