// The desktop program: the main window on the program folder, which is the folder named by the
// one optional argument, else the executable's folder, else (for an installed program) the
// user's data folder.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "mainwindow/main_window.h"
#include "platform/platform.h"
#include "platform/program_folder.h"

namespace {

constexpr const char* kUsage =
    "Usage: velkorvan [FOLDER]\n"
    "The VelKorvan desktop program: scans a deal library for how often a partnership with a given\n"
    "point count makes its game. FOLDER holds Library.bin or Library.asc and the results in\n"
    "DataFiles (default: the program's own folder, or ~/.local/share/velkorvan for an installed\n"
    "program, which its first start fills with the sample library).\n"
    "\n"
    "Options:\n"
    "  -h,--help    Print this help message and exit\n"
    "  --version    Print the version and exit\n"
    "\n"
    "Exit codes:\n"
    "  0    the main window was closed\n"
    "  1    no display found (scan without windows with velkorvan-cli)\n"
    "  2    bad arguments: an unknown option, more than one folder, or a FOLDER that is not a folder\n";

// The arguments, read before anything needs a display. Returns the exit code when the program
// ends here; `folder` gets the one folder argument, if any.
std::optional<int> ReadArguments(int argc, char** argv, std::string& folder) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("velkorvan %s\n", VK_VERSION);
      return 0;
    }
  }
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string problem;
    if (arg.size() > 1 && arg[0] == '-')
      problem = "unknown option \"" + arg + "\"";
    else if (!folder.empty())
      problem = "more than one folder given (\"" + folder + "\" and \"" + arg + "\")";
    else if (arg.empty())
      problem = "an empty folder name";
    else if (std::error_code ec; !std::filesystem::is_directory(arg, ec))
      problem = "\"" + arg + "\" is not a folder";
    if (!problem.empty()) {
      std::fprintf(stderr, "velkorvan: %s (see velkorvan --help)\n", problem.c_str());
      return 2;
    }
    folder = arg;
  }
  return std::nullopt;
}

bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  std::string folderArgument;
  if (auto code = ReadArguments(argc, argv, folderArgument)) return *code;
  if (!DisplayAvailable()) {
    std::printf("No display found: scan without windows with  velkorvan-cli scan --dir FOLDER\n");
    return 1;
  }
  QApplication app(argc, argv);
  // Names the user's data folder (~/.local/share/velkorvan) whatever the executable is called.
  QCoreApplication::setApplicationName(QStringLiteral("velkorvan"));
  const std::filesystem::path commandLineFolder =
      folderArgument.empty() ? std::string()
                             : QFileInfo(QString::fromLocal8Bit(folderArgument)).absoluteFilePath().toStdString();
  const vk::ProgramFolder chosen = vk::ChooseProgramFolder(
      vk::SystemProgramFolderInputs(QCoreApplication::applicationDirPath().toStdString(), commandLineFolder));
  if (!chosen.error.empty()) std::fprintf(stderr, "velkorvan: %s\n", chosen.error.c_str());
  const QString folder = QString::fromStdString(chosen.folder.string());

  vk::Platform platform;
  vk::Form1 form(platform, std::filesystem::path(folder.toStdString()));
  // A program folder given on the command line may not carry its own copy of the pages.
  form.state().siteAddress = vk::DefaultSiteAddress(chosen.pagesFolder);
  form.Form_Load();
  if (form.closing()) return 0;
  return app.exec();
}
