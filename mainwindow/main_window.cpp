// The main window's controls, their designed layout and captions, and the language switch.
#include "mainwindow/main_window.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>

#include "mainwindow/clickable_label.h"

namespace vk {

namespace {

enum class Kind { Button, Label, Frame, TextBox, Option };

// One control as designed: position and size in twips relative to its container, listed in
// tab order (labels and frames hold a place in it but never take the focus).
struct Design {
  const char* name;
  Kind kind;
  const char* container;  // empty: the window itself
  const char* caption;
  int left, top, width, height;
};

constexpr Design kDesign[] = {
    {"cmdEnd", Kind::Button, "", "End", 6510, 4950, 750, 615},
    {"lblDealCount", Kind::Label, "", "count", 5460, 2145, 1125, 345},
    {"Frame1", Kind::Frame, "", "Deals to be Scanned", 4710, 2655, 2460, 840},
    {"tBox", Kind::TextBox, "Frame1", "", 585, 330, 1230, 405},
    {"cmdStart", Kind::Button, "", "Start", 6090, 195, 1170, 615},
    {"cmdTable", Kind::Button, "", "Show Table", 5025, 3540, 1560, 465},
    {"cmdGrph", Kind::Button, "", "View Graph", 2370, 300, 3405, 480},
    {"frame1", Kind::Frame, "", "Dummy Points", 150, 1200, 2010, 1020},
    {"opt1", Kind::Option, "frame1", "ON", 240, 615, 675, 300},
    {"off1", Kind::Option, "frame1", "OFF", 1050, 570, 840, 375},
    {"frame2", Kind::Frame, "", "Length Points", 2400, 1290, 2100, 930},
    {"off2", Kind::Option, "frame2", "OFF", 1080, 420, 855, 420},
    {"frame3", Kind::Frame, "", "Singleton Honors", 135, 2310, 2010, 855},
    {"opt3", Kind::Option, "frame3", "ON", 255, 450, 675, 330},
    {"off3", Kind::Option, "frame3", "OFF", 1035, 420, 810, 420},
    {"frame4", Kind::Frame, "", "Doubleton Honors", 2385, 2265, 2130, 900},
    {"opt4", Kind::Option, "frame4", "ON", 225, 435, 765, 405},
    {"off4", Kind::Option, "frame4", "OFF", 1080, 435, 825, 420},
    {"frame5", Kind::Frame, "", " Four Aces", 120, 3240, 2010, 900},
    {"opt5", Kind::Option, "frame5", "ON", 255, 465, 660, 345},
    {"off5", Kind::Option, "frame5", "OFF", 1005, 435, 795, 405},
    {"frame6", Kind::Frame, "", "Aceless Hands", 2385, 3255, 2115, 900},
    {"opt6", Kind::Option, "frame6", "ON", 240, 510, 765, 300},
    {"off6", Kind::Option, "frame6", "OFF", 1110, 510, 795, 285},
    {"LibraryName", Kind::Label, "", " Library.bin", 120, 15, 1410, 330},
    {"cmd5", Kind::Button, "", "FourAces", 135, 3240, 1980, 450},
    {"cmd6", Kind::Button, "", "Aceless Hands", 2370, 3240, 2115, 435},
    {"cmd3", Kind::Button, "", "Singleton Honors", 165, 2295, 1950, 405},
    {"cmd4", Kind::Button, "frame4", "Doubleton Honors", 0, 0, 2115, 420},
    {"cmd1", Kind::Button, "frame1", "Dummy Points", 0, 30, 1995, 420},
    {"Language", Kind::Label, "", "English", 120, 435, 1320, 330},
    {"cmdGraphHCP", Kind::Button, "", "Additional Graph", 4755, 4215, 1980, 570},
    {"frame7", Kind::Frame, "", "Frame2", 150, 4230, 2985, 1050},
    {"opt7", Kind::Option, "frame7", "ON", 600, 615, 795, 270},
    {"off7", Kind::Option, "frame7", "OFF", 1590, 585, 840, 315},
    {"cmd7", Kind::Button, "frame7", "Limit Declarer's Hand", 30, 45, 2910, 375},
    {"opt2", Kind::Option, "frame2", "ON", 255, 495, 825, 270},
    {"cmd2", Kind::Button, "", "Long Suit Points", 2400, 1230, 2085, 420},
};

constexpr int kClientWidth = 7395;   // twips
constexpr int kClientHeight = 5610;  // twips

// The program icon: a playing card with three bars of a frequency chart, in 32 and 16 pixels.
QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4 * s, 1 * s, 24 * s, 30 * s), 3 * s, 3 * s);
    p.setPen(Qt::NoPen);
    const QColor bars[] = {Qt::blue, Qt::red, Qt::darkGreen};
    const double heights[] = {10, 20, 14};
    for (int k = 0; k < 3; ++k) {
      p.setBrush(bars[k]);
      p.drawRect(QRectF((8 + 6 * k) * s, (27 - heights[k]) * s, 5 * s, heights[k] * s));
    }
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QUrl DefaultSiteAddress(const std::filesystem::path& programFolder) {
  return QUrl::fromLocalFile(QString::fromStdString(programFolder.string()) + QStringLiteral("/docs/"));
}

