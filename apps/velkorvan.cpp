// The desktop program: the main window on the program folder, which is the executable's folder
// or the folder named by the one optional argument.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "mainwindow/main_window.h"
#include "platform/platform.h"

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
  const QString executableFolder = QCoreApplication::applicationDirPath();
  const QStringList args = QCoreApplication::arguments();
  const QString folder = args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath() : executableFolder;
  if (!QFileInfo(folder).isDir()) {
    std::fprintf(stderr, "velkorvan: \"%s\" is not a folder\n", qPrintable(folder));
    return 2;
  }

  vk::Platform platform;
  vk::Form1 form(platform, std::filesystem::path(folder.toStdString()));
  // The pages ship in "docs" beside the executable; a program folder given on the command
  // line may not carry its own copy.
  if (!QFileInfo::exists(folder + QStringLiteral("/docs/GetLibrary.HTML")) &&
      QFileInfo::exists(executableFolder + QStringLiteral("/docs/GetLibrary.HTML"))) {
    form.state().siteAddress = vk::DefaultSiteAddress(std::filesystem::path(executableFolder.toStdString()));
  }
  form.Form_Load();
  if (form.closing()) return 0;
  return app.exec();
}
