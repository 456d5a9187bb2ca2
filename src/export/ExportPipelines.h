// The two ways of exporting a plan: re-encoded with the facts on the picture, or the original streams copied.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/export/ExportPlan.h"
#include "core/export/OverlayText.h"
#include "export/ExportStreams.h"

namespace vx {

enum class RearLayout { PictureInPicture, SideBySide, None };

// Milliseconds of the span written so far and in all; called on the caller's thread.
using ExportProgress = std::function<void(std::int64_t doneMs, std::int64_t totalMs)>;

struct PipelineJob {
  const ExportPlan* plan = nullptr;
  RecordingStreams streams;             // of the first piece; every piece of a trip has the same
  std::vector<OverlaySource> overlays;  // one per piece
  RearLayout rear = RearLayout::PictureInPicture;
  bool sound = true;
  ExportProgress progress;
  const std::atomic<bool>* cancel = nullptr;
};

struct PipelineOutcome {
  bool ok = false;
  bool cancelled = false;
  std::string error;                  // what went wrong, naming the folder when writing failed
  std::int64_t widenedEarlierMs = 0;  // copies: how far before the span the first key frame lies
  std::int64_t writtenMs = 0;         // the running time of the last frame written
};

// One MP4 (H.264, AAC unless sound is left out) at `outPath`, the overlay on every frame.
PipelineOutcome RunReencode(const PipelineJob& job, const std::string& outPath);

// Each camera's stream as it is in the original container: `outPaths` front, then rear; sound goes with the
// front. The span starts at the key frame before it.
PipelineOutcome RunCopy(const PipelineJob& job, const std::vector<std::string>& outPaths);

}  // namespace vx
