// The computer's drives as the viewer needs them: the mounted removable volumes and word of mount changes.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace vx {

// The drive selection lists RemovableVolumes(). The main window stops playback when the card of the playing
// file goes away: it keeps MountPointOf(file) when the file starts, and on MountsChanged() compares it with
// MountPointOf(file) again; a different answer means the card's file system is gone (or another one took its
// place). CLinuxDriveList reads the computer's mount table; tests use a fake that emits MountsChanged() itself.
class IDriveList : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Mount points of the mounted removable volumes (SD card slots, card readers, USB sticks), each ending with
  // "/", sorted. Fixed disks, USB hard disks included, are not listed.
  virtual QStringList RemovableVolumes() const = 0;
  // The mount point (ending with "/") of the file system that holds an absolute path, decided from the mount
  // table and the path's text alone: the path is never touched, so a removed card cannot make this block.
  virtual QString MountPointOf(const QString& absolutePath) const = 0;

 signals:
  // The mount table changed: a volume was mounted or unmounted. Emitted on the thread the object lives in.
  void MountsChanged();
};

}  // namespace vx
