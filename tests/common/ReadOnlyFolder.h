// A folder that refuses writes for the rest of the test, also to root: a write-protected card.
#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
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
    if (m_strError.empty() && !Refuses()) m_strError = m_dir.string() + " still takes writes";
  }
  ~ReadOnlyFolder() {
    if (m_bMounted) ::umount2(m_dir.c_str(), MNT_DETACH);
    std::error_code ec;
    std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  // Empty when the folder really refuses writes; otherwise why it could not be made to.
  const std::string& Error() const { return m_strError; }

 private:
  std::string MountReadOnly() {
    static const int unshared = ::unshare(CLONE_NEWNS) == 0 &&
                                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : errno;
    if (unshared != 0) return std::string("no private mount namespace: ") + std::strerror(unshared);
    if (::mount(m_dir.c_str(), m_dir.c_str(), nullptr, MS_BIND, nullptr) != 0) return Failed("bind mount");
    m_bMounted = true;
    if (::mount(nullptr, m_dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
      return Failed("read-only remount");
    }
    return {};
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

  bool Refuses() const {
    const std::filesystem::path probe = m_dir / ".write-probe";
    std::FILE* f = std::fopen(probe.c_str(), "wb");
    if (!f) return true;
    std::fclose(f);
    std::filesystem::remove(probe);
    return false;
  }

  std::string Failed(const char* step) const {
    const int error = errno;
    return std::string(step) + " of " + m_dir.string() + ": " + std::strerror(error);
  }

  std::filesystem::path m_dir;
  bool m_bMounted = false;
  std::string m_strError;
};

}  // namespace vx::test
