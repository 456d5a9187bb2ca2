// A day on the road: morning drives and an event in MP4, noon recordings in AVI, an evening drive without
// GPS logging, one cut short by a power loss, and a night in the car park.
#include "CardPlan.h"

#include <algorithm>
#include <cstdio>

#include "RiffAviWriter.h"

namespace vx::mkcard {
namespace {

constexpr LocalTime kCardDay{2026, 12, 6, 0, 0, 0};

// Seconds after midnight of the card's day; past 24 hours is the next day.
constexpr long long At(int hour, int minute, long long second) { return hour * 3600LL + minute * 60LL + second; }

// The container with the camera's codecs for it: H.264 and AAC in MP4, Motion JPEG and PCM in AVI.
void UseContainer(RecordingRecipe& recipe, Container container) {
  recipe.container = container;
  recipe.codec = container == Container::Mp4 ? VideoCodec::H264 : VideoCodec::Mjpeg;
  recipe.audio = container == Container::Mp4 ? AudioKind::Aac : AudioKind::Pcm;
}

struct Planner {
  const CardOptions& options;
  std::vector<RecordingRecipe> recipes;
  int numbers[3] = {0, 0, 0};  // per type D, E, P
  long long end = 0;           // when the last recording planned so far ends

  // A recording at `start`, or when the one before it ends if that is later: the camera records one at a time.
  RecordingRecipe& Add(const char* folder, char type, Container container, long long start) {
    const int slot = type == 'D' ? 0 : type == 'E' ? 1 : 2;
    start = std::max(start, end);
    end = start + options.seconds;
    RecordingRecipe recipe;
    recipe.drive.seconds = options.seconds;
    UseContainer(recipe, container);
    // A recording too long for what an AVI file can hold is written as MP4.
    if (container == Container::Avi && EstimatedAviSize(recipe) > kMaxRiffFileSize) {
      UseContainer(recipe, Container::Mp4);
    }
    recipe.drive.start = ShiftSeconds(kCardDay, start);
    recipe.path = options.root + "/DCIM/" + folder + "/" +
                  RecordingName(recipe.drive.start, type, ++numbers[slot], recipe.container);
    recipe.drive.seed = options.seed * 977u + static_cast<std::uint32_t>(recipes.size());
    recipes.push_back(recipe);
    return recipes.back();
  }

  // Makes `recipe` the part of a trip that began `secondsBefore` earlier, in the previous recording's trip.
  void Continue(RecordingRecipe& recipe, int secondsBefore) {
    recipe.drive.tripSecondsBefore = secondsBefore;
    if (secondsBefore == 0) return;
    recipe.drive.seed = recipes[recipes.size() - 2].drive.seed;
    recipe.drive.brakeTripMs = recipes[recipes.size() - 2].drive.brakeTripMs;
  }
};

}  // namespace

std::string RecordingName(const LocalTime& start, char type, int number, Container container) {
  char name[40];
  std::snprintf(name, sizeof name, "%04d%02d%02d_%02d%02d%02d_%c%02d.%s", start.year, start.month, start.day,
                start.hour, start.minute, start.second, type, number % 100,
                container == Container::Mp4 ? "MP4" : "AVI");
  return name;
}

std::vector<RecordingRecipe> PlanCard(const CardOptions& options) {
  Planner plan{options, {}};
  const int s = options.seconds;
  for (int i = 0; i < options.driveCount; ++i) {
    RecordingRecipe& drive = plan.Add("100DRIVE", 'D', Container::Mp4, At(8, 15, 1LL * i * s));
    plan.Continue(drive, i * s);
    if (i == 0 && s >= 6) {
      drive.drive.signalLossFrom = s / 2;
      drive.drive.signalLossSeconds = 2;
    }
    // The morning's trip has an emergency stop, well inside its first recording.
    if (i == 0 && s >= 4) drive.drive.brakeTripMs = s * 200;
  }
  RecordingRecipe& crash = plan.Add("101EVENT", 'E', Container::Mp4, At(8, 15, 1LL * options.driveCount * s));
  plan.Continue(crash, options.driveCount * s);
  crash.drive.impactMs = s * 500;
  plan.Add("100DRIVE", 'D', Container::Avi, At(12, 0, 0));
  RecordingRecipe& bump = plan.Add("101EVENT", 'E', Container::Avi, At(12, 0, s));
  plan.Continue(bump, s);
  bump.drive.impactMs = s * 400;
  plan.Add("100DRIVE", 'D', Container::Mp4, At(17, 30, 0)).telemetry = false;
  plan.Add("100DRIVE", 'D', Container::Mp4, At(18, 45, 0)).cutFraction = 0.6;
  RecordingRecipe& parked = plan.Add("102PARK", 'P', Container::Mp4, At(23, 10, 0));
  parked.streams = 1;
  parked.drive.parked = true;
  parked.drive.impactMs = s * 300;
  return plan.recipes;
}

}  // namespace vx::mkcard
