#pragma once
// Plays the user at the modal dialogs a command opens: each dialog that opens
// gets the next step of the script, from the event loop the dialog runs. A
// dialog beyond the script is counted and rejected, so a command that asks
// once too often fails its test instead of hanging it. The script ends with
// its owner, so no step waits around for a later test's dialog.
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>

#include "qt_application.hpp"

namespace trelvik::testing {

class ModalScript {
 public:
  using Step = std::function<void(QWidget&)>;

  explicit ModalScript(std::deque<Step> steps = {}) : steps_(std::move(steps)) {
    Application();
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }

  void Add(Step step) { steps_.push_back(std::move(step)); }
  int Opened() const { return opened_; }
  int Unexpected() const { return unexpected_; }
  bool Done() const { return steps_.empty(); }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal == current_) return;
    current_ = modal;
    ++opened_;
    if (steps_.empty()) {
      ++unexpected_;
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->close();
      }
      return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    step(*modal);
  }

  std::deque<Step> steps_;
  QPointer<QWidget> current_;
  int opened_ = 0;
  int unexpected_ = 0;
  QTimer timer_;
};

// The dialog's push button showing `text`, or null.
inline QPushButton* Button(QWidget& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

// The script's timer does not fire again while one of its steps runs, so a
// step that opens further dialogs acts from the dialog's own event loop.
inline ModalScript::Step Later(ModalScript::Step step) {
  return [step = std::move(step)](QWidget& widget) {
    QPointer<QWidget> target(&widget);
    QTimer::singleShot(0, &widget, [step, target] {
      if (target) step(*target);
    });
  };
}

}  // namespace trelvik::testing
