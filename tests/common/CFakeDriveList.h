// A drive list for tests: the removable volumes are whatever the test says, and it announces mount changes
// when the test changes them.
#pragma once

#include "settings/IDriveList.h"

namespace vx::test {

class CFakeDriveList : public IDriveList {
 public:
  explicit CFakeDriveList(QStringList volumes = {}) : m_volumes(std::move(volumes)) {}

  QStringList RemovableVolumes() const override { return m_volumes; }

  // The deepest volume holding the path, else "/".
  QString MountPointOf(const QString& absolutePath) const override {
    QString holder = QStringLiteral("/");
    for (const QString& volume : m_volumes) {
      const bool inside = absolutePath.startsWith(volume) || absolutePath + QLatin1Char('/') == volume;
      if (inside && volume.size() > holder.size()) holder = volume;
    }
    return holder;
  }

  // A card was inserted or removed.
  void SetVolumes(QStringList volumes) {
    m_volumes = std::move(volumes);
    emit MountsChanged();
  }

 private:
  QStringList m_volumes;
};

}  // namespace vx::test
