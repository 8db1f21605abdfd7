// The velkorvan-mklib program as a user runs it: parts and resumption give the same bytes,
// verify finds damage, PBN files carry a library there and back, no file of another making is
// cut or overwritten and no temporary file outlives its run.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "mklib/replacing_file.h"
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

// --- Outputs: a foreign file is never cut, no temporary file outlives its run ---

TEST_F(MklibProgram, GenerateOntoAFileThatIsNotThatLibraryRefusesAndLeavesItByteIdentical) {
  std::string zeros(30, '\0');
  std::string otherDeal = ReferenceBytes().substr(26, 20);  // the start of deal 2, not deal 1
  for (const std::string& foreign : {std::string("not a library\n"), zeros, otherDeal, ReferenceBytes() + "x"}) {
    fs::path out = scratch_ / "foreign.bin";
    WriteWholeFile(out, foreign);
    Outcome o = Mklib("generate --out " + Q(out) + " --deals 6 --seed 42");
    EXPECT_EQ(o.status, 1) << o.output;
    EXPECT_NE(o.output.find("--seed 42"), std::string::npos) << o.output;
    EXPECT_EQ(ReadWholeFile(out), foreign);
  }
  fs::create_directory(scratch_ / "folder.bin");
  Outcome folder = Mklib("generate --out " + Q(scratch_ / "folder.bin") + " --deals 1 --seed 42");
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.output.find(std::strerror(EISDIR)), std::string::npos) << folder.output;
  EXPECT_TRUE(fs::is_directory(scratch_ / "folder.bin"));
}

TEST_F(MklibProgram, GenerateContinuesItsOwnPartialFirstRecord) {
  fs::path out = scratch_ / "start.bin";
  WriteWholeFile(out, ReferenceBytes().substr(0, 20));  // cards and three bytes of tricks
  Outcome o = Mklib("generate --out " + Q(out) + " --deals 1 --seed 42");
  ASSERT_EQ(o.status, 0) << o.output;
  EXPECT_EQ(ReadWholeFile(out), ReferenceBytes().substr(0, 26));
}

TEST_F(MklibProgram, LargestSeedIsTakenAsGiven) {
  Outcome o = Mklib("generate --out " + Q(scratch_ / "max.bin") + " --deals 1 --seed 18446744073709551615");
  ASSERT_EQ(o.status, 0) << o.output;
  EXPECT_NE(o.output.find("seed 18446744073709551615"), std::string::npos) << o.output;
}

std::vector<fs::path> Leftovers(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().find(".partial-") != std::string::npos) found.push_back(entry.path());
  return found;
}

TEST_F(MklibProgram, StoppedImportLeavesNeitherOutputNorTemporaryFile) {
  // Enough deals that solving lasts seconds after the temporary file appears.
  fs::path pbn = scratch_ / "many.pbn";
  ASSERT_EQ(Mklib("export-pbn " + Q(Reference()) + " " + Q(pbn)).status, 0);
  std::string games = ReadWholeFile(pbn), text;
  for (int i = 0; i < 40; ++i) text += games;
  WriteWholeFile(pbn, text);
  for (int signal : {SIGTERM, SIGINT}) {
    fs::path out = scratch_ / "imported.bin";
    std::string exe = VK_MKLIB_EXE, pbnArg = pbn.string(), outArg = out.string();
    char* argv[] = {exe.data(), const_cast<char*>("import-pbn"), pbnArg.data(), outArg.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    const fs::path temporary = vk::mklib::TemporaryNameFor(out, pid);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(temporary) && std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(fs::exists(temporary));
    ::kill(pid, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_TRUE(Leftovers(scratch_.path()).empty());
    EXPECT_FALSE(fs::exists(out));
  }
}

TEST_F(MklibProgram, TemporaryFileOfADeadRunIsRemovedByTheNextRunButNotOneOfALiveRun) {
  pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
  fs::path out = scratch_ / "lib.asc";
  const fs::path stale = vk::mklib::TemporaryNameFor(out, dead), live = vk::mklib::TemporaryNameFor(out, ::getpid()),
                 other = vk::mklib::TemporaryNameFor(scratch_ / "other.asc", dead);
  for (const fs::path& p : {stale, live, other}) WriteWholeFile(p, "half");
  ASSERT_EQ(Mklib("convert " + Q(Reference()) + " " + Q(out)).status, 0);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(other));
}

TEST_F(MklibProgram, RenameOntoAFolderGivesItsOwnCause) {
  // The folder appears while the output is written: the rename itself fails.
  vk::mklib::ReplacingFile file;
  std::string error;
  const fs::path target = scratch_ / "late.bin";
  ASSERT_TRUE(file.Open(target, error)) << error;
  ASSERT_TRUE(file.Write(std::string_view("bytes"), error)) << error;
  fs::create_directory(target);
  EXPECT_FALSE(file.Commit(error));
  EXPECT_NE(error.find(std::strerror(EISDIR)), std::string::npos) << error;
  EXPECT_TRUE(Leftovers(scratch_.path()).empty());
  // A folder already there is refused before any work.
  Outcome o = Mklib("convert " + Q(Reference()) + " " + Q(target));
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.output.find(std::strerror(EISDIR)), std::string::npos) << o.output;
  EXPECT_TRUE(Leftovers(scratch_.path()).empty());
}