Form1::Form1(Platform& platform, const std::filesystem::path& programFolder, QWidget* parent)
    : QWidget(parent),
      state_(platform),
      comments_(state_),
      help_(state_),
      tables_(state_, comments_),
      graphs_(state_, comments_) {
  setObjectName(QStringLiteral("Form1"));
  state_.ctx.folder = std::filesystem::absolute(programFolder).lexically_normal();
  if (state_.ctx.folder.has_filename() == false && state_.ctx.folder.has_parent_path()) {
    state_.ctx.folder = state_.ctx.folder.parent_path();  // drop a trailing separator
  }
  state_.siteAddress = DefaultSiteAddress(state_.ctx.folder);
  state_.mainWindow = this;
  state_.background = platform.Color3DLight();

  setWindowTitle(QString::fromUtf8(kDesignedCaption));
  setWindowIcon(ProgramIcon());
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, state_.background);
  setPalette(pal);
  setAutoFillBackground(true);

  QFont windowFont(QStringLiteral("Arial"));
  windowFont.setPointSizeF(12);
  setFont(windowFont);
  printFont_ = windowFont;

  BuildControls();
  InstallCompareShortcut();
  SetTabOrder();
}

Form1::~Form1() {
  // The other windows go before the state they read.
  tables_.Close();
  graphs_.CloseHcpGraph();
  comments_.Close();
  help_.CloseIfOpen(0);
  help_.CloseIfOpen(1);
  if (messageBox_) delete messageBox_;
}

