#pragma once
// The random deals of a library. Deal k of the stream with seed S depends on (S, k) alone,
// so any range of a library can be dealt on any machine, in any order, and the parts joined
// end to end give the same file as one long run.
//
// Changing anything here changes every library made from now on: libraries made before no
// longer continue or verify against their seed.

#include <cstdint>

#include "deals/library_writer.h"

namespace vk::mklib {

// Deal dealNo (1-based) of the stream `seed`: a uniformly random deal, trick table zero.
DealRecord DealOfStream(uint64_t seed, int64_t dealNo);

}  // namespace vk::mklib
