#include "results/graph_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>

#include "desktop/app_state.h"
#include "help/comment_window.h"
#include "platform/drawing_surface.h"
#include "platform/platform.h"

namespace vk {

namespace {

frmGrph::SaveFileNameHook& SaveHook() {
  static frmGrph::SaveFileNameHook hook;
  return hook;
}

QFont FontOf(const QString& family, double points) {
  QFont font(family);
  font.setPointSizeF(points);
  return font;
}

void SetBackground(QWidget* widget, const QColor& colour) {
  if (!colour.isValid()) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::Button, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

frmGrph::frmGrph(AppState& state, CommentWindow& comments) : state_(state), comments_(comments) {
  setObjectName(QStringLiteral("frmGrph"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(FontOf(QStringLiteral("Arial"), 12));
  setFixedSize(TwipsToPixels(9045), TwipsToPixels(6630));

  p = new DrawingSurface(this);
  p->setObjectName(QStringLiteral("p"));
  p->setGeometry(TwipsRect(30, 15, 8880, 5985));
  p->SetFont(QStringLiteral("Arial"), 11.25);

  cmdComments = new QPushButton(QStringLiteral("Comments on the Graph"), this);
  cmdComments->setObjectName(QStringLiteral("cmdComments"));
  cmdComments->setGeometry(TwipsRect(4800, 6090, 2865, 450));
  cmdComments->setFont(DesignSansSerif(11.25));

  cmdClose = new QPushButton(QStringLiteral("Close"), this);
  cmdClose->setObjectName(QStringLiteral("cmdClose"));
  cmdClose->setGeometry(TwipsRect(7725, 6075, 1185, 450));

  SetBackground(this, state_.background);
  SetBackground(cmdComments, state_.background);
  SetBackground(cmdClose, state_.background);

  const bool japanese = state_.ctx.language == 1;
  if (japanese) {
    const QString font = state_.UiFont(1);
    cmdClose->setFont(FontOf(font, cmdClose->font().pointSizeF()));
    cmdComments->setFont(FontOf(font, cmdComments->font().pointSizeF()));
    cmdClose->setText(QStringLiteral("閉じる"));
    cmdComments->setText(QStringLiteral("このグラフの説明"));
  }

  actSavePicture = new QAction(japanese ? QStringLiteral("グラフを保存...") : QStringLiteral("Save Picture..."), p);
  actSavePicture->setObjectName(QStringLiteral("actSavePicture"));
  p->addAction(actSavePicture);
  p->setContextMenuPolicy(Qt::ActionsContextMenu);

  connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
  connect(cmdComments, &QPushButton::clicked, this, [this] { cmdComments_Click(); });
  connect(actSavePicture, &QAction::triggered, this, [this] { SavePictureAs(); });

  // The pace keys work whichever control has the focus.
  installEventFilter(this);
  for (QWidget* child :
       {static_cast<QWidget*>(p), static_cast<QWidget*>(cmdComments), static_cast<QWidget*>(cmdClose)}) {
    child->installEventFilter(this);
  }
}

frmGrph::~frmGrph() = default;

void frmGrph::cmdClose_Click() {
  // Stops a success graph that is being drawn, in whichever window.
  state_.graphAbort = 1;
  close();
}

void frmGrph::closeEvent(QCloseEvent* event) {
  closed_ = true;
  comments_.Close();
  event->accept();
}

void frmGrph::cmdComments_Click() {
  state_.commentTopic = windowTitle().contains(QStringLiteral("HCP")) ? 3 : 2;
  comments_.Show();
}

void frmGrph::Form_KeyDown(int key) {
  if (key == Qt::Key_F1) state_.fastDraw = true;
  if (key == Qt::Key_F11) state_.instantDraw = true;
}

bool frmGrph::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_F1 || key == Qt::Key_F11) {
      Form_KeyDown(key);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool frmGrph::SavePicture(const QString& file, QString& error) const {
  if (p->Picture().save(file, "PNG")) return true;
  error = QStringLiteral("cannot write ") + QDir::toNativeSeparators(file);
  return false;
}

void frmGrph::SetSaveFileNameHook(SaveFileNameHook hook) { SaveHook() = std::move(hook); }

void frmGrph::SavePictureAs() {
  QString name = windowTitle();
  name.remove(QChar('[')).remove(QChar(']'));
  const QString suggested =
      QDir(QString::fromStdString(state_.ctx.folder.string())).filePath(name.trimmed() + QStringLiteral(".png"));
  const bool japanese = state_.ctx.language == 1;
  QString file;
  if (SaveHook()) {
    file = SaveHook()(this, suggested);
  } else {
    file =
        QFileDialog::getSaveFileName(this, japanese ? QStringLiteral("グラフを保存") : QStringLiteral("Save Picture"),
                                     suggested, QStringLiteral("PNG (*.png)"));
  }
  if (file.isEmpty()) return;
  if (!file.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) file += QStringLiteral(".png");
  QString error;
  if (SavePicture(file, error)) return;
  auto* box = new QMessageBox(
      QMessageBox::Warning, QStringLiteral("VelKorvan"),
      (japanese ? QStringLiteral("保存できません: ") : QStringLiteral("The picture was not saved: ")) + error,
      QMessageBox::Ok, this);
  box->setObjectName(QStringLiteral("msgSavePicture"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

}  // namespace vk
