// The velkorvan-mklib program as a user runs it: parts and resumption give the same bytes,
// verify finds damage, and PBN files carry a library there and back.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using vk::test::ReadWholeFile;
using vk::test::ScratchFolder;
using vk::test::WriteWholeFile;

struct Outcome {
  int status = -1;
  std::string output;  // stdout and stderr together
};

Outcome Mklib(const std::string& args) {
  std::string command = std::string("'") + VK_MKLIB_EXE + "' " + args + " 2>&1";
  Outcome o;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return o;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) o.output.append(buffer, n);
  int status = ::pclose(pipe);
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return o;
}

std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

// Six solved deals of seed 42, made once per test program.
class MklibProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new ScratchFolder;
    Outcome o = Mklib("generate --out " + Q(Reference()) + " --deals 6 --seed 42");
    ASSERT_EQ(o.status, 0) << o.output;
    reference_ = new std::string(ReadWholeFile(Reference()));
  }
  static void TearDownTestSuite() {
    delete reference_;
    delete folder_;
  }
  static fs::path Reference() { return *folder_ / "reference.bin"; }
  static const std::string& ReferenceBytes() { return *reference_; }

  ScratchFolder scratch_;

 private:
  static inline ScratchFolder* folder_ = nullptr;
  static inline std::string* reference_ = nullptr;
};

TEST_F(MklibProgram, PartsJoinedEndToEndEqualOneRun) {
  ASSERT_EQ(ReferenceBytes().size(), 6u * 26u);
  Outcome a = Mklib("generate --out " + Q(scratch_ / "a.bin") + " --deals 3 --seed 42");
  Outcome b = Mklib("generate --out " + Q(scratch_ / "b.bin") + " --deals 3 --first 4 --seed 42");
  ASSERT_EQ(a.status, 0) << a.output;
  ASSERT_EQ(b.status, 0) << b.output;
  EXPECT_EQ(ReadWholeFile(scratch_ / "a.bin") + ReadWholeFile(scratch_ / "b.bin"), ReferenceBytes());
}

TEST_F(MklibProgram, StoppedRunWithPartialRecordContinuesToTheSameBytes) {
  fs::path out = scratch_ / "part.bin";
  WriteWholeFile(out, std::string_view(ReferenceBytes()).substr(0, 4 * 26 + 11));
  Outcome o = Mklib("generate --out " + Q(out) + " --deals 6 --seed 42");
  ASSERT_EQ(o.status, 0) << o.output;
  EXPECT_NE(o.output.find("partial"), std::string::npos) << o.output;
  EXPECT_EQ(ReadWholeFile(out), ReferenceBytes());
}

TEST_F(MklibProgram, ContinuingWithAnotherSeedIsRefusedAndLeavesTheFileAlone) {
  fs::path out = scratch_ / "part.bin";
  std::string start = ReferenceBytes().substr(0, 2 * 26);
  WriteWholeFile(out, start);
  Outcome o = Mklib("generate --out " + Q(out) + " --deals 6 --seed 43");
  EXPECT_NE(o.status, 0);
  EXPECT_NE(o.output.find("--seed 43"), std::string::npos) << o.output;
  EXPECT_EQ(ReadWholeFile(out), start);
}

TEST_F(MklibProgram, VerifyPassesASoundLibraryAndNamesACorruptedTrickDigit) {
  Outcome good = Mklib("verify " + Q(Reference()) + " --sample 6");
  EXPECT_EQ(good.status, 0) << good.output;

  // Deal 5, notrump, first byte: the digits of declarers East and North. Moving one of them by
  // one keeps it a plausible count that only solving the deal again can catch.
  std::string bytes = ReferenceBytes();
  auto& byte = reinterpret_cast<unsigned char&>(bytes[4 * 26 + 16]);
  byte = static_cast<unsigned char>((byte & 0xF0) | ((byte & 0x0F) == 13 ? 12 : (byte & 0x0F) + 1));
  WriteWholeFile(scratch_ / "bad.bin", bytes);
  Outcome bad = Mklib("verify " + Q(scratch_ / "bad.bin") + " --sample 6");
  EXPECT_NE(bad.status, 0);
  EXPECT_NE(bad.output.find("deal 5: with N declaring in NoTrump"), std::string::npos) << bad.output;
}

