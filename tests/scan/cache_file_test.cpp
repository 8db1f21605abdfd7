#include "deals/cache_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "test_support.h"

namespace vk {
namespace {

TEST(CacheRecord, FieldsSitWhereTheLayoutPutsThem) {
  RangeArray<int32_t, 1, 6> c{};
  c[1] = 5;
  c[2] = 9;
  c[3] = 1;
  c[4] = 1;
  c[5] = 1;
  c[6] = 1;
  CacheRecord r = PackCacheRecord(0, 25, 64, 11, c);
  EXPECT_EQ(r[0], 64 + 25);
  EXPECT_EQ(r[1], 11);
  EXPECT_EQ(r[2], 16 * 5 + 9);
  EXPECT_EQ(r[3], 64 + 16 + 4 + 1);
  CacheFields f = UnpackCacheRecord(r);
  EXPECT_EQ(f.cls, 0);
  EXPECT_EQ(f.hcp, 25);
  EXPECT_EQ(f.flag, 64);
  EXPECT_EQ(f.tricks, 11);
  EXPECT_EQ(f.corrections, c);
  // Byte 0 = 192 + 25: a notrump record of a 25-point pair whose declarer passed the shape test.
  f = UnpackCacheRecord({192 + 25, 9, 2, 0});
  EXPECT_EQ(f.cls, -1);
  EXPECT_EQ(f.hcp, 25);
  EXPECT_EQ(f.flag, 64);
  EXPECT_EQ(f.corrections[1], 0);
  EXPECT_EQ(f.corrections[2], 2);
}

TEST(CacheStartup, SmallFilesAreDeletedLargeOnesUsable) {
  test::ScratchFolder dir;
  test::WriteWholeFile(dir / kCacheFileName, std::string(999996, '\0'));
  CacheState s = CheckCacheAtStartup(dir.path());
  EXPECT_EQ(s.usable, 0);
  EXPECT_EQ(s.size, 999996);
  EXPECT_FALSE(std::filesystem::exists(dir / kCacheFileName));
  test::WriteWholeFile(dir / kCacheFileName, std::string(1000000, '\0'));
  s = CheckCacheAtStartup(dir.path());
  EXPECT_EQ(s.usable, 1);
  EXPECT_TRUE(std::filesystem::exists(dir / kCacheFileName));
  EXPECT_EQ(CheckCacheAtStartup(dir / "nothing").usable, 0);
}

TEST(GetRec25bin, BlocksThenSingleRecordsNumberedInStep) {
  test::ScratchFolder dir;
  // 251,000 records, each holding its own number.
  const int32_t n = 251000;
  std::string bytes(4 * static_cast<std::size_t>(n), '\0');
  for (int32_t k = 1; k <= n; ++k) std::memcpy(&bytes[4 * static_cast<std::size_t>(k - 1)], &k, 4);
  test::WriteWholeFile(dir / kCacheFileName, bytes);
  CacheReader reader;
  std::string error;
  ASSERT_TRUE(reader.Open(dir / kCacheFileName, 1004000, error)) << error;
  CacheRecord current{};
  for (int32_t k = 1; k <= n; ++k) {
    int32_t rec = k;
    reader.GetRec25bin(rec, current);
    ASSERT_EQ(rec, k);
    int32_t got;
    std::memcpy(&got, current.data(), 4);
    ASSERT_EQ(got, k);
    if (k == 250724) {
      EXPECT_EQ(reader.blockReads(), 251);
      EXPECT_EQ(reader.singleReads(), 0);
    }
  }
  EXPECT_EQ(reader.singleReads(), 276);  // records 250,725 to 251,000
  int32_t past = n + 1;
  CacheRecord before = current;
  reader.GetRec25bin(past, current);
  EXPECT_EQ(past, -1);
  EXPECT_EQ(current, before);
  // RecCount 1 always starts a new block.
  int32_t one = 1;
  reader.GetRec25bin(one, current);
  int32_t got;
  std::memcpy(&got, current.data(), 4);
  EXPECT_EQ(got, 1);
  EXPECT_EQ(reader.blockReads(), 252);
}

TEST(CacheWriter, AnOlderCacheStaysUntilTheNewOneIsCommittedWhole) {
  test::ScratchFolder dir;
  test::WriteWholeFile(dir / kCacheFileName, "AAAABBBBCCCC");
  std::string error;
  {
    // A pass that stops or fails never commits: the older file is untouched, no part is left.
    CacheWriter w;
    ASSERT_TRUE(w.Open(dir / kCacheFileName, error)) << error;
    w.Write({'x', 'y', 'z', 'w'});
    ASSERT_TRUE(w.Flush(error)) << error;
    EXPECT_TRUE(std::filesystem::exists(w.temporaryPath()));
  }
  EXPECT_EQ(test::ReadWholeFile(dir / kCacheFileName), "AAAABBBBCCCC");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
  // A committed cache holds exactly its own records: no tail of the older, longer file.
  CacheWriter w;
  ASSERT_TRUE(w.Open(dir / kCacheFileName, error)) << error;
  w.Write({'x', 'y', 'z', 'w'});
  ASSERT_TRUE(w.Commit(error)) << error;
  EXPECT_EQ(w.recordsWritten(), 1);
  EXPECT_EQ(test::ReadWholeFile(dir / kCacheFileName), "xyzw");
}

TEST(CacheWriter, PartsOfDeadProcessesAreRemovedOthersKept) {
  test::ScratchFolder dir;
  // Process ids above the kernel's limit (4,194,304) never run.
  const std::string dead = std::string(kCacheFileName) + ".part99999999";
  const std::string deadTally = "(DL)Korvan.dat.part99999998";
  const std::string mine = std::string(kCacheFileName) + ".part" + std::to_string(::getpid());
  for (const std::string& name : {dead, deadTally, mine, std::string("Korvan.bin.partly")})
    test::WriteWholeFile(dir / name, "x");
  RemoveStaleParts(dir.path());
  EXPECT_FALSE(std::filesystem::exists(dir / dead));
  EXPECT_FALSE(std::filesystem::exists(dir / deadTally));
  EXPECT_TRUE(std::filesystem::exists(dir / mine));
  EXPECT_TRUE(std::filesystem::exists(dir / "Korvan.bin.partly"));
}

}  // namespace
}  // namespace vk
