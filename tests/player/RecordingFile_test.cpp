// Tests of rows built from single files: a file that cannot be queried, names in any encoding, and the
// computer's own offset from UTC with its summer time.
#include "player/RecordingFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "CatalogueTree.h"
#include "TestTime.h"
#include "ToolRunner.h"

namespace vx {
namespace {

constexpr std::int64_t kJanuary2026 = 1'768'478'400;  // 2026-01-15 12:00 UTC
constexpr std::int64_t kJuly2026 = 1'784'116'800;     // 2026-07-15 12:00 UTC

TEST(RecordingFile, LocalOffsetIncludesSummerTime) {
  const struct {
    const char* zone;
    int january, july;
  } zones[] = {{"CET-1CEST,M3.5.0,M10.5.0/3", 60, 120}, {"ACST-9:30ACDT,M10.1.0,M4.1.0/3", 630, 570},
               {"EST5EDT,M3.2.0,M11.1.0", -300, -240}};
  for (const auto& z : zones) {
    const test::ScopedComputerZone zone(z.zone);
    EXPECT_EQ(LocalOffsetMinutes(kJanuary2026), z.january) << z.zone;
    EXPECT_EQ(LocalOffsetMinutes(kJuly2026), z.july) << z.zone;
  }
}

TEST(RecordingFile, FileThatCannotBeQueriedKeepsWhatItsPathSays) {
  const RecordingEntry row = MakeRecordingEntry("/nonexistent/card/20261206_101500_P01.AVI", std::nullopt);
  EXPECT_EQ(row.path, u"/nonexistent/card/20261206_101500_P01.AVI");
  EXPECT_EQ(row.event, u"Parking");
  EXPECT_EQ(row.date, u"26.12.06") << "the camera's time in the name";
  EXPECT_TRUE(row.size.empty() && !row.bytes);
  EXPECT_TRUE(MakeRecordingEntry("/nonexistent/card/a.AVI", std::nullopt).date.empty());
}

// Names in the card's own characters, and names valid in no encoding, which only their bytes open.
TEST(RecordingFile, PathBytesAreKeptWhateverTheirEncoding) {
  test::TempDir dir("recording-file");
  for (const std::string name : {"주행_D01.AVI", "\xff\xfe.MP4", "\xc3\x28_E01.AVI"}) {
    const std::string path = dir / name;
    test::MakeFile(path, 1'048'576);
    const RecordingEntry row = MakeRecordingEntry(path, 0);
    EXPECT_EQ(row.filePath, path);
    EXPECT_EQ(row.size, u"1.0") << "queried by its bytes";
    EXPECT_FALSE(row.fileName.empty());
  }
  EXPECT_EQ(MakeRecordingEntry(dir / "주행_D01.AVI", 0).fileName, u"주행_D01.AVI");
}

}  // namespace
}  // namespace vx
