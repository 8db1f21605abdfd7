// Start-up of the main window: working folder, data folder and cache, language, the refusal to
// run from an archive or temporary folder, the library choice, the missing-library message and
// the tidying of result files left in the older layout.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "deals/card_coding.h"
#include "mainwindow/clickable_label.h"
#include "mainwindow/main_window.h"
#include "scan/theo.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

constexpr double kLibraryPageDelaySeconds = 3.0;
constexpr const char* kResultTextSuffix = "Korvan.txt";
constexpr const char* kSuccessLogName = "VelKorvan.txt";

// Names of the files in `folder` that match "*Korvan.txt", in name order.
std::vector<std::string> ResultTextFiles(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = it->path().filename().string();
    if (name.ends_with(kResultTextSuffix)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

void Form1::Form_Load() {
  state_.ctx.Theo = MakeTheo();
  setWindowTitle(windowTitle() + QString::fromUtf8(kVersionSuffix));
  std::error_code ec;
  fs::current_path(state_.ctx.folder, ec);
  SetMsgs();

  // The data folder and the cache check; a folder that cannot be written is reported once the
  // window is on screen.
  const DataFolderProblem dataFolderProblem = CheckDataFolder();

  ApplyBackground();
  (void)Names();

  // Language from the installed fonts: "メイリオ" wins over "ＭＳ ゴシック", whose proportional
  // twin is the face used.
  Platform& platform = state_.platform;
  if (platform.FontInstalled(QStringLiteral("ＭＳ ゴシック"))) {
    state_.ctx.language = 1;
    state_.japaneseFontName = QStringLiteral("ＭＳ Ｐゴシック");
  }
  if (platform.FontInstalled(QStringLiteral("メイリオ"))) {
    state_.ctx.language = 1;
    state_.japaneseFontName = QStringLiteral("メイリオ");
  }
  if (state_.ctx.language == 1) {
    state_.ctx.language = 0;
    Language_Click();
  }

  show();
  cmdEnd_->setFocus();

  if (ChkZip(0)) {
    startup_ = Startup::Refused;
    return;
  }
  if (dataFolderProblem != DataFolderProblem::None) {
    startup_ = Startup::DataFolderFailed;
    DataFolderFailed(dataFolderProblem);
    return;
  }

  const bool found = ChooseLibrary(state_.ctx);
  cursorY_ = 0.3 * LineHeightTwips();
  cursorX_ = 0;
  const QString fileName = QString::fromStdString(state_.ctx.library.fileName);
  if (found) {
    startup_ = Startup::Ready;
    LibraryName_->setText(QStringLiteral(" ") + fileName + QStringLiteral(" "));
    LibraryName_->show();
    tBox_->setText(QString::fromStdString(NumText(state_.ctx.library.dealCount)));
    EnableDisableButtons();
    MoveTxtFiles();
    RenameTxtFiles();
  } else {
    startup_ = Startup::LibraryMissing;
    LibraryNotFound(fileName);
  }
}

Form1::DataFolderProblem Form1::CheckDataFolder() {
  std::string error;
  if (!PrepareDataFolder(state_.ctx, error)) {
    std::error_code ec;
    const fs::path data = state_.ctx.DataFolder();
    if (fs::exists(data, ec) && !fs::is_directory(data, ec)) return DataFolderProblem::FileInTheWay;
    return fs::is_directory(data, ec) ? DataFolderProblem::CannotWrite : DataFolderProblem::CannotCreate;
  }
  // The folder may exist and still refuse new files (read-only media, foreign owner).
  const fs::path probe = state_.ctx.DataFolder() / ".velkorvan-write-test";
  std::ofstream out(probe, std::ios::binary | std::ios::trunc);
  out << "x";
  if (!out.good()) return DataFolderProblem::CannotWrite;
  out.close();
  std::error_code ec;
  fs::remove(probe, ec);
  return DataFolderProblem::None;
}

void Form1::HideAllButEnd() {
  for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (w != cmdEnd_ && !w->isWindow()) w->hide();
  }
}

bool Form1::ChkZip(int32_t flag) {
  const QString P = QString::fromStdString(state_.ctx.folder.string()).toLower();
  const int t = static_cast<int>(P.indexOf(QStringLiteral("tmp"))) + 1;
  const int z = static_cast<int>(P.indexOf(QStringLiteral("zip"))) + 1;
  if (t + flag + z == 0) return false;

  HideAllButEnd();
  cursorY_ = 1.5 * LineHeightTwips();
  if (state_.ctx.language == 1) {
    printFont_.setFamily(FontOrFallback(state_.japaneseFontName, 1));
    PrintPlain(QStringLiteral("　Zip の中では実行できません。"));
    EndLine();
    cursorY_ += 0.5 * LineHeightTwips();
    PrintPlain(QStringLiteral("　実行ファイル VelKorvan.exe を Zip の外へ取り出してから，"));
    EndLine();
    cursorY_ += 0.5 * LineHeightTwips();
    PrintPlain(QStringLiteral("　実行して下さい。"));
    EndLine();
  } else {
    printFont_.setFamily(QStringLiteral("Verdana"));
    prnt(QStringLiteral("   UnZip \"VelKorvan_13.zip\""));
    EndLine();
    prnt(QStringLiteral("   before Starting VelKorvan.exe."));
  }
  return true;
}

void Form1::DataFolderFailed(DataFolderProblem problem) {
  HideAllButEnd();
  cursorY_ = 1.5 * LineHeightTwips();
  const QString folder = QString::fromStdString(state_.ctx.folder.string());
  if (state_.ctx.language == 1) {
    printFont_.setFamily(FontOrFallback(state_.japaneseFontName, 1));
    PrintPlain(QStringLiteral("　データ・フォルダ \"DataFiles\" を作れないか、書き込めません："));
    EndLine();
    PrintWrapped(QStringLiteral("　"), folder);
    PrintPlain(QStringLiteral("　書き込みのできるフォルダで実行して下さい。"));
    EndLine();
    EndLine();
    const char* detail = problem == DataFolderProblem::FileInTheWay ? "（\"DataFiles\" という名前のファイルがあります）"
                         : problem == DataFolderProblem::CannotCreate ? "（フォルダ \"DataFiles\" を作れません）"
                                                                      : "（フォルダ \"DataFiles\" に書き込めません）";
    PrintWrapped(QStringLiteral("　"), QString::fromUtf8(detail));
  } else {
    printFont_.setFamily(QStringLiteral("Verdana"));
    prnt(QStringLiteral("   The data folder \"DataFiles\" cannot be made or written in"));
    EndLine();
    PrintWrapped(QStringLiteral("   "), folder);
    prnt(QStringLiteral("   Start VelKorvan from a folder you may write to."));
    EndLine();
    printFont_.setFamily(QStringLiteral("Arial"));
    EndLine();
    const char* detail = problem == DataFolderProblem::FileInTheWay   ? "(a file named \"DataFiles\" is in the way)"
                         : problem == DataFolderProblem::CannotCreate ? "(the folder \"DataFiles\" cannot be created)"
                                                                      : "(the folder \"DataFiles\" cannot be written)";
    PrintWrapped(QStringLiteral("   "), QString::fromUtf8(detail));
  }
}

void Form1::LibraryNotFound(const QString& fLib) {
  HideAllButEnd();
  const QString folder = QString::fromStdString(state_.ctx.folder.string());
  cursorY_ = 10 * LineHeightTwips();
  QString page;
  if (state_.ctx.language == 1) {
    printFont_.setFamily(FontOrFallback(state_.japaneseFontName, 1));
    PrintPlain(QStringLiteral("   ライブラリ･ファイル \"") + fLib + QStringLiteral("\" が見つかりません。"));
    EndLine();
    PrintWrapped(QStringLiteral("   "), QStringLiteral("探したフォルダ： ") + folder);
    page = QStringLiteral("GetLibrary.htm");
  } else {
    printFont_.setFamily(QStringLiteral("Verdana"));
    prnt(QStringLiteral("   Library File \"") + fLib + QStringLiteral("\" is not found."));
    EndLine();
    PrintWrapped(QStringLiteral("   "), QStringLiteral("Looked for in the folder ") + folder);
    page = QStringLiteral("GetLibrary.HTML");
  }

  // Events run during the wait, so the message is drawn and END works.
  Platform& platform = state_.platform;
  const double started = platform.MonotonicSeconds();
  for (;;) {
    platform.ProcessEvents();
    if (closing_) return;
    if (platform.MonotonicSeconds() - started >= kLibraryPageDelaySeconds) break;
    QThread::msleep(10);
  }
  platform.OpenInBrowser(state_.PageAddress(page));
}

void Form1::MoveTxtFiles() {
  const fs::path& folder = state_.ctx.folder;
  for (const std::string& n : ResultTextFiles(folder)) {
    if (n == kSuccessLogName) continue;  // the success log stays beside the program
    const fs::path target = state_.ctx.DataFolder() / n;
    std::error_code ec;
    if (!fs::exists(target, ec) && !ec) fs::rename(folder / n, target, ec);
  }
}

void Form1::RenameTxtFiles() {
  const fs::path data = state_.ctx.DataFolder();
  for (const std::string& n : ResultTextFiles(data)) {
    const fs::path oldName = data / n;
    const fs::path newName = data / (n.substr(0, n.size() - 4) + ".dat");
    std::error_code ec;
    if (!fs::exists(newName, ec) && !ec) fs::rename(oldName, newName, ec);
  }
}

void Form1::LibraryName_Click() {
  const QString c = LibraryName_->text().trimmed();
  std::error_code ec;
  LibraryChoice& library = state_.ctx.library;
  if (c == QString::fromUtf8(kBinLibraryName) && fs::is_regular_file(state_.ctx.folder / kAscLibraryName, ec)) {
    library.fileName = kAscLibraryName;
    library.kind = kLibraryKindAsc;
    library.recordLength = kAscRecordLength;
    LibraryName_->setText(QStringLiteral(" ") + QString::fromUtf8(kAscLibraryName));
  } else if (c == QString::fromUtf8(kAscLibraryName) && fs::is_regular_file(state_.ctx.folder / kBinLibraryName, ec)) {
    library.fileName = kBinLibraryName;
    library.kind = kLibraryKindBin;
    library.recordLength = kBinRecordLength;
    LibraryName_->setText(QStringLiteral(" ") + QString::fromUtf8(kBinLibraryName));
  }
}

}  // namespace vk
