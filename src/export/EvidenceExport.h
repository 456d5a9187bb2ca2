// An export from plan to files: the pipeline, the GPX of the span and the manifest with every SHA-256.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "core/export/ExportPlan.h"
#include "core/telemetry/MomentReadout.h"
#include "export/ExportPipelines.h"

namespace vx {

struct ExportRequest {
  ExportPlan plan;
  ExportSpan span;           // as asked, for the manifest
  std::string cardRoot;      // originals are named relative to it
  std::string outPath;       // "clip.mp4"; copies become "clip_front.MP4" and "clip_rear.MP4"
  RearLayout rear = RearLayout::PictureInPicture;
  bool sound = true;
  bool copy = false;
  SpeedUnit unit = SpeedUnit::Kmh;
  std::optional<int> zoneMinutes;
  std::string viewer;        // "vx880-export 0.1.0"
};

struct ExportReport {
  bool ok = false;
  bool cancelled = false;
  std::string error;
  std::vector<std::string> written;  // the exported files, the GPX and the manifest
  std::vector<std::string> notes;    // what the export leaves out or changed, as the manifest states it
  std::string widening;              // how copying whole key-frame intervals changed the span; "as marked"
};

// Runs the export on the calling thread (the window runs it on a worker); `cancel` may be set meanwhile.
ExportReport ExportEvidence(const ExportRequest& request, const ExportProgress& progress,
                            const std::atomic<bool>* cancel);

// "clip.manifest.txt" beside "clip.mp4".
std::string ManifestPathOf(const std::string& outPath);

}  // namespace vx
