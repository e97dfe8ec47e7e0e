#pragma once
// The window's implementation of UserInterface: Qt message boxes with the
// system's own button texts, Qt file dialogs, and the product and status lines
// of the main window. Job threads call it too; such calls are carried out on
// the window thread while the job waits, as a synchronous window message would.
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <type_traits>

#include "base/user_interface.hpp"

class QLabel;
class QMessageBox;
class QWidget;

namespace trelvik {

// "IGC file (*.igc)" then "All Files (*)": the file type first, then every file.
// Linux names often have no dot, so every file is "*", not "*.*".
QStringList FileDialogFilters(std::string_view typeName, std::string_view extension);

class QtUserInterface : public QObject, public UserInterface {
  Q_OBJECT

 public:
  // Create on the window thread; that thread shows every box.
  explicit QtUserInterface(QObject* parent = nullptr);

  // Parent of the boxes and dialogs; may be null.
  void SetOwner(QWidget* owner) { owner_ = owner; }
  QWidget* Owner() const { return owner_; }
  void SetLines(QLabel* product, QLabel* status);
  // Screen position from the command line; both non-zero moves every box and small dialog there.
  void SetDialogPosition(int posX, int posY);
  // Moves a box or small dialog to the command-line position each time it opens.
  void PlaceSmallDialog(QWidget& dialog);
  // From now on calls from job threads are dropped and questions answered
  // negatively, so a job that outlives the window never waits for it.
  void Close() { closed_ = true; }

  void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) override;
  Answer Ask(QuestionKind kind, std::string_view text, std::string_view caption) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseFileOfType(const FileDialogRequest& request, const std::vector<std::string>& filters,
                                              size_t& entry) override;
  void SetStatus(std::string_view text) override;
  void SetProduct(std::string_view text) override;

  // Runs `work` on the window thread, waiting for it when called from a job
  // thread. False (and `work` not run) once the window has closed.
  bool RunOnWindowThread(const std::function<void()>& work);
  bool Closed() const { return closed_; }

  // The boxes as they are shown; public so that their buttons can be checked.
  static std::unique_ptr<QMessageBox> BuildMessageBox(MessageKind kind, std::string_view text,
                                                      std::string_view caption, QWidget* parent);
  static std::unique_ptr<QMessageBox> BuildQuestionBox(QuestionKind kind, std::string_view text,
                                                       std::string_view caption, QWidget* parent);
  // The answer of a question box after it closed; closing it counts as its escape button.
  static Answer AnswerOf(QuestionKind kind, const QMessageBox& box);

 private:
  // Runs `work` on the window thread and returns its value; `closedValue` when
  // the window is gone.
  template <typename Work, typename Result = std::invoke_result_t<Work>>
  Result OnWindowThread(Work work, Result closedValue) {
    if (QThread::currentThread() == thread()) return work();
    if (closed_) return closedValue;
    Result result = closedValue;
    QMetaObject::invokeMethod(this, [&] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
  }
  void SetLine(QPointer<QLabel> label, std::string_view text);

  QPointer<QWidget> owner_;
  QPointer<QLabel> product_;
  QPointer<QLabel> status_;
  std::atomic<int> posX_{0};
  std::atomic<int> posY_{0};
  std::atomic<bool> closed_{false};
};

}  // namespace trelvik