void Form1::BuildControls() {
  std::vector<QWidget*> created;
  auto containerOf = [&](const char* name) -> QWidget* {
    if (name[0] == '\0') return this;
    return findChild<QWidget*>(QString::fromUtf8(name));
  };
  for (const Design& d : kDesign) {
    QWidget* parentWidget = containerOf(d.container);
    const QString caption = QString::fromUtf8(d.caption);
    QWidget* w = nullptr;
    switch (d.kind) {
      case Kind::Button:
        w = new QPushButton(caption, parentWidget);
        break;
      case Kind::Label: {
        auto* label = new ClickableLabel(parentWidget);
        label->setText(caption);
        label->setAlignment(Qt::AlignCenter);
        w = label;
        break;
      }
      case Kind::Frame: {
        // An option's frame caption lies under its title button: it is kept for accessibility
        // but not drawn, so that no end of it shows beside the button.
        const bool optionFrame = QString::fromUtf8(d.name).startsWith(QStringLiteral("frame"));
        auto* frame = new QGroupBox(optionFrame ? QString() : caption, parentWidget);
        frame->setAccessibleName(caption);
        w = frame;
        break;
      }
      case Kind::TextBox:
        w = new QLineEdit(caption, parentWidget);
        break;
      case Kind::Option:
        w = new QRadioButton(caption, parentWidget);
        break;
    }
    w->setObjectName(QString::fromUtf8(d.name));
    w->setGeometry(TwipsRect(d.left, d.top, d.width, d.height));
    created.push_back(w);
  }

  cmdEnd_ = findChild<QPushButton*>(QStringLiteral("cmdEnd"));
  lblDealCount_ = findChild<QLabel*>(QStringLiteral("lblDealCount"));
  Frame1_ = findChild<QGroupBox*>(QStringLiteral("Frame1"));
  tBox_ = findChild<QLineEdit*>(QStringLiteral("tBox"));
  cmdStart_ = findChild<QPushButton*>(QStringLiteral("cmdStart"));
  cmdTable_ = findChild<QPushButton*>(QStringLiteral("cmdTable"));
  cmdGrph_ = findChild<QPushButton*>(QStringLiteral("cmdGrph"));
  cmdGraphHCP_ = findChild<QPushButton*>(QStringLiteral("cmdGraphHCP"));
  LibraryName_ = static_cast<ClickableLabel*>(findChild<QLabel*>(QStringLiteral("LibraryName")));
  Language_ = static_cast<ClickableLabel*>(findChild<QLabel*>(QStringLiteral("Language")));
  for (int i = 1; i <= 7; ++i) {
    const QString n = QString::number(i);
    frame_[i] = findChild<QGroupBox*>(QStringLiteral("frame") + n);
    cmd_[i] = findChild<QPushButton*>(QStringLiteral("cmd") + n);
    opt_[i] = findChild<QRadioButton*>(QStringLiteral("opt") + n);
    off_[i] = findChild<QRadioButton*>(QStringLiteral("off") + n);
    off_[i]->setChecked(true);
    // The option title button lies over the frame's top edge and hides the frame's caption.
    cmd_[i]->raise();
  }

  QFont counterFont(QStringLiteral("Arial Narrow"));
  counterFont.setPointSizeF(14.25);
  lblDealCount_->setFont(counterFont);
  QPalette counterPalette = lblDealCount_->palette();
  counterPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  lblDealCount_->setPalette(counterPalette);
  lblDealCount_->setToolTip(QStringLiteral("Deal Number just being scanned."));

  QFont singletonFont = cmd_[3]->font();
  singletonFont.setPointSizeF(11.25);
  cmd_[3]->setFont(singletonFont);

  for (ClickableLabel* label : {LibraryName_, Language_}) {
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
  }
  LibraryName_->hide();

  cmdTable_->setEnabled(false);
  cmdGrph_->setEnabled(false);
  cmdGraphHCP_->setEnabled(false);

  // Handlers.
  connect(cmdEnd_, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
  connect(cmdStart_, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
  connect(cmdTable_, &QPushButton::clicked, this, [this] { tables_.cmdTable_Click(); });
  connect(cmdGrph_, &QPushButton::clicked, this, [this] {
    SetupFilename();
    graphs_.cmdGrph_Click();
  });
  connect(cmdGraphHCP_, &QPushButton::clicked, this, [this] { graphs_.cmdGraphHCP_Click(); });
  LibraryName_->SetClickHandler([this] { LibraryName_Click(); });
  Language_->SetClickHandler([this] { Language_Click(); });
  for (int i = 1; i <= 7; ++i) {
    connect(cmd_[i], &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
    // A pair's selection can move by mouse or by the arrow keys: act on the newly selected one.
    connect(opt_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) opt_Click(i);
    });
    connect(off_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) off_Click(i);
    });
  }
}

void Form1::SetTabOrder() {
  QWidget* previous = nullptr;
  for (const Design& d : kDesign) {
    if (d.kind == Kind::Label || d.kind == Kind::Frame) continue;
    QWidget* w = findChild<QWidget*>(QString::fromUtf8(d.name));
    if (previous != nullptr) setTabOrder(previous, w);
    previous = w;
  }
}

