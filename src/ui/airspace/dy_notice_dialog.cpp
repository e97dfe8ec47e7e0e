#include "ui/airspace/dy_notice_dialog.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace trelvik {

namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

DyNoticeDialog::DyNoticeDialog(const QString& text, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Latin1(kDyNoticeCaption));
  auto* layout = new QVBoxLayout(this);
  text_ = new QLabel(text, this);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(text_);
  skip_ = new QCheckBox(Latin1(kDyNoticeSkipBox), this);
  layout->addWidget(skip_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  ok->setFocus();
}

DyNotifier WindowDyNotifier(QWidget* parent) {
  return [parent](std::string_view text) {
    DyNoticeDialog dialog(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), parent);
    // Closing the window is not OK: the box only counts when confirmed.
    return dialog.exec() == QDialog::Accepted && dialog.SkipBox().isChecked();
  };
}

}  // namespace trelvik
