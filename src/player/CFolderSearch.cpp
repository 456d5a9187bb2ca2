// The folder search worker: a depth-first walk with openat, never through links to folders.
#include "player/CFolderSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cstring>

#include "core/player/RecordingRules.h"
#include "player/RecordingFile.h"

namespace vx {
namespace {

// Rows sent to the list at a time: few queued events for a large card, rows on screen soon for a small one.
constexpr std::size_t kBatchRows = 256;

bool IsDotOrDotDot(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// The entry's type without following a link, when the folder listing does not give it.
unsigned char TypeOf(int dirFd, const char* name, unsigned char listed) {
  if (listed != DT_UNKNOWN) return listed;
  struct statx info {};
  if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE, &info) != 0) return DT_UNKNOWN;
  if (S_ISDIR(info.stx_mode)) return DT_DIR;
  if (S_ISLNK(info.stx_mode)) return DT_LNK;
  return S_ISREG(info.stx_mode) ? DT_REG : DT_UNKNOWN;
}

}  // namespace

CFolderSearch::CFolderSearch(const QString& folder, std::optional<int> zoneBias)
    : m_strFolder(QFile::encodeName(folder).toStdString()), m_zoneBias(zoneBias) {}

CFolderSearch::~CFolderSearch() {
  Cancel();
  Wait();
}

void CFolderSearch::Start() { m_worker = std::thread([this] { Run(); }); }

void CFolderSearch::Cancel() { m_bCancelled = true; }

void CFolderSearch::Wait() {
  if (m_worker.joinable()) m_worker.join();
}

QString CFolderSearch::ExaminedPath() const {
  const std::lock_guard lock(m_examinedLock);
  return QFile::decodeName(QByteArray::fromStdString(m_strExamined));
}

void CFolderSearch::Run() {
  const int root = ::open(m_strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (root >= 0) SearchDirectory(root, m_strFolder);
  SendRows();
  m_bFinished = true;
  emit finished();
}

void CFolderSearch::SearchDirectory(int dirFd, const std::string& path) {
  DIR* dir = ::fdopendir(dirFd);
  if (!dir) {
    ::close(dirFd);
    return;
  }
  const std::string prefix = path.ends_with('/') ? path : path + '/';
  while (!m_bCancelled.load(std::memory_order_relaxed)) {
    const dirent* entry = ::readdir(dir);
    if (!entry) break;
    const char* name = entry->d_name;
    const std::string child = prefix + name;
    Examine(child);
    if (IsDotOrDotDot(name)) continue;
    const unsigned char type = TypeOf(::dirfd(dir), name, entry->d_type);
    if (type == DT_DIR) {
      // O_NOFOLLOW: a folder swapped for a link since the listing is not entered either.
      const int childFd = ::openat(::dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (childFd >= 0) SearchDirectory(childFd, child);
    } else if ((type == DT_REG || type == DT_LNK) && HasRecordingExtension(name)) {
      AddRecording(::dirfd(dir), name, child);
    }
  }
  ::closedir(dir);
}

void CFolderSearch::Examine(const std::string& path) {
  const std::lock_guard lock(m_examinedLock);
  m_strExamined = path;
}

void CFolderSearch::AddRecording(int dirFd, const char* name, const std::string& path) {
  struct statx info {};
  const bool known = QueryRecordingFile(dirFd, name, info);
  if (known && S_ISDIR(info.stx_mode)) return;  // a link to a folder, named like a recording
  m_batch.push_back(RecordingEntryOf(path, known ? &info : nullptr, m_zoneBias));
  if (m_batch.size() >= kBatchRows) SendRows();
}

void CFolderSearch::SendRows() {
  if (m_batch.empty()) return;
  emit rowsFound(std::move(m_batch));
  m_batch.clear();
}

}  // namespace vx
