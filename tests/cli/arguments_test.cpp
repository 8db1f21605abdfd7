// The arguments of the three programs as a user types them: every argument error ends the
// program with exit code 2 and one line on stderr, --help and --version with 0, without a display.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace vk {
namespace {

using Outcome = test::CommandOutcome;

// Runs `program args` with no display in the environment.
Outcome Program(const std::string& program, const std::string& args, const test::ScratchFolder& dir) {
  return test::RunCommand(
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + program + "' " + args + " </dev/null",
      dir / "stderr.txt");
}

std::string NameOf(const std::string& program) { return program.substr(program.rfind('/') + 1); }

void ExpectArgumentError(const std::string& program, const std::string& args, const test::ScratchFolder& dir) {
  Outcome r = Program(program, args, dir);
  const std::string name = NameOf(program);
  EXPECT_EQ(r.code, 2) << name << " " << args << "\n" << r.err;
  EXPECT_EQ(r.err.rfind(name + ": ", 0), 0u) << name << " " << args << "\n" << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << name << " " << args << ": not one line\n" << r.err;
  EXPECT_EQ(r.out, "") << name << " " << args;
}

TEST(Arguments, ErrorsOfTheScannerExitTwoWithOneLine) {
  test::ScratchFolder dir;
  test::WriteWholeFile(dir / "plain.txt", "x");
  const std::string folder = "--dir '" + dir.path().string() + "'";
  for (const std::string& args : std::vector<std::string>{
           std::string(""), std::string("frobnicate"), "scan --bogus " + folder, std::string("scan --dir ''"),
           "scan --dir '" + (dir / "plain.txt").string() + "'", "scan --dir '" + (dir / "none").string() + "'",
           "scan --format xml " + folder, "show --lang fr " + folder, "graph " + folder, std::string("scan --deals"),
           "scan extra " + folder})
    ExpectArgumentError(VK_CLI_EXE, args, dir);
}

TEST(Arguments, ErrorsOfTheBuilderExitTwoWithOneLineAndMakeNothing) {
  test::ScratchFolder dir;
  const std::string out = "--out '" + (dir / "x.bin").string() + "'";
  for (const std::string& args : std::vector<std::string>{
           std::string(""), std::string("frobnicate"), "generate " + out, "generate " + out + " --deals 3 --bogus",
           "generate " + out + " --deals abc", "generate " + out + " --deals 0",
           "generate " + out + " --deals 1 --seed -1", "generate " + out + " --deals 1 --seed 18446744073709551616",
           "generate " + out + " --deals 1 --seed 99999999999999999999999",
           "generate " + out + " --deals 1 --seed 0x10", "generate " + out + " --deals 1 --threads -2",
           std::string("verify"), "verify x.bin --seed -1", std::string("convert a.bin")})
    ExpectArgumentError(VK_MKLIB_EXE, args, dir);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.bin"));
}

TEST(Arguments, DesktopProgramRefusesUnknownOptionsAndNonFoldersWithoutADisplay) {
  test::ScratchFolder dir;
  test::WriteWholeFile(dir / "plain.txt", "x");
  for (const std::string& args :
       std::vector<std::string>{std::string("--bogus"), "'" + (dir / "plain.txt").string() + "'",
                                "'" + dir.path().string() + "' '" + dir.path().string() + "'"})
    ExpectArgumentError(VK_DESKTOP_EXE, args, dir);
}

TEST(Arguments, HelpAndVersionExitZeroInAllThreeProgramsWithoutADisplay) {
  test::ScratchFolder dir;
  for (const std::string& program : std::vector<std::string>{VK_CLI_EXE, VK_MKLIB_EXE, VK_DESKTOP_EXE}) {
    const std::string name = NameOf(program);
    Outcome version = Program(program, "--version", dir);
    EXPECT_EQ(version.code, 0) << name;
    EXPECT_EQ(version.out, name + " " + VK_VERSION + "\n");
    Outcome help = Program(program, "--help", dir);
    EXPECT_EQ(help.code, 0) << name << help.err;
    EXPECT_NE(help.out.find("Usage: " + name + " "), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("\nExit codes:\n  0 "), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("\n  2 "), std::string::npos) << help.out;
  }
  // The exit codes a script relies on, in the help of the commands themselves too.
  Outcome scanHelp = Program(VK_CLI_EXE, "scan --help", dir);
  EXPECT_EQ(scanHelp.code, 0);
  for (const char* code : {"\n  3 ", "\n  4 ", "\n  130 "}) EXPECT_NE(scanHelp.out.find(code), std::string::npos);
  Outcome generateHelp = Program(VK_MKLIB_EXE, "generate --help", dir);
  EXPECT_EQ(generateHelp.code, 0);
  for (const char* code : {"\n  1 ", "\n  130 "}) EXPECT_NE(generateHelp.out.find(code), std::string::npos);
}

}  // namespace
}  // namespace vk
