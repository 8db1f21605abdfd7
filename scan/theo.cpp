#include "scan/theo.h"

#include <algorithm>
#include <cstdint>

namespace vk {

double Combin(int n, int r) {
  // The smaller of r and n - r, compared as 16-bit values.
  int m = std::min(static_cast<int16_t>(r), static_cast<int16_t>(n - r));
  if (m < 0) return 0.0;
  if (m == 0) return 1.0;
  double c = 1.0;
  for (int i = 1; i <= m; ++i) {
    c *= static_cast<double>(n - m + i);
    c /= static_cast<double>(i);
  }
  return c;
}

TheoTable MakeTheo() {
  const double all = Combin(52, 26);
  TheoTable theo{};
  for (int h = 0; h <= 40; ++h) {
    double ways = 0.0;
    for (int a = 0; a <= 4; ++a)
      for (int k = 0; k <= 4; ++k)
        for (int q = 0; q <= 4; ++q)
          for (int j = 0; j <= 4; ++j)
            if (4 * a + 3 * k + 2 * q + j == h)
              ways += Combin(4, a) * Combin(4, k) * Combin(4, q) * Combin(4, j) * Combin(36, 26 - a - k - q - j);
    theo[h] = static_cast<float>(ways / all);
  }
  return theo;
}

}  // namespace vk
