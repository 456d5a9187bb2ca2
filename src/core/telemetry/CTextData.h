// The telemetry of the open recording: its G-sensor samples and GPS fixes in delivery order.
#pragma once

#include "core/telemetry/GrowableArray.h"
#include "core/telemetry/TelemetrySamples.h"

namespace vx {

struct CTextData {
  // Declared in this order so that destruction frees the GPS array first.
  CArray<CGSensorData> m_arrGSensor;
  CArray<CGPSData> m_arrGps;

  void Clear() {
    m_arrGSensor.RemoveAll();
    m_arrGps.RemoveAll();
  }
};

}  // namespace vx
