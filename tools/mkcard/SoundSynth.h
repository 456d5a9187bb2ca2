// Synthesises the cabin sound of a drive: engine hum, tyre and wind noise, and the thump of an impact.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "DriveSimulator.h"

namespace vx::mkcard {

// Mono 16-bit samples at `sampleRate`, made a piece at a time so that an hour of sound is never held whole.
class SoundSynth {
 public:
  SoundSynth(const Drive& drive, int sampleRate, std::uint32_t seed);
  // The next `count` samples, fewer at the end of the drive, none after it.
  const std::vector<std::int16_t>& Next(std::size_t count);

 private:
  const Drive& m_drive;
  int m_nSampleRate;
  std::size_t m_nSamplesPerTick;
  std::size_t m_nPosition = 0;  // samples made so far
  std::mt19937 m_rng;
  std::uniform_real_distribution<double> m_white{-1.0, 1.0};
  double m_phase = 0.0, m_brown = 0.0;
  std::vector<std::int16_t> m_piece;
};

}  // namespace vx::mkcard
