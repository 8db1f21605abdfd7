#pragma once
// Fixed-size tables whose index range need not start at 0: denominations run -1..3,
// contract classes -1..0, options and corrections 1..7 / 1..6. Indices are checked in
// debug and sanitizer builds; release builds index directly, since the scan's inner loops
// touch these tables a few hundred million times.

#include <array>
#include <concepts>
#include <cstdio>
#include <cstdlib>

namespace vk {

#if defined(VK_CHECKED_ARRAYS)
[[noreturn]] inline void RangeFault(int index, int lo, int hi) {
  std::fprintf(stderr, "index %d outside %d..%d\n", index, lo, hi);
  std::abort();
}
#define VK_CHECK_INDEX(i, lo, hi)                                    \
  do {                                                               \
    if ((i) < (lo) || (i) > (hi)) ::vk::RangeFault((i), (lo), (hi)); \
  } while (0)
#else
#define VK_CHECK_INDEX(i, lo, hi) ((void)0)
#endif

template <typename T, int Lo, int Hi>
class RangeArray {
  static_assert(Hi >= Lo);

 public:
  static constexpr int lo = Lo;
  static constexpr int hi = Hi;
  static constexpr int size = Hi - Lo + 1;

  constexpr T& operator[](int i) {
    VK_CHECK_INDEX(i, Lo, Hi);
    return data_[static_cast<std::size_t>(i - Lo)];
  }
  constexpr const T& operator[](int i) const {
    VK_CHECK_INDEX(i, Lo, Hi);
    return data_[static_cast<std::size_t>(i - Lo)];
  }
  constexpr void fill(const T& v) { data_.fill(v); }
  constexpr bool operator==(const RangeArray& other) const requires std::equality_comparable<T> {
    return data_ == other.data_;
  }

  auto begin() { return data_.begin(); }
  auto end() { return data_.end(); }
  auto begin() const { return data_.begin(); }
  auto end() const { return data_.end(); }

 private:
  std::array<T, static_cast<std::size_t>(size)> data_{};
};

// Two- and three-index tables are tables of tables, so t[a][b] reads naturally.
template <typename T, int Lo1, int Hi1, int Lo2, int Hi2>
using RangeArray2 = RangeArray<RangeArray<T, Lo2, Hi2>, Lo1, Hi1>;

template <typename T, int Lo1, int Hi1, int Lo2, int Hi2, int Lo3, int Hi3>
using RangeArray3 = RangeArray<RangeArray2<T, Lo2, Hi2, Lo3, Hi3>, Lo1, Hi1>;

template <typename T, int Lo1, int Hi1, int Lo2, int Hi2>
void FillAll(RangeArray2<T, Lo1, Hi1, Lo2, Hi2>& t, const T& v) {
  for (auto& row : t) row.fill(v);
}

template <typename T, int Lo1, int Hi1, int Lo2, int Hi2, int Lo3, int Hi3>
void FillAll(RangeArray3<T, Lo1, Hi1, Lo2, Hi2, Lo3, Hi3>& t, const T& v) {
  for (auto& plane : t) FillAll(plane, v);
}

}  // namespace vk
