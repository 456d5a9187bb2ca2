// The snapshot command (button 1017, Print Screen): the front picture, and the rear one of a two-stream
// recording, saved as JPEG files named after one name the user chooses, with the time and place of the frame.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "core/telemetry/TelemetryTrack.h"
#include "core/views/ViewZoom.h"

class QWidget;

namespace vx {

class CPlaybackEngine;

// The questions the command asks; tests answer them without windows.
struct SnapshotPrompts {
  // The save dialog: the chosen path, or nothing when cancelled.
  std::function<std::optional<QString>(QWidget* parent, const QString& defaultName)> chooseFile;
  // Asked only when some of the files to be written exist already: true replaces them.
  std::function<bool(QWidget* parent, const QStringList& existing)> confirmReplace;
  // A file that could not be written, with the reason, one line each.
  std::function<void(QWidget* parent, const QStringList& failures)> reportFailures;
};

// The save dialog ("jpeg file (*.jpg)", no default extension; its own overwrite question is off because the
// files written are not the name typed), a yes/no question and a warning box.
SnapshotPrompts StandardSnapshotPrompts();

// The parts of the front and rear pictures that zoomed views show; nothing for a view showing it all.
struct SnapshotZooms {
  std::optional<PictureRegion> front;
  std::optional<PictureRegion> rear;
};

enum class SnapshotOutcome { NotTaken, Cancelled, Declined, Written, Failed };

struct SnapshotResult {
  SnapshotOutcome outcome = SnapshotOutcome::NotTaken;
  QStringList written;  // files written in full
};

// Takes a snapshot of a Running or Paused recording (anything else: nothing happens). The recording is paused
// while the user chooses; the pictures are grabbed before the dialog, so they are written even when the
// recording is closed meanwhile (a card pulled out), and playback resumes afterwards only if it was running
// and the same recording is still loaded. `playingPath` is the recording file of the playing row: the default
// name is that path with ".jpg" for its extension. Both pictures carry EXIF of the frame's moment: its date and
// time, and from `telemetry` the place, speed and heading of the nearest fix. A picture with a part in `zooms`
// is also saved as that part alone, at the picture's own resolution, beside the whole ("NAME_front-zoom.jpg").
SnapshotResult TakeSnapshot(CPlaybackEngine& engine, QWidget* parent, const QString& playingPath,
                            const TelemetryTrack& telemetry, const SnapshotZooms& zooms,
                            const SnapshotPrompts& prompts = StandardSnapshotPrompts());

}  // namespace vx