TEST_F(MklibProgram, VerifyNamesTheDealWithADuplicatedCard) {
  ASSERT_EQ(Mklib("convert " + Q(Reference()) + " " + Q(scratch_ / "good.asc")).status, 0);
  std::string text = ReadWholeFile(scratch_ / "good.asc");
  // In deal 3, West's top card of a suit becomes a copy of North's top card of that suit.
  const std::size_t west = 2 * 89, north = west + 17;
  auto suitStart = [&text](std::size_t field, int suit) {
    std::size_t at = field;
    for (int i = 0; i < suit; ++i) at = text.find('.', at) + 1;
    return at;
  };
  bool changed = false;
  for (int suit = 0; suit < 4 && !changed; ++suit) {
    std::size_t w = suitStart(west, suit), n = suitStart(north, suit);
    auto isCard = [&text](std::size_t at, std::size_t field) { return at < field + 16 && text[at] != '.'; };
    if (isCard(w, west) && isCard(n, north)) {
      text[w] = text[n];
      changed = true;
    }
  }
  ASSERT_TRUE(changed);
  WriteWholeFile(scratch_ / "bad.asc", text);
  Outcome o = Mklib("verify " + Q(scratch_ / "bad.asc") + " --sample 0");
  EXPECT_NE(o.status, 0);
  EXPECT_NE(o.output.find("deal 3:"), std::string::npos) << o.output;
  EXPECT_NE(o.output.find("held twice"), std::string::npos) << o.output;
}

TEST_F(MklibProgram, ConvertedAndPbnCarriedLibrariesComeBackByteForByte) {
  fs::path asc = scratch_ / "lib.asc", bin = scratch_ / "lib.bin", pbn = scratch_ / "lib.pbn",
           imported = scratch_ / "imported.bin";
  ASSERT_EQ(Mklib("convert " + Q(Reference()) + " " + Q(asc)).status, 0);
  ASSERT_EQ(Mklib("convert " + Q(asc) + " " + Q(bin)).status, 0);
  EXPECT_EQ(ReadWholeFile(bin), ReferenceBytes());
  ASSERT_EQ(Mklib("export-pbn " + Q(asc) + " " + Q(pbn)).status, 0);
  // An export file gives each deal from its dealer's hand; six boards have all four dealers.
  const std::string text = ReadWholeFile(pbn);
  ASSERT_EQ(text.rfind("% PBN 2.1\r\n% EXPORT\r\n", 0), 0u);
  std::string firstSeats, dealers;
  for (std::size_t at = text.find("[Dealer \""); at != std::string::npos; at = text.find("[Dealer \"", at + 1)) {
    dealers += text[at + 9];
    const std::size_t deal = text.find("[Deal \"", at);
    ASSERT_NE(deal, std::string::npos);
    firstSeats += text[deal + 7];
  }
  EXPECT_EQ(dealers, "NESWNE");
  EXPECT_EQ(firstSeats, dealers);
  Outcome o = Mklib("import-pbn " + Q(pbn) + " " + Q(imported));
  ASSERT_EQ(o.status, 0) << o.output;
  EXPECT_EQ(ReadWholeFile(imported), ReferenceBytes());
}

TEST_F(MklibProgram, BadPbnNamesTheLineAndLeavesNoOutput) {
  fs::path pbn = scratch_ / "bad.pbn", out = scratch_ / "out.bin";
  WriteWholeFile(pbn, "[Event \"x\"]\r\n[Board \"1\"]\r\n[Deal \"W:AKQ.JT9.876.5432 - - \"]\r\n");
  Outcome o = Mklib("import-pbn " + Q(pbn) + " " + Q(out));
  EXPECT_NE(o.status, 0);
  EXPECT_NE(o.output.find("line 3"), std::string::npos) << o.output;
  EXPECT_FALSE(fs::exists(out));
  for (const auto& entry : fs::directory_iterator(scratch_.path()))
    EXPECT_EQ(entry.path().filename().string().find("partial"), std::string::npos) << entry.path();
}

}  // namespace
