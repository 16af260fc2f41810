#pragma once

#include <cstdint>
#include <random>

namespace vesk::sim {

// Seeded noise for the readings. Built on the raw Mersenne Twister output, whose sequence
// the standard fixes, so one seed gives the same readings with every standard library.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : engine_(seed) {}

  // Uniform in [-amplitude, amplitude).
  double around(double amplitude) {
    const double unit = static_cast<double>(engine_()) / 4294967296.0;
    return (2 * unit - 1) * amplitude;
  }

 private:
  std::mt19937 engine_;
};

}  // namespace vesk::sim
