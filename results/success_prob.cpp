#include "results/success_prob.h"

namespace vk {

SuccessProbTable GetSuccessProb(const CountTable& counts) {
  SuccessProbTable prob{};
  for (int c = -1; c <= 0; ++c)
    for (int p = 0; p <= 40; ++p) {
      double total = 0.0;
      for (int k = 0; k <= 13; ++k) total += counts[c][k][p];
      for (int t = 0; t <= 13; ++t) {
        double atLeast = 0.0;
        for (int k = t; k <= 13; ++k) atLeast += counts[c][k][p];
        prob[c][t][p] = total != 0.0 ? static_cast<float>(atLeast / total) : 0.0f;
      }
    }
  return prob;
}

float CurveValue(const SuccessProbTable& prob, int cls, int tricks, int points) {
  float v = prob[cls][tricks][points] * 100.0f;
  if (points > 30 && v == 0.0f) v = 100.0f;
  return v;
}

}  // namespace vk
