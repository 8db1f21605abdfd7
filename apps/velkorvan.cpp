// The desktop program: the main window on the program folder, which is the folder named by the
// one optional argument, else the executable's folder, else (for an installed program) the
// user's data folder.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "mainwindow/main_window.h"
#include "platform/platform.h"
#include "platform/program_folder.h"

namespace {

bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::printf("No display found: scan without windows with  velkorvan-cli scan --dir FOLDER\n");
    return 1;
  }
  QApplication app(argc, argv);
  // Names the user's data folder (~/.local/share/velkorvan) whatever the executable is called.
  QCoreApplication::setApplicationName(QStringLiteral("velkorvan"));
  const QStringList args = QCoreApplication::arguments();
  const std::filesystem::path commandLineFolder =
      args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath().toStdString() : std::string();
  const vk::ProgramFolder chosen = vk::ChooseProgramFolder(
      vk::SystemProgramFolderInputs(QCoreApplication::applicationDirPath().toStdString(), commandLineFolder));
  if (!chosen.error.empty()) std::fprintf(stderr, "velkorvan: %s\n", chosen.error.c_str());
  const QString folder = QString::fromStdString(chosen.folder.string());
  if (!QFileInfo(folder).isDir()) {
    std::fprintf(stderr, "velkorvan: \"%s\" is not a folder\n", qPrintable(folder));
    return 2;
  }

  vk::Platform platform;
  vk::Form1 form(platform, std::filesystem::path(folder.toStdString()));
  // A program folder given on the command line may not carry its own copy of the pages.
  form.state().siteAddress = vk::DefaultSiteAddress(chosen.pagesFolder);
  form.Form_Load();
  if (form.closing()) return 0;
  return app.exec();
}
