// The folder search worker: a depth-first walk with openat, never through links to folders.
#include "player/CFolderSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cstring>
#include <unordered_map>

#include "core/player/RecordingNames.h"
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
  // The whole listing first: a front file's rear partner in the same folder is then found by name.
  std::unordered_map<std::string, unsigned char> listing;
  std::vector<std::string> names;
  while (!m_bCancelled.load(std::memory_order_relaxed)) {
    const dirent* entry = ::readdir(dir);
    if (!entry) break;
    if (IsDotOrDotDot(entry->d_name)) continue;
    names.emplace_back(entry->d_name);
    listing.emplace(names.back(), entry->d_type);
  }
  const auto isRegularFile = [&](const std::string& partner) {
    if (!partner.starts_with(prefix) || partner.find('/', prefix.size()) != std::string::npos) {
      return IsRegularFile(partner);  // a Front folder's partner in its Rear sibling
    }
    const auto found = listing.find(partner.substr(prefix.size()));
    if (found == listing.end()) return false;
    return found->second == DT_REG || (found->second != DT_DIR && IsRegularFile(partner));
  };
  for (const std::string& name : names) {
    if (m_bCancelled.load(std::memory_order_relaxed)) break;
    const std::string child = prefix + name;
    Examine(child);
    const unsigned char type = TypeOf(::dirfd(dir), name.c_str(), listing[name]);
    if (type == DT_DIR) {
      // O_NOFOLLOW: a folder swapped for a link since the listing is not entered either.
      const int childFd = ::openat(::dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (childFd >= 0) SearchDirectory(childFd, child);
    } else if ((type == DT_REG || type == DT_LNK) && IsListedRecording(name)) {
      RecordingPair pair = PairOf(child, isRegularFile);
      if (pair.rowPath == child) AddRecording(::dirfd(dir), name.c_str(), child, std::move(pair.partnerPath));
    }
  }
  ::closedir(dir);
}

void CFolderSearch::Examine(const std::string& path) {
  const std::lock_guard lock(m_examinedLock);
  m_strExamined = path;
}

void CFolderSearch::AddRecording(int dirFd, const char* name, const std::string& path, std::string partnerPath) {
  struct statx info {};
  const bool known = QueryRecordingFile(dirFd, name, info);
  if (known && S_ISDIR(info.stx_mode)) return;  // a link to a folder, named like a recording
  m_batch.push_back(RecordingEntryOf(path, known ? &info : nullptr, m_zoneBias));
  m_batch.back().partnerFilePath = std::move(partnerPath);
  if (m_batch.size() >= kBatchRows) SendRows();
}

void CFolderSearch::SendRows() {
  if (m_batch.empty()) return;
  emit rowsFound(std::move(m_batch));
  m_batch.clear();
}

}  // namespace vx
