// Names of the snapshot files: the save dialog's default name and the front and rear files of a chosen name,
// with the files of their zoomed parts.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// The recording's path with its last four characters (".AVI", ".MP4") replaced by ".jpg"; a path of four
// characters or fewer gives ".jpg". Paths are UTF-8; characters, not bytes, are counted.
std::string SnapshotDefaultName(std::string_view recordingPath);

// The chosen path without the extension of its file name, whatever its length ("snap.jpeg" -> "snap");
// a name without an extension stays as it is.
std::string SnapshotBaseName(std::string_view chosenPath);

struct SnapshotFiles {
  std::string front;  // base + "_front.jpg"
  std::string rear;   // base + "_rear.jpg"
  // The zoomed part of a view that shows one, beside its whole picture.
  std::string frontZoom;  // base + "_front-zoom.jpg"
  std::string rearZoom;   // base + "_rear-zoom.jpg"
};
SnapshotFiles SnapshotFileNames(std::string_view chosenPath);

}  // namespace vx
