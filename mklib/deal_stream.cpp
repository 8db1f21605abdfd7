#include "mklib/deal_stream.h"

#include <utility>

namespace vk::mklib {

namespace {

// splitmix64: a counter passed through a strong mixer. Used to turn (seed, deal number) into
// a generator state and to spread that state over the generator's four words.
uint64_t SplitMix64(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// xoshiro256**: fast, 256 bits of state, no detectable bias at the sizes used here.
class Xoshiro256 {
 public:
  explicit Xoshiro256(uint64_t seed) {
    for (uint64_t& word : s_) word = SplitMix64(seed);
  }

  uint64_t Next() {
    uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }

  // Uniform in 0 .. bound - 1, exactly: multiply the top 32 bits by the bound and reject the
  // few low products that would favour some values.
  uint32_t Below(uint32_t bound) {
    uint64_t m = (Next() >> 32) * bound;
    auto low = static_cast<uint32_t>(m);
    if (low < bound) {
      uint32_t threshold = (0u - bound) % bound;
      while (low < threshold) {
        m = (Next() >> 32) * bound;
        low = static_cast<uint32_t>(m);
      }
    }
    return static_cast<uint32_t>(m >> 32);
  }

 private:
  static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t s_[4];
};

uint64_t StreamKey(uint64_t seed, int64_t dealNo) {
  // The seed is mixed before the deal number goes in, so seed S + 1 is not the stream of
  // seed S shifted by one deal.
  uint64_t key = SplitMix64(seed) ^ static_cast<uint64_t>(dealNo);
  return SplitMix64(key);
}

}  // namespace

DealRecord DealOfStream(uint64_t seed, int64_t dealNo) {
  Xoshiro256 rng(StreamKey(seed, dealNo));
  // Card c (suit c / 13, rank c % 13) starts with player c / 13; Fisher-Yates then gives every
  // one of the 52! orders the same chance.
  int8_t owners[52];
  for (int c = 0; c < 52; ++c) owners[c] = static_cast<int8_t>(c / 13);
  for (int i = 51; i > 0; --i) std::swap(owners[i], owners[rng.Below(static_cast<uint32_t>(i + 1))]);
  DealRecord deal;
  for (int c = 0; c < 52; ++c)
    deal.owner[static_cast<std::size_t>(c / 13)][static_cast<std::size_t>(c % 13)] = owners[c];
  return deal;
}

}  // namespace vk::mklib