// --- Inputs: other line ends are named and mended, a folder is no library, garbage is no PBN ---

TEST_F(MklibProgram, VerifyNamesOtherLineEndsAndConvertMendsThem) {
  fs::path asc = scratch_ / "good.asc";
  ASSERT_EQ(Mklib("convert " + Q(Reference()) + " " + Q(asc)).status, 0);
  const std::string good = ReadWholeFile(asc);
  std::string crlf;
  for (char c : good) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string noLast = good.substr(0, good.size() - 1);
  struct Case {
    std::string bytes, problem;
  };
  for (const Case& c :
       {Case{crlf, "CR LF"}, Case{noLast, "no line feed"}, Case{crlf.substr(0, crlf.size() - 2), "CR LF"}}) {
    fs::path bad = scratch_ / "bad.asc";
    WriteWholeFile(bad, c.bytes);
    Outcome verify = Mklib("verify " + Q(bad) + " --sample 0");
    EXPECT_EQ(verify.status, 1);
    EXPECT_NE(verify.output.find(bad.string() + "\": its"), std::string::npos) << verify.output;
    EXPECT_NE(verify.output.find(c.problem), std::string::npos) << verify.output;
    EXPECT_NE(verify.output.find("velkorvan-mklib convert"), std::string::npos) << verify.output;

    ASSERT_EQ(Mklib("convert " + Q(bad) + " " + Q(scratch_ / "mended.bin")).status, 0);
    EXPECT_EQ(ReadWholeFile(scratch_ / "mended.bin"), ReferenceBytes());
    // The mend the message names: in place.
    Outcome inPlace = Mklib("convert " + Q(bad) + " " + Q(bad));
    ASSERT_EQ(inPlace.status, 0) << inPlace.output;
    EXPECT_EQ(ReadWholeFile(bad), good);
  }
}

TEST_F(MklibProgram, FolderNamedLikeALibraryIsNoLibrary) {
  fs::create_directory(scratch_ / "Library.bin");
  for (const std::string command : {"verify", "convert", "export-pbn"}) {
    std::string args = command + " " + Q(scratch_ / "Library.bin");
    if (command != "verify") args += " " + Q(scratch_ / (command == "convert" ? "out.asc" : "out.pbn"));
    Outcome o = Mklib(args);
    EXPECT_EQ(o.status, 1) << args;
    EXPECT_NE(o.output.find("is a folder, not a library file"), std::string::npos) << o.output;
  }
  Outcome pbn = Mklib("import-pbn " + Q(scratch_.path()) + " " + Q(scratch_ / "out.bin"));
  EXPECT_EQ(pbn.status, 1);
  EXPECT_NE(pbn.output.find("is a folder, not a PBN file"), std::string::npos) << pbn.output;
}

TEST_F(MklibProgram, GarbageWithoutLineEndsIsRefusedAsNoPbnAfterItsFirstLine) {
  fs::path garbage = scratch_ / "garbage.pbn", out = scratch_ / "out.bin";
  WriteWholeFile(garbage, std::string(50 << 20, 'x'));
  Outcome o = Mklib("import-pbn " + Q(garbage) + " " + Q(out));
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.output.find("is not a PBN file: line 1 is longer than"), std::string::npos) << o.output;
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
