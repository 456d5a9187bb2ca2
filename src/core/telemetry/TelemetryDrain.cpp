// The drain loop run right after a recording is opened.
#include "core/telemetry/TelemetryDrain.h"

#include "core/telemetry/RecordParser.h"

namespace vx {

HRESULT DrainTelemetry(ITelemetrySource* source, CTextData& textData) {
  textData.Clear();
  if (!source) return kNoMoreRecords;
  RecordBuffer buffer;
  for (;;) {
    buffer.fill(0);
    std::uint32_t time = 0;
    std::uint32_t size = kRecordBufferSize;
    const HRESULT hr = source->ReadRecord(buffer.data(), &size, &time);
    // Any answer but S_OK ends the loop, so a failing source can never keep it spinning.
    if (hr != S_OK) return hr;
    ParseRecord(time, buffer, textData);
  }
}

}  // namespace vx
