#pragma once
// "CTR error notification": the notice of an airspace dropped for its DY
// record, with the box that silences further notices for the same text.
#include <QDialog>

#include "airspace/openair_parser.hpp"

class QCheckBox;
class QLabel;

namespace trelvik {

class DyNoticeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit DyNoticeDialog(const QString& text, QWidget* parent = nullptr);

  QLabel& Text() const { return *text_; }
  QCheckBox& SkipBox() const { return *skip_; }

 private:
  QLabel* text_ = nullptr;
  QCheckBox* skip_ = nullptr;
};

// The parser's notifier for the window: shows the dialog and answers whether
// "&Skip further notifications" was checked when it closed with OK.
DyNotifier WindowDyNotifier(QWidget* parent);

}  // namespace trelvik
