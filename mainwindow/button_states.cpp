// What the main window's buttons do and which of them can be used: the option pairs, the
// option title buttons, the Start/Stop state machine, END and the close box, and the rules that
// match the table and graph buttons to the tally files on disk.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <cmath>
#include <system_error>

#include "mainwindow/clickable_label.h"
#include "mainwindow/main_window.h"
#include "scan/tallies.h"
#include "scan/tally_files.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

// The deals box's text as a number, or nothing when it is none.
std::optional<double> DealsBoxNumber(const QString& text) {
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = c.toDouble(text.trimmed(), &ok);
  if (!ok || std::isnan(value)) return std::nullopt;
  return value;
}

bool FitsDealCount(double value) { return value >= -2147483648.5 && value < 2147483647.5; }

}  // namespace

std::optional<int32_t> DealsToScan(const QString& text) {
  const std::optional<double> value = DealsBoxNumber(text);
  if (!value || !FitsDealCount(*value)) return std::nullopt;
  return RoundHalfEven(*value);
}

QString DealsBoxMessage(const QString& text, int32_t language) {
  const std::optional<double> value = DealsBoxNumber(text);
  if (value && !FitsDealCount(*value)) {
    const bool large = *value > 0;
    if (language == 1)
      return QStringLiteral(
                 "「%1」はハンドの個数として%2ます。「調べるハンドの個数」に 2147483647 以下の整数を入れて下さい。")
          .arg(text, large ? QStringLiteral("大きすぎ") : QStringLiteral("小さすぎ"));
    return QStringLiteral(
               "\"%1\" is too %2 a number of deals. Type a whole number up to 2147483647 in \"Deals to be "
               "Scanned\".")
        .arg(text, large ? QStringLiteral("large") : QStringLiteral("small"));
  }
  return language == 1
             ? QStringLiteral("「%1」はハンドの個数になりません。「調べるハンドの個数」に整数を入れて下さい。")
                   .arg(text)
             : QStringLiteral("\"%1\" is not a number of deals. Type a whole number in \"Deals to be Scanned\".")
                   .arg(text);
}

void Form1::RefreshOptions() {
  for (int i = 1; i <= 7; ++i) state_.ctx.options[i] = opt_[i]->isChecked();
}

void Form1::SetupFilename() {
  // The option buttons are the options: the engine's copy is refreshed whenever it is used.
  RefreshOptions();
  state_.ctx.SetupFilename();
}

void Form1::opt_Click(int /*i*/) { EnableDisableButtons(); }

void Form1::off_Click(int /*i*/) { EnableDisableButtons(); }

void Form1::cmd_Click(int i) {
  state_.helpTopic = i;
  help_.Show(state_.ctx.language);
}

void Form1::cmdStart_Click() {
  const QString C = cmdStart_->text();
  const int L = state_.ctx.language;
  if (C == Msg(8, L)) {
    // Two clicks handled while the scan lets events run can lead the caption back to idle
    // before the scan has seen its stop flag; a second scan must not start on top of it.
    if (scanning_) return;
    const std::optional<int32_t> n = DealsToScan(tBox_->text());
    if (!n) {
      ShowMessage(DealsBoxMessage(tBox_->text(), L));
      return;
    }
    state_.ctx.stopFlag = 0;
    cmdStart_->setText(QString::fromUtf8(kWorking));
    SetupFilename();
    scanning_ = true;
    const ScanResult result = Start(state_.ctx, *this, 1, *n);
    scanning_ = false;
    if (closing_) return;
    const int lang = state_.ctx.language;
    if (result.outcome == ScanOutcome::Failed || result.outcome == ScanOutcome::Refused) {
      cmdStart_->setText(Msg(8, lang));
      const QString why = QString::fromStdString(result.error);
      ShowMessage(lang == 1 ? QStringLiteral("調べることができませんでした: ") + why
                            : QStringLiteral("The scan could not run: ") + why);
    } else if (result.outcome == ScanOutcome::Finished) {
      const ScanReport& rep = state_.ctx.report;
      if (rep.damagedDeals > 0)
        ShowMessage(lang == 1 ? QStringLiteral("ありえないディール %1 個を飛ばしました。最初はディール %2 です(%3)。"
                                               "この結果は記録(VelKorvan.txt)に書きません。")
                                    .arg(rep.damagedDeals)
                                    .arg(rep.firstDamagedDeal)
                                    .arg(QString::fromUtf8(DealDefectText(rep.firstDefect, 1)))
                              : QStringLiteral("%1 impossible deal(s) were skipped; the first is deal %2 (%3). "
                                               "These results are not written to the log VelKorvan.txt.")
                                    .arg(rep.damagedDeals)
                                    .arg(rep.firstDamagedDeal)
                                    .arg(QString::fromUtf8(DealDefectText(rep.firstDefect, 0))));
      else if (rep.damagedRecords > 0)
        ShowMessage(lang == 1
                        ? QStringLiteral("壊れたキャッシュ・レコード %1 個を飛ばしました。最初はレコード %2 です。")
                              .arg(rep.damagedRecords)
                              .arg(rep.firstDamagedRecord)
                        : QStringLiteral("%1 damaged cache record(s) were skipped; the first is record %2.")
                              .arg(rep.damagedRecords)
                              .arg(rep.firstDamagedRecord));
    }
  } else if (C == QString::fromUtf8(kWorking)) {
    state_.ctx.stopFlag = 1;
    cmdStart_->setText(QString::fromUtf8(kStopped));
  } else if (C == QString::fromUtf8(kFinished) || C == QString::fromUtf8(kStopped)) {
    cmdStart_->setText(Msg(8, L));
  }
}

