// Result codes shared by the engine and the telemetry source: a 32-bit signed value, 0 for success.
#pragma once

#include <cstdint>

namespace vx {

using HRESULT = std::int32_t;

inline constexpr HRESULT S_OK = 0;
// Success with nothing done (a step past the first or last picture).
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227u);
// ReadRecord's answer once every telemetry record has been handed out.
inline constexpr HRESULT kNoMoreRecords = 38;

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }

}  // namespace vx
