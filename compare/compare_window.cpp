#include "compare/compare_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdlib>

#include "compare/compare_chart.h"
#include "desktop/app_state.h"
#include "results/success_prob.h"

namespace vk {

namespace {

struct Captions {
  const char* start;
  const char* stop;
  const char* method;
  const char* ready;
  const char* running;
  const char* stopped;
  const char* failed;
  const char* finished;  // %1 records, %2 groups
  std::array<const char*, 14> columns;
};

constexpr Captions kEnglish = {
    "Start",
    "Stop",
    "How the scores are computed",
    "Scans once and scores all 128 option sets; writes their tally files.",
    "Working",
    "Stopped: nothing was written.",
    "The comparison could not run: ",
    "%1 cache records, %2 jackknife groups. Double-click a row to choose its options in the main window.",
    {"Options", "Skill", "95 % from", "to", "Gain on (none)", "from", "to", "50 % at", "from", "to", "75 % at", "from",
     "to", "Hands"},
};
constexpr Captions kJapanese = {
    "開始",
    "中止",
    "スコアの計算方法",
    "ライブラリを一度調べて 128 組のオプションすべてを評価し, 集計ファイルを書きます。",
    "実行中",
    "中止しました: 何も書いていません。",
    "比較できませんでした: ",
    "キャッシュ記録 %1 件, ジャックナイフのグループ %2。行をダブルクリックするとメイン画面のオプションに設定します。",
    {"オプション", "スキル", "95 % 下限", "上限", "(none) との差", "下限", "上限", "50 % の点数", "下限", "上限",
     "75 % の点数", "下限", "上限", "ハンド数"},
};

const Captions& CaptionsFor(int32_t language) { return language == 0 ? kEnglish : kJapanese; }

// A cell that sorts by its number and shows it with the given decimals; empty without a value.
QTableWidgetItem* NumberItem(double v, int decimals) {
  auto* item = new QTableWidgetItem;
  if (v == v) {
    item->setData(Qt::DisplayRole, QString::number(v, 'f', decimals).toDouble());
    item->setData(Qt::ToolTipRole, QString::number(v, 'f', 6));
  }
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

}  // namespace

CompareWindow::CompareWindow(AppState& state, Hooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("frmCompare"));
  start_ = new QPushButton(this);
  start_->setObjectName(QStringLiteral("cmdCompareStart"));
  stop_ = new QPushButton(this);
  stop_->setObjectName(QStringLiteral("cmdCompareStop"));
  stop_->setEnabled(false);
  method_ = new QPushButton(this);
  method_->setObjectName(QStringLiteral("cmdCompareMethod"));
  curveBox_ = new QComboBox(this);
  curveBox_->setObjectName(QStringLiteral("cboCompareCurve"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("prgCompare"));
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("lblCompareStatus"));
  status_->setWordWrap(true);
  table_ = new QTableWidget(0, 14, this);
  table_->setObjectName(QStringLiteral("tblCompare"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->setVisible(false);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  // Best skill first until the user sorts by another column.
  table_->horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
  chart_ = new QLabel(this);
  chart_->setObjectName(QStringLiteral("picCompareChart"));
  chart_->setFixedSize(CompareChartSize() * 4 / 5);
  chart_->setScaledContents(true);

  auto* controls = new QHBoxLayout;
  controls->addWidget(start_);
  controls->addWidget(stop_);
  controls->addWidget(curveBox_);
  controls->addWidget(progress_, 1);
  controls->addWidget(method_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(status_);
  layout->addWidget(table_, 1);
  layout->addWidget(chart_, 0, Qt::AlignHCenter);
  resize(1040, 900);

  connect(start_, &QPushButton::clicked, this, [this] { Run(); });
  connect(stop_, &QPushButton::clicked, this, [this] { RequestStop(); });
  connect(method_, &QPushButton::clicked, this, [this] { OpenMethodPage(); });
  connect(curveBox_, &QComboBox::currentIndexChanged, this, [this] { FillTable(); });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { RowActivated(row); });
  SetLanguage(state_.ctx.language);
}

void CompareWindow::SetLanguage(int32_t language) {
  language_ = language;
  const Captions& c = CaptionsFor(language);
  QFont f = font();
  f.setFamily(state_.UiFont(language));
  setFont(f);
  setWindowTitle(QString::fromUtf8(language == 0 ? kCompareCaptionEnglish : kCompareCaptionJapanese));
  start_->setText(QString::fromUtf8(c.start));
  stop_->setText(QString::fromUtf8(c.stop));
  method_->setText(QString::fromUtf8(c.method));
  const int chosen = curveBox_->count() > 0 ? curveBox_->currentIndex() : kCurve3NT;
  {
    const QSignalBlocker block(curveBox_);
    curveBox_->clear();
    for (const SuccessCurve& curve : kSuccessCurves)
      curveBox_->addItem(QString::fromUtf8(language == 0 ? curve.english : curve.japanese));
    curveBox_->setCurrentIndex(chosen);
  }
  QStringList headers;
  for (const char* h : c.columns) headers << QString::fromUtf8(h);
  table_->setHorizontalHeaderLabels(headers);
  if (!running_ && comparison_.scores.empty()) status_->setText(QString::fromUtf8(c.ready));
  FillTable();
}

int CompareWindow::curve() const { return curveBox_->currentIndex() < 0 ? kCurve3NT : curveBox_->currentIndex(); }

void CompareWindow::Run() {
  if (running_ || (hooks_.mayRun && !hooks_.mayRun())) return;
  const Captions& c = CaptionsFor(language_);
  ctx_ = std::make_unique<ScanContext>();
  ctx_->folder = state_.ctx.folder;
  ctx_->library = state_.ctx.library;
  ctx_->language = state_.ctx.language;
  std::string error;
  if (!PrepareDataFolder(*ctx_, error)) {
    status_->setText(QString::fromUtf8(c.failed) + QString::fromStdString(error));
    return;
  }
  running_ = true;
  start_->setEnabled(false);
  stop_->setEnabled(true);
  status_->setText(QString::fromUtf8(c.running));
  progress_->setRange(0, std::max(1, ctx_->library.dealCount));
  progress_->setValue(0);
  if (hooks_.runningChanged) hooks_.runningChanged(true);
  Comparison result = CompareOptionSets(*ctx_, *this, ctx_->library.dealCount);
  running_ = false;
  start_->setEnabled(true);
  stop_->setEnabled(false);
  if (result.scan.outcome == ScanOutcome::Finished) {
    comparison_ = std::move(result);
    progress_->setValue(progress_->maximum());
    status_->setText(QString::fromUtf8(c.finished).arg(comparison_.records).arg(comparison_.groups));
    FillTable();
  } else if (result.scan.outcome == ScanOutcome::Stopped) {
    status_->setText(QString::fromUtf8(c.stopped));
  } else {
    status_->setText(QString::fromUtf8(c.failed) + QString::fromStdString(result.scan.error));
  }
  if (hooks_.runningChanged) hooks_.runningChanged(false);
}

void CompareWindow::RequestStop() {
  if (running_ && ctx_) ctx_->stopFlag = 1;
}

void CompareWindow::ShowCounter(const std::string& text) { progress_->setValue(std::atoi(text.c_str())); }

void CompareWindow::ProcessEvents() { state_.platform.ProcessEvents(); }

std::string CompareWindow::DealsToScanText() { return ctx_ ? std::to_string(ctx_->library.dealCount) : std::string(); }

void CompareWindow::closeEvent(QCloseEvent* event) {
  RequestStop();
  event->accept();
}

void CompareWindow::FillTable() {
  const int k = curve();
  table_->setSortingEnabled(false);
  table_->setRowCount(static_cast<int>(comparison_.scores.size()));
  int row = 0;
  for (int s : RankBySkill(comparison_.scores, k)) {
    const OptionSetScore& score = comparison_.scores[static_cast<std::size_t>(s)];
    const CurveScore& cs = score.curves[static_cast<std::size_t>(k)];
    auto* name = new QTableWidgetItem(QString::fromStdString(score.optionCode));
    name->setData(Qt::UserRole, score.set);
    name->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (score.set == 0) name->setForeground(QColor(255, 0, 0));
    table_->setItem(row, 0, name);
    int col = 1;
    for (auto [e, decimals] : {std::pair{&cs.skill, 4}, std::pair{&cs.skillGain, 4}, std::pair{&cs.threshold50, 2},
                               std::pair{&cs.threshold75, 2}}) {
      table_->setItem(row, col++, NumberItem(e->value, decimals));
      table_->setItem(row, col++, NumberItem(e->low, decimals));
      table_->setItem(row, col++, NumberItem(e->high, decimals));
    }
    table_->setItem(row, col, NumberItem(cs.weight, 0));
    ++row;
  }
  table_->setSortingEnabled(true);
  table_->resizeColumnsToContents();
  QPixmap picture(CompareChartSize());
  picture.fill(Qt::white);
  if (!comparison_.scores.empty()) {
    QPainter painter(&picture);
    DrawCompareChart(painter, comparison_.scores, language_);
  }
  chart_->setPixmap(picture);
}

void CompareWindow::RowActivated(int row) {
  const QTableWidgetItem* item = table_->item(row, 0);
  if (item == nullptr || !hooks_.selectOptions) return;
  hooks_.selectOptions(OptionSetAt(item->data(Qt::UserRole).toInt()));
}

void CompareWindow::OpenMethodPage() {
  const auto page = state_.ctx.folder / (language_ == 0 ? kComparePageEnglish : kComparePageJapanese);
  state_.platform.OpenInBrowser(QUrl::fromLocalFile(QString::fromStdString(page.string())));
}

}  // namespace vk
