#pragma once
// A listener for the cache records of a scan. Both passes hand it every record they evaluate, in
// deal order: the library pass each record it writes, the cache pass each sound record it
// replays. One pass can so feed evaluations beyond its own option set.

#include "deals/cache_file.h"

namespace vk {

class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void Take(const CacheRecord& record) = 0;
};

}  // namespace vk
