// The recordings of a demo card: which files, where in the DCIM tree, and what each one holds.
#pragma once

#include <string>
#include <vector>

#include "RecordingRecipe.h"

namespace vx::mkcard {

struct CardOptions {
  std::string root;
  int driveCount = 2;   // consecutive drive recordings in MP4
  int seconds = 10;     // length of each recording
  std::uint32_t seed = 1;
};

// Every recording of the card, with its path under root/DCIM.
std::vector<RecordingRecipe> PlanCard(const CardOptions& options);

// "YYYYMMDD_HHMMSS_T##.EXT", the camera's file name.
std::string RecordingName(const LocalTime& start, char type, int number, Container container);

}  // namespace vx::mkcard
