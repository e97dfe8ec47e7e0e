#include "ui/analysis/split_log_dialog.hpp"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace trelvik {

SplitLogWindow::SplitLogWindow(const SplitLogDialog& content, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromStdString(content.title));
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(QStringLiteral("&Flights in the log (date, start, duration):"), this);
  layout->addWidget(prompt);
  lines_ = new QListWidget(this);
  // Fixed pitch keeps the date, start and duration columns of the lines aligned.
  lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  lines_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const std::string& line : content.lines) lines_->addItem(QString::fromStdString(line));
  prompt->setBuddy(lines_);
  lines_->setAccessibleName(QStringLiteral("Flights in the log"));
  const QFontMetrics metrics(lines_->font());
  lines_->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("00-00-0000   00:00:00   00:00:00")) +
                          4 * metrics.averageCharWidth());
  if (content.preselected >= 0 && content.preselected < lines_->count()) {
    lines_->setCurrentRow(content.preselected, QItemSelectionModel::ClearAndSelect);
  }
  layout->addWidget(lines_, 1);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(lines_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  layout->addWidget(buttons);
  lines_->setFocus();
}

std::vector<int32_t> SplitLogWindow::ChosenLines() const {
  std::vector<int32_t> chosen;
  for (int i = 0; i < lines_->count(); ++i) {
    if (lines_->item(i)->isSelected()) chosen.push_back(i);
  }
  return chosen;
}

SplitLogChooser WindowSplitLogChooser(QWidget* parent) {
  return [parent](const SplitLogDialog& content) -> std::optional<std::vector<int32_t>> {
    SplitLogWindow dialog(content, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.ChosenLines();
  };
}

}  // namespace trelvik
