// Sound from the motion samples: the hum follows the speed, the noise follows the road.
#include "SoundSynth.h"

#include <algorithm>
#include <cmath>

namespace vx::mkcard {

SoundSynth::SoundSynth(const Drive& drive, int sampleRate, std::uint32_t seed)
    : m_drive(drive), m_nSampleRate(sampleRate), m_nSamplesPerTick(static_cast<std::size_t>(sampleRate) / 10),
      m_rng(seed) {}

const std::vector<std::int16_t>& SoundSynth::Next(std::size_t count) {
  m_piece.clear();
  const std::size_t total = m_drive.motion.size() * m_nSamplesPerTick;
  for (; m_piece.size() < count && m_nPosition < total; ++m_nPosition) {
    const MotionSample& m = m_drive.motion[m_nPosition / m_nSamplesPerTick];
    const double hum = 38.0 + m.speedKmh * 1.4;
    m_phase += 2.0 * 3.14159265358979 * hum / m_nSampleRate;
    m_brown = std::clamp(m_brown * 0.995 + m_white(m_rng) * 0.05, -1.0, 1.0);
    const double engine = 0.25 * std::sin(m_phase) + 0.1 * std::sin(2.0 * m_phase) + 0.05 * std::sin(3.0 * m_phase);
    const double road = m_brown * (0.1 + m.speedKmh / 300.0);
    const double thump = m.shock * (0.8 * m_white(m_rng) + 0.6 * std::sin(m_phase * 0.5));
    m_piece.push_back(static_cast<std::int16_t>(std::clamp(engine + road + thump, -1.0, 1.0) * 24000.0));
  }
  return m_piece;
}

}  // namespace vx::mkcard
