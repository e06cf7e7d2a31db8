#pragma once
// The risk view's pseudo-random numbers, written here so that the same seed
// gives the same figures, bit for bit, in the window, the page and
// zeltano-eval, whatever standard library each is built with.
//
// xoshiro256** (Blackman and Vigna, "Scrambled linear pseudorandom number
// generators", 2018), seeded as its authors advise: the four state words are
// the first four outputs of SplitMix64 started at the seed, so that any
// 64-bit seed (0 included) gives a good, non-zero state.

#include <array>
#include <cstdint>

namespace zr {

// SplitMix64 (Steele, Lea and Flood, 2014): a 64-bit counter and a mixer.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t state) : state_(state) {}
  std::uint64_t Next();

 private:
  std::uint64_t state_;
};

class Xoshiro256StarStar {
 public:
  explicit Xoshiro256StarStar(std::uint64_t seed);
  static Xoshiro256StarStar FromState(const std::array<std::uint64_t, 4>& state);

  std::uint64_t Next();
  // A double in [0, 1): the top 53 bits of the next output, times 2^-53.
  double NextUnit();

 private:
  Xoshiro256StarStar() = default;
  std::array<std::uint64_t, 4> s_{};
};

}  // namespace zr
