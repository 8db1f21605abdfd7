#include "platform/program_folder.h"

#include <unistd.h>

#include <QStandardPaths>
#include <system_error>

namespace vk {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPagesProbe = "docs/GetLibrary.HTML";

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (a.empty() || b.empty()) return false;
  const bool same = fs::equivalent(a, b, ec);
  return !ec && same;
}

bool HasPages(const fs::path& folder) {
  std::error_code ec;
  return !folder.empty() && fs::exists(folder / kPagesProbe, ec);
}

// Makes `folder` with a copy of everything in `seed`. The copy is made under a neighbouring
// name and renamed into place, so a start that is cut short leaves no half-seeded folder.
// False with the reason when the folder could not be made; another start may have made it
// meanwhile, which is as good.
bool MakeSeededFolder(const fs::path& folder, const fs::path& seed, std::string& error) {
  fs::path staging = folder;
  staging += ".seeding";
  std::error_code ec, ignored;
  fs::create_directories(folder.parent_path(), ec);
  fs::remove_all(staging, ignored);
  if (!ec) fs::create_directory(staging, ec);
  if (!ec && fs::is_directory(seed, ignored)) fs::copy(seed, staging, fs::copy_options::recursive, ec);
  if (!ec) fs::rename(staging, folder, ec);
  if (!ec) return true;
  fs::remove_all(staging, ignored);
  if (!fs::is_directory(folder, ignored)) error = "cannot make \"" + folder.string() + "\": " + ec.message();
  return false;
}

}  // namespace

bool IsSystemLocation(const ProgramFolderInputs& in) {
  return !in.executableFolderWritable || SameFolder(in.executableFolder, in.installedBinFolder);
}

ProgramFolder ChooseProgramFolder(const ProgramFolderInputs& in) {
  ProgramFolder out;
  if (!in.commandLineFolder.empty()) {
    out.folder = fs::absolute(in.commandLineFolder).lexically_normal();
  } else if (!IsSystemLocation(in)) {
    out.folder = in.executableFolder;
  } else if (in.userDataFolder.empty()) {
    out.folder = in.executableFolder;
    out.error = "the desktop names no data folder for this user (is HOME set?)";
  } else {
    out.folder = in.userDataFolder;
    out.userData = true;
    std::error_code ec;
    if (!fs::exists(out.folder, ec)) {
      out.seeded = MakeSeededFolder(out.folder, in.sharedDataFolder, out.error);
    }
  }
  // Pages come from the program folder, else from beside the executable, else from the
  // installed copy.
  out.pagesFolder = out.folder;
  for (const fs::path& candidate : {out.folder, in.executableFolder, in.sharedDataFolder}) {
    if (HasPages(candidate)) {
      out.pagesFolder = candidate;
      break;
    }
  }
  return out;
}

ProgramFolderInputs SystemProgramFolderInputs(const fs::path& executableFolder, const fs::path& commandLineFolder) {
  ProgramFolderInputs in;
  in.commandLineFolder = commandLineFolder;
  in.executableFolder = executableFolder;
  // Root may write anywhere; the installation's own folders are recognised by name below.
  in.executableFolderWritable = ::access(executableFolder.c_str(), W_OK) == 0;
  in.installedBinFolder = VK_INSTALL_BINDIR;
  in.sharedDataFolder = VK_INSTALL_DATADIR;
  // An installed tree moved elsewhere (another prefix, a package unpacked by hand) still has
  // its data folder beside the programs' folder.
  const fs::path besideUs = executableFolder.parent_path() / VK_INSTALL_DATADIR_RELATIVE;
  std::error_code ec;
  if (fs::is_directory(besideUs, ec)) {
    in.installedBinFolder = executableFolder;
    in.sharedDataFolder = besideUs;
  }
  const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  in.userDataFolder = fs::path(userData.toStdString());
  return in;
}

}  // namespace vk
