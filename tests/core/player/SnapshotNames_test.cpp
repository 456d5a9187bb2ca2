// Tests of the snapshot file names: the default name, and the front and rear files of the chosen name.
#include "core/player/SnapshotNames.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(SnapshotNames, DefaultNameReplacesTheRecordingsExtension) {
  EXPECT_EQ(SnapshotDefaultName("/media/card/DCIM/REC_0001.avi"), "/media/card/DCIM/REC_0001.jpg");
  EXPECT_EQ(SnapshotDefaultName(""), ".jpg");
  EXPECT_EQ(SnapshotDefaultName("a.b"), ".jpg");
  EXPECT_EQ(SnapshotDefaultName("/카드/주행.MP4"), "/카드/주행.jpg") << "characters, not bytes";
  EXPECT_EQ(SnapshotDefaultName("/x/영상녹화"), "/x/.jpg");
}

TEST(SnapshotNames, ChosenNameLosesItsWholeExtension) {
  EXPECT_EQ(SnapshotFileNames("/media/card/DCIM/REC_0001.jpg").front, "/media/card/DCIM/REC_0001_front.jpg");
  EXPECT_EQ(SnapshotFileNames("/media/card/DCIM/REC_0001.jpg").rear, "/media/card/DCIM/REC_0001_rear.jpg");
  EXPECT_EQ(SnapshotFileNames("/d/snap").front, "/d/snap_front.jpg");
  EXPECT_EQ(SnapshotFileNames("/d/snap.jpeg").front, "/d/snap_front.jpg") << "not snap._front.jpg";
  EXPECT_EQ(SnapshotFileNames("/d/snap.jpeg").rear, "/d/snap_rear.jpg");
  EXPECT_EQ(SnapshotFileNames("/d/snap.tar.jpg").front, "/d/snap.tar_front.jpg");
  EXPECT_EQ(SnapshotFileNames("/d.v1/snap").front, "/d.v1/snap_front.jpg") << "a dot in a folder is no extension";
  EXPECT_EQ(SnapshotFileNames("/d/.jpg").front, "/d/_front.jpg");
}

}  // namespace
}  // namespace vx
