#pragma once
// Where the desktop program keeps its folder (the library, "DataFiles", the log). A program run
// from a folder of its own keeps everything beside the executable. An installed program lives
// in a system folder that is no place for a library and usually not writable; it uses the
// user's data folder instead, which its first start creates and seeds with the sample library
// and the pages installed with the program.

#include <filesystem>
#include <string>

namespace vk {

struct ProgramFolderInputs {
  std::filesystem::path commandLineFolder;  // empty when no folder was given
  std::filesystem::path executableFolder;
  bool executableFolderWritable = true;
  std::filesystem::path installedBinFolder;  // where an installation puts the programs
  std::filesystem::path userDataFolder;      // the user's own data folder for this program
  std::filesystem::path sharedDataFolder;    // the installed sample library and docs/
};

struct ProgramFolder {
  std::filesystem::path folder;       // the program folder to use
  std::filesystem::path pagesFolder;  // the folder whose docs/ holds the pages to open
  bool userData = false;              // the user's data folder was chosen
  bool seeded = false;                // ... and was made and seeded in this call
  std::string error;                  // why the user's data folder could not be made
};

// True when the executable's folder is no place for the program's files: not writable, or the
// installation's folder of programs.
bool IsSystemLocation(const ProgramFolderInputs& in);

// A folder on the command line wins; then the executable's folder unless it is a system
// location; then the user's data folder. That folder is made on first use, under a temporary
// name, with copies of the sample library and the pages, and renamed into place once complete;
// a folder that exists already is used as it is, so a library the user put there is kept.
ProgramFolder ChooseProgramFolder(const ProgramFolderInputs& in);

// The inputs of this machine: the folder's write permission, the installation folders (those
// beside the executable when it sits in an installed tree, else those the build was configured
// for) and the user's data folder from the desktop's standard locations.
ProgramFolderInputs SystemProgramFolderInputs(const std::filesystem::path& executableFolder,
                                              const std::filesystem::path& commandLineFolder);

}  // namespace vk
