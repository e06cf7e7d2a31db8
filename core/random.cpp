#include "random.h"

namespace zr {
namespace {

constexpr std::uint64_t RotateLeft(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

std::uint64_t SplitMix64::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

Xoshiro256StarStar::Xoshiro256StarStar(std::uint64_t seed) {
  SplitMix64 mix(seed);
  for (std::uint64_t& word : s_) word = mix.Next();
}

Xoshiro256StarStar Xoshiro256StarStar::FromState(const std::array<std::uint64_t, 4>& state) {
  Xoshiro256StarStar generator;
  generator.s_ = state;
  return generator;
}

std::uint64_t Xoshiro256StarStar::Next() {
  const std::uint64_t result = RotateLeft(s_[1] * 5, 7) * 9;
  const std::uint64_t t = s_[1] << 17;
  s_[2] ^= s_[0];
  s_[3] ^= s_[1];
  s_[1] ^= s_[2];
  s_[0] ^= s_[3];
  s_[2] ^= t;
  s_[3] = RotateLeft(s_[3], 45);
  return result;
}

double Xoshiro256StarStar::NextUnit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

}  // namespace zr
