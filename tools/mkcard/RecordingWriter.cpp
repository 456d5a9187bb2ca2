// Writes one recording: pictures and sound from the simulated drive, encoded by GStreamer, muxed as MP4
// by mp4mux or as AVI by our RIFF writer, with the telemetry log stored as the camera stores it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include "EncodingPipeline.h"
#include "FramePainter.h"
#include "LayoutWriters.h"
#include "RecordingRecipe.h"
#include "RiffAviWriter.h"
#include "SoundSynth.h"
#include "core/telemetry/TelemetryLog.h"

namespace vx::mkcard {
namespace {

constexpr GstClockTime kFrameDuration = GST_SECOND / kFramesPerSecond;
constexpr std::size_t kSamplesPerFrame = kSampleRate / kFramesPerSecond;

std::string RawVideoCaps(FrameSize size) {
  return "video/x-raw,format=BGRx,width=" + std::to_string(size.width) + ",height=" + std::to_string(size.height) +
         ",framerate=" + std::to_string(kFramesPerSecond) + "/1";
}

std::string VideoEncoder(VideoCodec codec, FrameSize size) {
  if (codec == VideoCodec::Mjpeg) return "jpegenc quality=60";
  return "x264enc speed-preset=ultrafast tune=zerolatency bframes=0 key-int-max=" + std::to_string(kFramesPerSecond) +
         " bitrate=" + std::to_string(H264Kbps(size)) + " ! h264parse";
}

std::string VideoSource(const char* name, FrameSize size) {
  return std::string("appsrc name=") + name + " format=time block=true caps=\"" + RawVideoCaps(size) +
         "\" ! videoconvert ! video/x-raw,format=I420 ! ";
}

std::span<const std::uint8_t> Pixels(const QImage& image) {
  return {image.constBits(), static_cast<std::size_t>(image.sizeInBytes())};
}

// The drive behind a recording; pictures and sound are made from it as they are encoded, so memory
// stays the same whatever the recording's length.
struct Media {
  Drive drive;
  int frames;
  std::uint32_t seed;
};

// Pushes painted pictures into appsrc `source`; its `block=true` holds the painter back while the encoder
// is busy, so at most a picture or two wait in the pipeline.
void PushPictures(EncodingPipeline& pipeline, const char* source, FramePainter painter, int frames) {
  for (int i = 0; i < frames; ++i) {
    if (!pipeline.Push(source, Pixels(painter.Paint(i)), i * kFrameDuration, kFrameDuration)) break;
  }
  pipeline.EndOfStream(source);
}

void PushSound(EncodingPipeline& pipeline, const Media& media) {
  SoundSynth synth(media.drive, kSampleRate, media.seed);
  for (std::uint64_t at = 0;;) {
    const auto& piece = synth.Next(kSampleRate / 10);
    if (piece.empty()) break;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(piece.data());
    const GstClockTime pts = at * GST_SECOND / kSampleRate;
    if (!pipeline.Push("sound", {bytes, piece.size() * 2}, pts, piece.size() * GST_SECOND / kSampleRate)) break;
    at += piece.size();
  }
  pipeline.EndOfStream("sound");
}

// One pipeline writes the MP4 file, or two files when the rear has one of its own:
//
//   appsrc front ! videoconvert ! x264enc ! h264parse --> mux.video_0 -+
//   appsrc rear  ! videoconvert ! x264enc ! h264parse --> mux.video_1 -+-> mp4mux mux ! filesink file0
//   appsrc sound ! audioconvert ! voaacenc ! aacparse --> mux.audio_0 -+
//
//   rear in a file of its own:  ... h264parse --> rearmux.video_0 --> mp4mux rearmux ! filesink file1
//
// The telemetry box is appended to file0 once the pipeline has ended (another camera's layout is written
// after that, by its own writer).
bool WriteMp4(const RecordingRecipe& recipe, const Media& media, std::string& error) {
  std::string description = "mp4mux name=mux ! filesink name=file0 " + VideoSource("front", kFrontSize) +
                            VideoEncoder(VideoCodec::H264, kFrontSize) + " ! mux.video_0 ";
  if (recipe.streams == 2) {
    const bool rearAlone = !recipe.rearPath.empty();
    if (rearAlone) description += "mp4mux name=rearmux ! filesink name=file1 ";
    description += VideoSource("rear", kRearSize) + VideoEncoder(VideoCodec::H264, kRearSize) +
                   (rearAlone ? " ! rearmux.video_0 " : " ! mux.video_1 ");
  }
  if (recipe.audio == AudioKind::Aac) {
    description += "appsrc name=sound format=time block=true caps=\"audio/x-raw,format=S16LE,layout=interleaved,"
                   "rate=" + std::to_string(kSampleRate) +
                   ",channels=1\" ! audioconvert ! voaacenc bitrate=64000 ! aacparse ! mux.audio_0";
  }
  EncodingPipeline pipeline;
  if (!pipeline.Launch(description, OutputPaths(recipe), error)) return false;
  // One feeding thread per branch: mp4mux waits for every branch, so a single feeder could stall it.
  std::vector<std::jthread> feeders;
  feeders.emplace_back(PushPictures, std::ref(pipeline), "front",
                       FramePainter(Camera::Front, kFrontSize, media.drive, recipe.drive.start), media.frames);
  if (recipe.streams == 2) {
    feeders.emplace_back(PushPictures, std::ref(pipeline), "rear",
                         FramePainter(Camera::Rear, kRearSize, media.drive, recipe.drive.start), media.frames);
  }
  if (recipe.audio == AudioKind::Aac) feeders.emplace_back(PushSound, std::ref(pipeline), std::cref(media));
  const bool ok = pipeline.WaitForEnd(error);
  pipeline.Stop();  // after a failure a feeder may wait in a branch that no longer runs
  feeders.clear();
  if (!ok || !recipe.telemetry || recipe.layout) return ok;
  return WriteAt(recipe.path, std::nullopt, WrapMp4Box(EncodeTelemetryPayload(media.drive.records)), error);
}

// The AVI layouts of the recording's files: front (with the sound), then the rear when it has a file of its own.
std::vector<RiffAviWriter::Layout> AviLayouts(const RecordingRecipe& recipe) {
  std::vector<RiffAviWriter::Layout> layouts{{{kFrontSize}, recipe.codec, recipe.audio == AudioKind::Pcm}};
  if (recipe.streams == 2 && recipe.rearPath.empty()) layouts[0].videos.push_back(kRearSize);
  if (recipe.streams == 2 && !recipe.rearPath.empty()) layouts.push_back({{kRearSize}, recipe.codec, false});
  return layouts;
}

// Each picture is encoded by a pipeline of its own and pulled back for our RIFF writer:
//
//   appsrc raw ! videoconvert ! jpegenc | x264enc ! h264parse ! appsink encoded   (one per picture)
//
// The writer of file 0 takes the front, the sound and the telemetry chunk; the rear goes to file 0 as its
// second stream, or as the only stream of file 1.
bool WriteAvi(const RecordingRecipe& recipe, const Media& media, std::string& error) {
  const std::vector<RiffAviWriter::Layout> layouts = AviLayouts(recipe);
  const std::vector<std::string> paths = OutputPaths(recipe);
  std::vector<RiffAviWriter> writers(layouts.size());
  for (std::size_t i = 0; i < writers.size(); ++i) {
    if (!writers[i].Open(paths[i], layouts[i], error)) return false;
  }
  const std::array<FrameSize, 2> sizes{kFrontSize, kRearSize};
  std::vector<std::unique_ptr<EncodingPipeline>> encoders;
  std::vector<FramePainter> painters;
  for (int i = 0; i < recipe.streams; ++i) {
    encoders.push_back(std::make_unique<EncodingPipeline>());
    // AVI stores H.264 as Annex B access units, one per chunk.
    const char* avcInAvi = recipe.codec == VideoCodec::H264 ? " ! video/x-h264,stream-format=byte-stream,alignment=au" : "";
    if (!encoders.back()->Launch(VideoSource("raw", sizes[i]) + VideoEncoder(recipe.codec, sizes[i]) + avcInAvi +
                                     " ! appsink name=encoded sync=false", {}, error)) {
      return false;
    }
    painters.emplace_back(i == 0 ? Camera::Front : Camera::Rear, sizes[i], media.drive, recipe.drive.start);
  }
  const auto failed = [&] {
    const auto broken = std::ranges::find_if(writers, [](const RiffAviWriter& w) { return !w.Error().empty(); });
    if (broken != writers.end()) error = broken->Error();
    return broken != writers.end();
  };
  SoundSynth synth(media.drive, kSampleRate, media.seed);
  std::vector<std::uint8_t> encoded;
  for (int frame = 0; frame < media.frames; ++frame) {
    for (std::size_t i = 0; i < encoders.size(); ++i) {
      bool key = false;
      encoders[i]->Push("raw", Pixels(painters[i].Paint(frame)), frame * kFrameDuration, kFrameDuration);
      if (!encoders[i]->Pull("encoded", encoded, key)) {
        error = "the video encoder stopped early";
        return false;
      }
      // Stream i of the one file, or stream 0 of file i.
      const bool ownFile = writers.size() > 1;
      if (!writers[ownFile ? i : 0].AddVideo(ownFile ? 0 : static_cast<int>(i), encoded, key)) break;
    }
    if (layouts[0].pcm && !failed()) writers[0].AddAudio(synth.Next(kSamplesPerFrame));
    if (failed()) return false;
  }
  const auto chunk = recipe.telemetry && !recipe.layout ? WrapAviChunk(EncodeTelemetryPayload(media.drive.records))
                                    : std::vector<std::uint8_t>{};
  for (std::size_t i = 0; i < writers.size(); ++i) {
    if (!writers[i].Finish(i == 0 ? std::span<const std::uint8_t>(chunk) : std::span<const std::uint8_t>{}, error)) {
      return false;
    }
  }
  return true;
}

// Makes (or empties) the file before any encoder opens it: a file that cannot be made is reported with the
// system's reason, a FIFO or device is refused without blocking, and a later failure removes only what
// this run wrote.
bool CreateEmptyFile(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = errno == ENXIO ? "not a regular file" : std::strerror(errno);
    return false;
  }
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (!regular) error = "not a regular file";
  else if (::ftruncate(fd, 0) != 0) error = std::strerror(errno);
  ::close(fd);
  return error.empty();
}

bool CutShort(const std::string& path, double fraction, std::string& error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) std::filesystem::resize_file(path, static_cast<std::uintmax_t>(static_cast<double>(size) * fraction), ec);
  if (ec) error = path + ": " + ec.message();
  return !ec;
}

}  // namespace