void Form1::SetMsgs() {
  struct Row {
    const char* english;
    const char* japanese;
  };
  static constexpr Row kRows[] = {
      {"Dummy Points", "ダミー点"},
      {"Long Suit Points", "長さ点"},
      {"Singleton Honors", "絵札シングルトン"},
      {"Doubleton Honors", "絵札のダブルトン"},
      {"Four Aces", "エース 4 枚"},
      {"Aceless Hands", "エース無しの手"},
      {"Limit Declarer's Hand", "デクのハンドを限定する"},
      {"Start", "開 始"},
      {"END", "終了"},
      {"Deals to be Scanned", "調べるハンドの個数"},
      {"Show Table", "表を見る"},
      {"Additional Graph", "グラフ [補足]"},
  };
  for (int k = 1; k <= 12; ++k) {
    msgs_[k][0] = QString::fromUtf8(kRows[k - 1].english);
    msgs_[k][1] = QString::fromUtf8(kRows[k - 1].japanese);
  }
  static constexpr const char* kTableRows[] = {"NT  8 tricks", "NT  9 tricks", "Suit  9 tricks", "Suit 10 tricks",
                                               "Suit 11 tricks"};
  for (int r = 1; r <= 5; ++r) state_.tableRowCaptions[r] = QString::fromUtf8(kTableRows[r - 1]);
}

QString Form1::FontOrFallback(const QString& family, int language) const {
  // An empty font-table entry (no Japanese font was found at start-up) would leave the
  // Japanese captions to whatever the toolkit picks; name a Japanese-capable face instead.
  if (!family.isEmpty()) return family;
  return state_.UiFont(language);
}

void Form1::SetFontFamily(QWidget* w, const QString& family) {
  // Only the face changes: size, weight and colour stay.
  QFont f = w->font();
  f.setFamily(family);
  w->setFont(f);
}

void Form1::SetOptMsg() {
  const int L = state_.ctx.language == 0 ? 0 : 1;
  state_.fontTable[0] = QStringLiteral("Arial");
  state_.fontTable[1] = state_.japaneseFontName;
  const QString F = FontOrFallback(state_.fontTable[L], L);
  for (int i = 1; i <= 7; ++i) {
    cmd_[i]->setText(Msg(i, L));
    SetFontFamily(cmd_[i], F);
  }
  const std::pair<QWidget*, int> captioned[] = {
      {cmdStart_, 8}, {cmdEnd_, 9}, {Frame1_, 10}, {cmdTable_, 11}, {cmdGraphHCP_, 12}};
  for (const auto& [w, row] : captioned) {
    if (auto* button = qobject_cast<QPushButton*>(w)) button->setText(Msg(row, L));
    if (auto* frame = qobject_cast<QGroupBox*>(w)) {
      frame->setTitle(Msg(row, L));
      frame->setAccessibleName(Msg(row, L));
    }
    SetFontFamily(w, F);
  }
  const QString code = QString::fromStdString(state_.ctx.names.optionCode);
  cmdGrph_->setText(L == 1 ? QStringLiteral("グラフを見る ") + code : QStringLiteral("View Graph for ") + code);
  SetFontFamily(cmdGrph_, F);
}

void Form1::Language_Click() {
  if (state_.ctx.language == 1) {
    help_.CloseIfOpen(1);
    Language_->setText(QStringLiteral("English"));
    state_.ctx.language = 0;
  } else {
    help_.CloseIfOpen(0);
    Language_->setText(QStringLiteral("Japanese"));
    state_.ctx.language = 1;
  }
  SetOptMsg();
  if (compare_) compare_->SetLanguage(state_.ctx.language);
  show();
}

void Form1::ApplyBackground() {
  for (QWidget* w : findChildren<QWidget*>()) {
    if (w == tBox_ || tBox_->isAncestorOf(w) || w->isWindow()) continue;
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, state_.background);
    pal.setColor(QPalette::Button, state_.background);
    w->setPalette(pal);
  }
}

void Form1::SetButtonFace(QPushButton* button, const QColor& colour) {
  QPalette pal = button->palette();
  pal.setColor(QPalette::Button, colour);
  button->setPalette(pal);
}

void Form1::ShowMessage(const QString& text) {
  lastMessage_ = text;
  if (!messageBox_) {
    messageBox_ = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    messageBox_->setObjectName(QStringLiteral("messageBox"));
    messageBox_->setWindowModality(Qt::NonModal);
  }
  messageBox_->setWindowTitle(windowTitle());
  messageBox_->setText(text);
  messageBox_->show();
}

}  // namespace vk
