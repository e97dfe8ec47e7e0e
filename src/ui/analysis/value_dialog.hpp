#pragma once
// A small settings dialog of one text field under a few lines of explanation:
// the filter settings, the loop flight gap and the airspace segment accuracy.
// OK hands the field to the caller's check, which shows its own messages and
// says whether the dialog may close.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;

namespace trelvik {

struct ValueDialogContent {
  QString title;
  QStringList notes;  // shown above the field, one label each
  QString label;      // with its "&" mnemonic; the field is its buddy
  QString value;      // the field's starting text
};

class ValueDialog : public QDialog {
  Q_OBJECT

 public:
  // `accept` gets the field as UTF-8 and returns true to close the dialog.
  ValueDialog(const ValueDialogContent& content, std::function<bool(const std::string&)> accept,
              QWidget* parent = nullptr);

  QLineEdit& Field() const { return *field_; }

  void accept() override;

 private:
  std::function<bool(const std::string&)> accept_;
  QLineEdit* field_ = nullptr;
};

}  // namespace trelvik
