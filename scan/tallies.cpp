#include "scan/tallies.h"

namespace vk {

void Tallies::Clear() {
  FillAll(HandCount, 0);
  FillAll(HandWeight, 0.0f);
  HCPfreq.fill(0);
}

TheoWeights::TheoWeights(const TheoTable& theo) {
  for (int p = 0; p <= 40; ++p)
    for (int h = 0; h <= 40; ++h) ratio[p][h] = theo[p] / theo[h];
}

int32_t UpdateWithProbability(Tallies& tallies, const TheoWeights& weights, int32_t corr, int32_t cls, int32_t tricks,
                              int32_t hcp) {
  if (corr == 0) {
    tallies.HandWeight[cls][tricks][hcp] += 1.0f;
    tallies.HandCount[cls][tricks][hcp] += 1;
    return hcp;
  }
  int32_t p = hcp + corr;
  if (p < 0) p = 0;
  if (p > 40) p = 40;
  const float w = weights.ratio[p][hcp];
  float& weight = tallies.HandWeight[cls][tricks][p];
  weight += w;
  tallies.HandCount[cls][tricks][p] = RoundHalfEven(weight);
  return p;
}

}  // namespace vk