std::vector<std::string> OutputPaths(const RecordingRecipe& recipe) {
  std::vector<std::string> paths{recipe.path};
  if (!recipe.rearPath.empty()) paths.push_back(recipe.rearPath);
  if (recipe.telemetry && recipe.layout && *recipe.layout->sideSuffix) {
    paths.push_back(SidePath(recipe.path, recipe.layout->sideSuffix));
  }
  return paths;
}

bool WriteRecording(const RecordingRecipe& recipe, std::string& error) {
  if (recipe.container == Container::Mp4 && (recipe.codec != VideoCodec::H264 || recipe.audio == AudioKind::Pcm)) {
    error = "an MP4 recording carries H.264 video and AAC sound";
    return false;
  }
  if (recipe.container == Container::Avi && recipe.layout && recipe.layout->mp4Only) {
    error = std::string("the ") + recipe.layout->name + " layout is made of MP4 boxes: write an MP4 recording";
    return false;
  }
  if (recipe.container == Container::Avi && recipe.audio == AudioKind::Aac) {
    error = "an AVI recording carries PCM sound";
    return false;
  }
  // Known from the recipe: refused at once rather than after an hour of encoding.
  if (recipe.container == Container::Avi && EstimatedAviSize(recipe) > kMaxRiffFileSize) {
    error = "an AVI file of " + std::to_string(recipe.drive.seconds) + " s would take about " +
            std::to_string(EstimatedAviSize(recipe) >> 20) + " MiB, past the 4 GiB its 32-bit sizes can hold; " +
            "make the recording shorter, choose H.264 or write MP4";
    return false;
  }
  // Only the files made here are removed on a failure: a rear path that is a FIFO stays.
  std::vector<std::string> made;
  bool ok = true;
  for (const std::string& path : OutputPaths(recipe)) {
    ok = CreateEmptyFile(path, error);
    if (!ok) {
      if (path != recipe.path) error = "the rear file " + path + ": " + error;
      break;
    }
    made.push_back(path);
  }
  if (ok) {
    const Media media{SimulateDrive(recipe.drive), recipe.drive.seconds * kFramesPerSecond, recipe.drive.seed};
    ok = recipe.container == Container::Mp4 ? WriteMp4(recipe, media, error) : WriteAvi(recipe, media, error);
    if (ok && recipe.telemetry && recipe.layout) {
      ok = recipe.layout->write({recipe.path, media.drive.records, StartUtcMs(recipe.drive)}, error);
    }
  }
  for (const std::string& path : made) {
    if (ok && recipe.cutFraction > 0.0) ok = CutShort(path, recipe.cutFraction, error);
  }
  if (!ok) {
    std::error_code ignored;
    for (const std::string& path : made) std::filesystem::remove(path, ignored);  // a half recording is none
  }
  return ok;
}

}  // namespace vx::mkcard
