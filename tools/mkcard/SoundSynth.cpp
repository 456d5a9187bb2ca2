// Sound from the motion samples: the hum follows the speed, the noise follows the road.
#include "SoundSynth.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace vx::mkcard {

std::vector<std::int16_t> SynthesizeSound(const Drive& drive, int sampleRate, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> white(-1.0, 1.0);
  const std::size_t samplesPerTick = static_cast<std::size_t>(sampleRate) / 10;
  std::vector<std::int16_t> out;
  out.reserve(drive.motion.size() * samplesPerTick);
  double phase = 0.0, brown = 0.0;
  for (const MotionSample& m : drive.motion) {
    const double hum = 38.0 + m.speedKmh * 1.4;
    for (std::size_t i = 0; i < samplesPerTick; ++i) {
      phase += 2.0 * 3.14159265358979 * hum / sampleRate;
      brown = std::clamp(brown * 0.995 + white(rng) * 0.05, -1.0, 1.0);
      const double engine = 0.25 * std::sin(phase) + 0.1 * std::sin(2.0 * phase) + 0.05 * std::sin(3.0 * phase);
      const double road = brown * (0.1 + m.speedKmh / 300.0);
      const double thump = m.shock * (0.8 * white(rng) + 0.6 * std::sin(phase * 0.5));
      out.push_back(static_cast<std::int16_t>(std::clamp(engine + road + thump, -1.0, 1.0) * 24000.0));
    }
  }
  return out;
}

}  // namespace vx::mkcard
