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

class RiffAviWriter {
 public:
  struct Layout {
    std::vector<FrameSize> videos;  // front first
    VideoCodec codec = VideoCodec::Mjpeg;
    bool pcm = true;                // mono 16-bit sound at kSampleRate
  };

  bool Open(const std::string& path, const Layout& layout, std::string& error);
  void AddVideo(int stream, std::span<const std::uint8_t> frame, bool keyFrame);
  void AddAudio(std::span<const std::int16_t> samples);
  // Writes idx1, the telemetry chunk (when not empty) and the final headers.
  bool Finish(std::span<const std::uint8_t> telemetryChunk, std::string& error);

 private:
  struct IndexEntry {
    std::uint32_t id, flags, offset, size;
  };
  void AddChunk(std::uint32_t id, std::span<const std::uint8_t> data, bool keyFrame);
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
};

}  // namespace vx::mkcard
