// A small AVI (RIFF) writer for one or two video streams and PCM sound, with the telemetry chunk after idx1.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "RecordingRecipe.h"

namespace vx::mkcard {

// The largest file whose sizes and offsets a RIFF file's 32-bit fields can hold.
inline constexpr std::uint64_t kMaxRiffFileSize = 0xFFFFFFFFull;

// The size an AVI recording of the recipe is expected to reach, erring on the large side, so that one
// its sizes cannot hold is known before it is written.
std::uint64_t EstimatedAviSize(const RecordingRecipe& recipe);

class RiffAviWriter {
 public:
  struct Layout {
    std::vector<FrameSize> videos;  // front first
    VideoCodec codec = VideoCodec::Mjpeg;
    bool pcm = true;                // mono 16-bit sound at kSampleRate
  };

  // A file that would grow past `maxFileSize` is refused before its sizes wrap.
  explicit RiffAviWriter(std::uint64_t maxFileSize = kMaxRiffFileSize) : m_nMaxFileSize(maxFileSize) {}

  bool Open(const std::string& path, const Layout& layout, std::string& error);
  // Each false, with Error() set, when the chunk could not be written or the file would grow too large.
  bool AddVideo(int stream, std::span<const std::uint8_t> frame, bool keyFrame);
  bool AddAudio(std::span<const std::int16_t> samples);
  // Writes idx1, the telemetry chunk (when not empty) and the final headers.
  bool Finish(std::span<const std::uint8_t> telemetryChunk, std::string& error);
  const std::string& Error() const { return m_strError; }

 private:
  struct IndexEntry {
    std::uint32_t id, flags, offset, size;
  };
  bool AddChunk(std::uint32_t id, std::span<const std::uint8_t> data, bool keyFrame);
  bool Fits(std::uint64_t end);
  bool Write(std::span<const std::uint8_t> bytes);
  bool WriteFailed();  // sets Error() from errno, answers false
  std::vector<std::uint8_t> Headers() const;

  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> m_file;
  Layout m_layout;
  std::vector<IndexEntry> m_index;
  std::vector<std::uint32_t> m_frameCount;
  std::uint64_t m_nAudioSamples = 0;
  std::uint32_t m_nMaxChunk = 0;
  std::uint64_t m_nMoviStart = 0;  // offset of the 'movi' list type
  std::uint64_t m_nMoviEnd = 0;   // end of the last chunk in movi
  std::uint64_t m_nEnd = 0;
  std::uint64_t m_nMaxFileSize;
  std::string m_strError;
};

}  // namespace vx::mkcard
