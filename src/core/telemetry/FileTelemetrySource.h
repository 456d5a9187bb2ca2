// ITelemetrySource over the telemetry log of a recording file.
#pragma once

#include <string>

#include "core/telemetry/ITelemetrySource.h"
#include "core/telemetry/TelemetryLog.h"

namespace vx {

class FileTelemetrySource final : public ITelemetrySource {
 public:
  // Reads the log of the recording at `path`; E_FAIL when the file is no readable recording.
  // A recording without a log loads and simply has no records.
  HRESULT Load(const std::string& path);
  // Takes a log that was already read (the camera source reads it with the container).
  void Assign(TelemetryLog log);

  void SetOption(std::uint32_t flag) override { m_nOption = flag; }
  HRESULT ReadRecord(std::uint8_t* buffer, std::uint32_t* size, std::uint32_t* time) override;

  std::uint32_t Option() const { return m_nOption; }
  const std::string& Warning() const { return m_log.Warning(); }

 private:
  TelemetryLog m_log;
  std::size_t m_nNext = 0;
  std::uint32_t m_nOption = 0;
};

}  // namespace vx
