// The card walk's recordings: a rear file whose front file is there is part of that front, not a recording.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ToolRunner.h"
#include "core/cardindex/CardRecordings.h"

namespace vx {
namespace {

struct Case {
  const char* name;
  std::vector<std::string> files;    // made empty below the card; a name ending in '/' is a folder
  std::vector<std::string> listed;   // what the walk finds, relative to the card
};

TEST(CardRecordings, ARearFileWithItsFrontIsNoRecordingOfItsOwn) {
  const Case cases[] = {
      {"pair by name", {"A_NF.MP4", "A_NR.MP4"}, {"A_NF.MP4"}},
      {"pair by folder", {"Front/A.MP4", "Rear/A.MP4", "REAR/B.MP4"}, {"Front/A.MP4", "REAR/B.MP4"}},
      {"a rear file whose front is missing stays", {"A_NF.MP4", "B_NR.MP4", "Rear/C.MP4"},
       {"A_NF.MP4", "B_NR.MP4", "Rear/C.MP4"}},
      {"a folder named as the front is no front", {"A_NF.MP4/", "A_NR.MP4"}, {"A_NR.MP4"}},
      {"the camera's own names pair with nothing", {"20261206_101500_E01.AVI", "20261206_101500_D01.AVI"},
       {"20261206_101500_D01.AVI", "20261206_101500_E01.AVI"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::TempDir card("card-recordings");
    for (const std::string& file : c.files) {
      const std::filesystem::path path = card.Path() / file;
      std::filesystem::create_directories(file.ends_with('/') ? path : path.parent_path());
      if (!file.ends_with('/')) std::ofstream(path) << "x";
    }
    std::vector<std::string> listed;
    for (const std::string& path : RecordingsBelow(card.Path().string())) {
      listed.push_back(std::filesystem::relative(path, card.Path()).string());
    }
    EXPECT_EQ(listed, c.listed);
  }
}

}  // namespace
}  // namespace vx
