#pragma once
// `frmGrph`: the window both graphs are drawn in. A drawing surface `p`, a Comments button and
// a Close button; F1 and F11 from any of its controls change the pace of a success graph that
// is being drawn. Its caption is its identity: "Graph" + option code, or "[Frequency vs HCP]".

#include <QString>
#include <QWidget>
#include <functional>

class QAction;
class QPushButton;

namespace vk {

struct AppState;
class CommentWindow;
class DrawingSurface;

class frmGrph : public QWidget {
  Q_OBJECT

 public:
  // Builds the window (Form_Load); the caller sets the caption and shows it. It deletes
  // itself when closed.
  frmGrph(AppState& state, CommentWindow& comments);
  ~frmGrph() override;

  DrawingSurface* p = nullptr;
  QPushButton* cmdComments = nullptr;
  QPushButton* cmdClose = nullptr;
  QAction* actSavePicture = nullptr;

  // True once the window has been closed, by its Close button or the title bar; nothing may
  // be drawn into it afterwards.
  bool IsClosed() const { return closed_; }

  // Writes the picture on the surface as a PNG file.
  bool SavePicture(const QString& file, QString& error) const;

  // Answers the "Save picture" file dialog: given the window and a suggested path, returns the
  // chosen path or an empty text. Tests replace it; an empty function restores the dialog.
  using SaveFileNameHook = std::function<QString(QWidget* parent, const QString& suggested)>;
  static void SetSaveFileNameHook(SaveFileNameHook hook);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void cmdClose_Click();
  void cmdComments_Click();
  void Form_KeyDown(int key);
  void SavePictureAs();

  AppState& state_;
  CommentWindow& comments_;
  bool closed_ = false;
};

}  // namespace vk
