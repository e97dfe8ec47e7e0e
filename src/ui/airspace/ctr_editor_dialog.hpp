#pragma once
// The "Edit CTR" dialog of "&Edit CTR" and "&New CTR": an airspace as OpenAir
// text in a plain text editor, and its warning distance. OK hands both to the
// airspace core, which checks and parses them; the dialog stays open while
// they are refused, so the user can mend the line the message names.
#include <QDialog>
#include <functional>
#include <string>

#include "airspace/ctr_edit.hpp"

class QLineEdit;
class QPlainTextEdit;

namespace trelvik {

class CtrEditorDialog : public QDialog {
  Q_OBJECT

 public:
  // `accept` receives the text (UTF-8, line ends as typed) and the warning
  // distance field; true closes the dialog.
  using Accept = std::function<bool(const std::string& text, const std::string& warningDistance)>;

  CtrEditorDialog(const CtrEditorContent& content, Accept accept, QWidget* parent = nullptr);

  QPlainTextEdit& Text() const { return *text_; }
  QLineEdit& WarningDistance() const { return *warning_; }

  void accept() override;

 private:
  Accept accept_;
  QPlainTextEdit* text_ = nullptr;
  QLineEdit* warning_ = nullptr;
};

// The editor text with CR LF turned into the editor's line ends and back.
QString EditorTextFromOpenAir(const std::string& text);

}  // namespace trelvik
