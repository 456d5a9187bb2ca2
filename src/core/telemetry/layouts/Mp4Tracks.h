// The tracks of an MP4 file and where each of their samples lies, read from the bounded sample tables.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/layouts/Mp4Boxes.h"

namespace vx {

// One track of `moov`: its handler (`hdlr`), the format of its first sample entry (`stsd`), its time scale
// (`mdhd`) and its sample table box, whose samples ReadMp4Samples lists.
struct Mp4Track {
  std::array<char, 4> handler{};
  std::array<char, 4> format{};
  std::uint32_t timescale = 0;
  Mp4Box sampleTable;

  bool FormatIs(const char* tag) const { return std::equal(format.begin(), format.end(), tag); }
};

// One sample: where its bytes lie in the file and when it plays (decoding time, milliseconds).
struct Mp4Sample {
  std::uint64_t offset = 0;
  std::uint32_t size = 0;
  std::uint32_t startMs = 0;
  std::uint32_t durationMs = 0;
};

// The most samples one track hands out (a day of 10 Hz telemetry); the rest are left with a warning.
inline constexpr std::uint64_t kMaxTrackSamples = 1u << 20;

// The first track whose sample entry has one of `formats`, with a readable time scale; nullopt when none.
std::optional<Mp4Track> FindMp4Track(const ByteSource& file, std::initializer_list<const char*> formats);

// The samples of `track` in decoding order. Every count is bounded by the box that holds it; the list ends
// at the first sample the tables do not fully describe or that lies past the end of the file, with one line
// in `warning`.
std::vector<Mp4Sample> ReadMp4Samples(const ByteSource& file, const Mp4Track& track, std::string& warning);

}  // namespace vx
