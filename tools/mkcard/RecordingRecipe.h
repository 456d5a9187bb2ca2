// What one recording of the card looks like: container, streams, sound, telemetry and damage.
#pragma once

#include <string>
#include <vector>

#include "DriveSimulator.h"

namespace vx::mkcard {

enum class Container { Mp4, Avi };
enum class VideoCodec { H264, Mjpeg };
enum class AudioKind { Aac, Pcm, None };

struct FrameSize {
  int width, height;
};

inline constexpr FrameSize kFrontSize{1280, 720};
inline constexpr FrameSize kRearSize{640, 360};
inline constexpr int kFramesPerSecond = 30;
inline constexpr int kSampleRate = 48000;

// The H.264 bitrate of a picture size, in kbit/s.
constexpr int H264Kbps(FrameSize size) { return size.width >= 1280 ? 4000 : 1500; }

struct LayoutWriter;

struct RecordingRecipe {
  std::string path;
  std::string rearPath;  // not empty: the rear picture is written to this file of its own, without sound
  Container container = Container::Mp4;
  VideoCodec codec = VideoCodec::H264;
  AudioKind audio = AudioKind::Aac;
  int streams = 2;
  bool telemetry = true;
  const LayoutWriter* layout = nullptr;  // another camera's telemetry layout instead of the VX-880QN log
  DriveScript drive;
  double cutFraction = 0.0;  // > 0: the file is cut to this share of its size, as by a power cut
};

// The files the recording is written to: path, then rearPath when the rear has a file of its own, then the
// telemetry file beside path when its layout has one.
std::vector<std::string> OutputPaths(const RecordingRecipe& recipe);

// Writes the recording; false with `error` set when it could not be written.
bool WriteRecording(const RecordingRecipe& recipe, std::string& error);

}  // namespace vx::mkcard
