#pragma once
// A label that answers a click, like the main window's library-name and language labels. A
// disabled label receives no mouse events and so cannot be clicked.

#include <QLabel>
#include <QMouseEvent>
#include <functional>
#include <utility>

namespace vk {

class ClickableLabel : public QLabel {
 public:
  explicit ClickableLabel(QWidget* parent = nullptr) : QLabel(parent) {}
  void SetClickHandler(std::function<void()> handler) { onClick_ = std::move(handler); }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick_) {
      onClick_();
    }
    QLabel::mouseReleaseEvent(event);
  }

 private:
  std::function<void()> onClick_;
};

}  // namespace vk
