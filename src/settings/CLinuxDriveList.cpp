// Removable volumes from the mount table, the swap areas and sysfs; mount changes from poll() on the mount table.
#include "settings/CLinuxDriveList.h"

#include <QFile>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace vx {

CLinuxDriveList::CLinuxDriveList(Paths paths, QObject* parent) : IDriveList(parent), m_paths(std::move(paths)) {
  m_nMountsFd = ::open(m_paths.mounts.c_str(), O_RDONLY | O_CLOEXEC);
  if (m_nMountsFd < 0) return;  // no change events then; the lists are still read on demand
  // A change shows as an exceptional condition (POLLPRI) on the file, never as plain readability.
  m_pNotifier = new QSocketNotifier(m_nMountsFd, QSocketNotifier::Exception, this);
  connect(m_pNotifier, &QSocketNotifier::activated, this, &IDriveList::MountsChanged);
}

CLinuxDriveList::~CLinuxDriveList() {
  delete m_pNotifier;
  if (m_nMountsFd >= 0) ::close(m_nMountsFd);
}

namespace {

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

std::vector<MountEntry> CLinuxDriveList::ReadMounts() const { return ParseMountInfo(ReadText(m_paths.mountInfo)); }

QStringList CLinuxDriveList::RemovableVolumes() const {
  QStringList volumes;
  const std::vector<SwapArea> swaps = ParseSwaps(ReadText(m_paths.swaps));
  for (const std::string& point : RemovableMountPoints(ReadMounts(), swaps, m_paths.sysRoot)) {
    volumes.append(QFile::decodeName(QByteArray::fromStdString(point)));
  }
  return volumes;
}

QString CLinuxDriveList::MountPointOf(const QString& absolutePath) const {
  const std::string path = QFile::encodeName(absolutePath).toStdString();
  return QFile::decodeName(QByteArray::fromStdString(MountPointHolding(ReadMounts(), path)));
}

}  // namespace vx
