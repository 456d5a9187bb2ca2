// Fuzzes one reader of a whole recording, VX_READER from VX_READER_HEADER, with the input as the recording: its
// container walk, sample tables and samples. The track must pass CheckTrack. CMakeLists.txt names the readers.
#include "TrackChecks.h"
#include VX_READER_HEADER

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vx::fuzz::CheckTrack(VX_READER(vx::MemoryByteSource({data, size})));
  return 0;
}
