#include "scan/tallies.h"

#include <cmath>

namespace vk {

void Tallies::Clear() {
  FillAll(HandCount, 0);
  FillAll(HandWeight, 0.0f);
  HCPfreq.fill(0);
}

int32_t RoundHalfEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

int32_t UpdateWithProbability(Tallies& tallies, const TheoTable& theo, int32_t corr, int32_t cls, int32_t tricks,
                              int32_t hcp) {
  if (corr == 0) {
    tallies.HandWeight[cls][tricks][hcp] += 1.0f;
    tallies.HandCount[cls][tricks][hcp] += 1;
    return hcp;
  }
  int32_t p = hcp + corr;
  if (p < 0) p = 0;
  if (p > 40) p = 40;
  const float w = theo[p] / theo[hcp];
  float& weight = tallies.HandWeight[cls][tricks][p];
  weight += w;
  tallies.HandCount[cls][tricks][p] = RoundHalfEven(weight);
  return p;
}

}  // namespace vk
