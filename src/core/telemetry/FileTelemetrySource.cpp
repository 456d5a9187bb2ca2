// Hands out the records of a telemetry log in file order.
#include "core/telemetry/FileTelemetrySource.h"

#include <algorithm>

namespace vx {

HRESULT FileTelemetrySource::Load(const std::string& path) {
  TelemetryLogResult result = ReadTelemetryLogFile(path);
  if (!result.ok) return E_FAIL;
  Assign(std::move(result.log));
  return S_OK;
}

void FileTelemetrySource::Assign(TelemetryLog log) {
  m_log = std::move(log);
  m_nNext = 0;
}

HRESULT FileTelemetrySource::ReadRecord(std::uint8_t* buffer, std::uint32_t* size, std::uint32_t* time) {
  if (!buffer || !size || !time) return E_POINTER;
  if (m_nNext >= m_log.Entries().size()) return kNoMoreRecords;
  const TelemetryEntry& entry = m_log.Entries()[m_nNext];
  if (*size < entry.length) return E_FAIL;  // the caller's buffer cannot take this record
  const auto record = m_log.Record(entry);
  std::copy(record.begin(), record.end(), buffer);
  *size = entry.length;
  *time = entry.timeMs;
  ++m_nNext;
  return S_OK;
}

}  // namespace vx