void Form1::cmdEnd_Click() { close(); }

void Form1::closeEvent(QCloseEvent* event) {
  closing_ = true;
  state_.ctx.tableState = kTableNone;
  tables_.Close();
  // A scan may be on the stack below this handler (the close arrived while it let events run):
  // it sees the stop flag as soon as control returns to it and ends without a tally file.
  state_.ctx.stopFlag = 1;
  graphs_.CloseHcpGraph();
  comments_.Close();
  help_.CloseIfOpen(0);
  help_.CloseIfOpen(1);
  if (messageBox_) messageBox_->close();
  if (compare_) compare_->close();
  event->accept();
  // Outside a running event loop (start-up, tests) there is nothing to quit; the caller sees
  // closing() instead.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::quit();
}

void Form1::DisableButtons() {
  if (closing_) return;
  for (int i = 1; i <= 7; ++i) {
    if (!opt_[i]->isChecked()) opt_[i]->setEnabled(false);
    if (!off_[i]->isChecked()) off_[i]->setEnabled(false);
  }
  cmdTable_->setEnabled(false);
  cmdGrph_->setEnabled(false);
  Language_->setEnabled(false);
  LibraryName_->setEnabled(false);
}

void Form1::EnableButtons() {
  if (closing_) return;
  for (int i = 1; i <= 7; ++i) {
    opt_[i]->setEnabled(true);
    off_[i]->setEnabled(true);
  }
  Language_->setEnabled(true);
  LibraryName_->setEnabled(true);
}

void Form1::HighlightButton(QPushButton* button) {
  button->setEnabled(true);
  if (state_.ctx.language == 0) {
    QFont f = button->font();
    f.setBold(true);
    button->setFont(f);
  }
  SetButtonFace(button, kHighlightColour);
}

void Form1::EnableDisableButtons() {
  if (closing_) return;
  graphs_.CloseHcpGraph();
  SetupFilename();
  const int L = state_.ctx.language;
  const QString code = QString::fromStdString(state_.ctx.names.optionCode);
  const QString graphFont = L == 1 ? FontOrFallback(state_.fontTable[1], 1) : QStringLiteral("Arial");
  std::error_code ec;
  if (fs::exists(TallyFilePath(state_.ctx.folder, state_.ctx.names.resultBaseName), ec)) {
    HighlightButton(cmdGrph_);
    HighlightButton(cmdTable_);
    cmdGrph_->setText(L == 1 ? QStringLiteral("グラフを描く ") + code : QStringLiteral("View Graph for ") + code);
  } else {
    cmdGrph_->setText(L == 1 ? QStringLiteral("グラフを描く") : QStringLiteral("View Graph"));
    cmdGrph_->setEnabled(false);
    // Without the tally file of these options the table would have nothing to read.
    cmdTable_->setEnabled(false);
  }
  SetFontFamily(cmdGrph_, graphFont);
  const fs::path freqFile = HCPfreqFilePath(state_.ctx.folder);
  if (fs::exists(freqFile, ec)) {
    std::string error;
    if (FinHCPfreq(freqFile, state_.ctx.tallies.HCPfreq, error)) cmdGraphHCP_->setEnabled(true);
  } else {
    cmdTable_->setEnabled(false);
  }
  if (state_.ctx.tableState != kTableNone) {
    tables_.Close();
    state_.ctx.tableState = kTableNone;
  }
}

// The scan's user interface.

void Form1::ShowCounter(const std::string& text) { lblDealCount_->setText(QString::fromStdString(text)); }

void Form1::ProcessEvents() { state_.platform.ProcessEvents(); }

std::string Form1::DealsToScanText() { return tBox_->text().toStdString(); }

void Form1::LoadTab() {
  if (!closing_) tables_.LoadTab();
}

void Form1::UpdateTable(int32_t cls, int32_t tricks, int32_t points) { tables_.UpdateTable(cls, tricks, points); }

void Form1::EnableReShowTable() {
  if (closing_ || cmdStart_->text() != QString::fromUtf8(kWorking)) return;
  state_.ctx.tableState = kTableReShow;
  HighlightButton(cmdTable_);
}

void Form1::ScanFinished() { cmdStart_->setText(QString::fromUtf8(kFinished)); }

}  // namespace vk
