#include "ui/airspace/ctr_editor_dialog.hpp"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/c_format.hpp"

namespace trelvik {

namespace {

constexpr int kTextColumns = 64;  // an OpenAir DB line with two positions fits
constexpr int kTextLines = 24;
constexpr int kWarningFieldLimit = 10;

}  // namespace

QString EditorTextFromOpenAir(const std::string& text) {
  QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

CtrEditorDialog::CtrEditorDialog(const CtrEditorContent& content, Accept accept, QWidget* parent)
    : QDialog(parent), accept_(std::move(accept)) {
  setWindowTitle(QString::fromLatin1(kEditCtrCaption.data(), static_cast<qsizetype>(kEditCtrCaption.size())));
  auto* layout = new QVBoxLayout(this);

  text_ = new QPlainTextEdit(this);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab leaves the editor: OpenAir needs no tab characters, the keyboard user needs the way out.
  text_->setTabChangesFocus(true);
  text_->setPlainText(EditorTextFromOpenAir(content.text));
  text_->setAccessibleName(QStringLiteral("OpenAir text"));
  const QFontMetrics metrics(text_->font());
  text_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('M')) * kTextColumns, metrics.lineSpacing() * kTextLines);
  layout->addWidget(text_, 1);

  auto* row = new QHBoxLayout;
  const QString label =
      QString::fromLatin1(kEditCtrWarningLabel.data(), static_cast<qsizetype>(kEditCtrWarningLabel.size()));
  auto* warningLabel = new QLabel(label, this);
  warning_ = new QLineEdit(QString::fromStdString(CFormat("%d", content.warningDistance)), this);
  warning_->setMaxLength(kWarningFieldLimit);
  warning_->setMaximumWidth(fontMetrics().averageCharWidth() * 14);
  warning_->setAccessibleName(QString(label).remove(QLatin1Char('&')));
  warningLabel->setBuddy(warning_);
  row->addWidget(warningLabel);
  row->addWidget(warning_);
  row->addStretch();
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &CtrEditorDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  row->addWidget(buttons);
  layout->addLayout(row);

  setTabOrder(text_, warning_);
  text_->setFocus();
}

void CtrEditorDialog::accept() {
  const std::string text = text_->toPlainText().toStdString();
  const std::string warning = warning_->text().toStdString();
  if (accept_ && !accept_(text, warning)) return;
  QDialog::accept();
}

}  // namespace trelvik
