// Removable volumes from the mount table and sysfs; mount changes from poll() on the mount table.
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

std::vector<MountEntry> CLinuxDriveList::ReadMounts() const {
  std::ifstream in(m_paths.mountInfo, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  return ParseMountInfo(text);
}

QStringList CLinuxDriveList::RemovableVolumes() const {
  QStringList volumes;
  for (const std::string& point : RemovableMountPoints(ReadMounts(), m_paths.sysRoot)) {
    volumes.append(QFile::decodeName(QByteArray::fromStdString(point)));
  }
  return volumes;
}

QString CLinuxDriveList::MountPointOf(const QString& absolutePath) const {
  const std::string path = QFile::encodeName(absolutePath).toStdString();
  return QFile::decodeName(QByteArray::fromStdString(MountPointHolding(ReadMounts(), path)));
}

}  // namespace vx
