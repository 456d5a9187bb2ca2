// The telemetry interface of the camera source: hands out one record at a time with its media time.
#pragma once

#include <cstdint>

#include "core/common/Result.h"

namespace vx {

class ITelemetrySource {
 public:
  virtual ~ITelemetrySource() = default;
  // The engine's telemetry option (0 or 1); the answer is not used.
  virtual void SetOption(std::uint32_t flag) = 0;
  // Writes the next record into `buffer` (capacity in *size, 1024 in practice) and its media time in
  // milliseconds into *time. S_OK for a record, kNoMoreRecords (38) at the end.
  virtual HRESULT ReadRecord(std::uint8_t* buffer, std::uint32_t* size, std::uint32_t* time) = 0;
};

}  // namespace vx
