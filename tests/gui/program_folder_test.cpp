// The desktop program's choice of its folder: beside the executable, on the command line, or,
// for an installed program, the user's data folder seeded from the installed files.
#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>
#include <optional>

#include "test_support.h"

namespace vk {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::ScratchFolder;
using test::WriteWholeFile;

// An installed tree (programs, sample library, pages) and a user whose data folder is not made
// yet. The program folder counts as writable, as every folder does for root.
struct Installed {
  ScratchFolder scratch;
  ProgramFolderInputs in;

  Installed() {
    fs::create_directories(scratch / "usr/bin");
    fs::create_directories(scratch / "usr/share/velkorvan/docs");
    WriteWholeFile(scratch / "usr/share/velkorvan/Library.bin", "sample library");
    WriteWholeFile(scratch / "usr/share/velkorvan/docs/GetLibrary.HTML", "page");
    in.executableFolder = scratch / "usr/bin";
    in.installedBinFolder = scratch / "usr/bin";
    in.sharedDataFolder = scratch / "usr/share/velkorvan";
    in.userDataFolder = scratch / "home/.local/share/velkorvan";
  }
};

TEST(ProgramFolder, ReadOnlyProgramFolderLeadsToTheUserDataFolderSeededOnceWithTheSample) {
  Installed t;
  t.in.installedBinFolder = t.scratch / "elsewhere/bin";
  t.in.executableFolderWritable = false;
  const ProgramFolder first = ChooseProgramFolder(t.in);
  EXPECT_EQ(first.folder, t.in.userDataFolder);
  EXPECT_TRUE(first.userData);
  EXPECT_TRUE(first.seeded);
  EXPECT_EQ(first.error, "");
  EXPECT_EQ(ReadWholeFile(t.in.userDataFolder / "Library.bin"), "sample library");
  EXPECT_EQ(ReadWholeFile(t.in.userDataFolder / "docs/GetLibrary.HTML"), "page");
  EXPECT_EQ(first.pagesFolder, t.in.userDataFolder);
  EXPECT_FALSE(fs::exists(t.scratch / "home/.local/share/velkorvan.seeding"));

  // A library the user puts there later is kept, and so is a folder holding only a text library.
  WriteWholeFile(t.in.userDataFolder / "Library.bin", "the user's library");
  const ProgramFolder again = ChooseProgramFolder(t.in);
  EXPECT_EQ(again.folder, t.in.userDataFolder);
  EXPECT_FALSE(again.seeded);
  EXPECT_EQ(ReadWholeFile(t.in.userDataFolder / "Library.bin"), "the user's library");
  fs::remove(t.in.userDataFolder / "Library.bin");
  WriteWholeFile(t.in.userDataFolder / "Library.asc", "text library");
  ChooseProgramFolder(t.in);
  EXPECT_FALSE(fs::exists(t.in.userDataFolder / "Library.bin"));
}

TEST(ProgramFolder, InstalledProgramsFolderIsASystemLocationEvenWhenWritable) {
  Installed t;
  ASSERT_TRUE(t.in.executableFolderWritable);
  EXPECT_TRUE(IsSystemLocation(t.in));
  EXPECT_EQ(ChooseProgramFolder(t.in).folder, t.in.userDataFolder);

  // A user data folder that cannot be made is reported, and still named as the folder, so the
  // window says which folder it could not use.
  Installed blocked;
  WriteWholeFile(blocked.scratch / "home", "a file where the home folder should be");
  const ProgramFolder refused = ChooseProgramFolder(blocked.in);
  EXPECT_EQ(refused.folder, blocked.in.userDataFolder);
  EXPECT_NE(refused.error.find(blocked.in.userDataFolder.string()), std::string::npos) << refused.error;
  EXPECT_FALSE(refused.seeded);
}

TEST(ProgramFolder, WritableFolderAndCommandLineFolderKeepTheirPlaceAndMakeNoUserFolder) {
  Installed t;
  fs::create_directories(t.scratch / "build/bin/docs");
  WriteWholeFile(t.scratch / "build/bin/docs/GetLibrary.HTML", "page beside the program");
  t.in.executableFolder = t.scratch / "build/bin";
  const ProgramFolder beside = ChooseProgramFolder(t.in);
  EXPECT_EQ(beside.folder, t.in.executableFolder);
  EXPECT_FALSE(beside.userData);
  EXPECT_EQ(beside.pagesFolder, t.in.executableFolder);

  // A folder given on the command line wins even over a read-only program folder; its pages
  // come from beside the program when it has none.
  fs::create_directories(t.scratch / "bridge");
  t.in.commandLineFolder = t.scratch / "bridge";
  t.in.executableFolderWritable = false;
  const ProgramFolder given = ChooseProgramFolder(t.in);
  EXPECT_EQ(given.folder, t.scratch / "bridge");
  EXPECT_EQ(given.pagesFolder, t.in.executableFolder);
  t.in.executableFolder = t.scratch / "usr/bin";
  EXPECT_EQ(ChooseProgramFolder(t.in).pagesFolder, t.in.sharedDataFolder);
  EXPECT_FALSE(fs::exists(t.in.userDataFolder));
}

// Sets an environment variable (or removes it) for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ProgramFolder, SystemInputsFindAnInstalledTreeBesideTheExecutableButNotABuildFolder) {
  Installed t;
  const QString testName = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName(QStringLiteral("velkorvan"));
  ProgramFolderInputs installed;
  {
    ScopedEnv home("HOME", (t.scratch / "home").c_str());
    ScopedEnv dataHome("XDG_DATA_HOME", nullptr);
    installed = SystemProgramFolderInputs(t.scratch / "usr/bin", {});
  }
  QCoreApplication::setApplicationName(testName);
  EXPECT_TRUE(IsSystemLocation(installed));
  EXPECT_EQ(installed.sharedDataFolder, t.scratch / "usr/share/velkorvan");
  EXPECT_EQ(installed.userDataFolder, t.scratch / "home/.local/share/velkorvan");

  fs::create_directories(t.scratch / "build/bin");
  const ProgramFolderInputs build = SystemProgramFolderInputs(t.scratch / "build/bin", {});
  EXPECT_TRUE(build.executableFolderWritable);
  EXPECT_FALSE(IsSystemLocation(build));
}

}  // namespace
}  // namespace vk
