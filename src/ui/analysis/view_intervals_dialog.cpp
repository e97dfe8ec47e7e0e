#include "ui/analysis/view_intervals_dialog.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trelvik {
namespace {

constexpr int kFieldLimit = 10;  // digits of a 32-bit number

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

ViewIntervalsDialog::ViewIntervalsDialog(GraphIntervals& intervals, UserInterface& ui, QWidget* parent)
    : QDialog(parent), intervals_(intervals), ui_(ui) {
  setWindowTitle(Latin1(kViewIntervalsDialog));
  const std::array<std::string, 3> texts = GraphIntervalFieldTexts(intervals);
  const std::array<std::string_view, 3> labels = {kVarioIntervalLabel, kGlideIntervalLabel, kPolarIntervalLabel};
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  for (size_t i = 0; i < fields_.size(); ++i) {
    fields_[i] = new QLineEdit(QString::fromStdString(texts[i]), this);
    fields_[i]->setMaxLength(kFieldLimit);
    fields_[i]->setMinimumWidth(fontMetrics().averageCharWidth() * 8);
    auto* label = new QLabel(Latin1(labels[i]), this);
    label->setBuddy(fields_[i]);
    fields_[i]->setAccessibleName(label->text());
    if (i + 1 < fields_.size()) {
      form->addRow(label, fields_[i]);
      continue;
    }
    // The polar interval counts track points, said after its field.
    fields_[i]->setAccessibleName(label->text() + QLatin1Char(' ') + Latin1(kPolarIntervalUnit));
    auto* row = new QHBoxLayout;
    row->addWidget(fields_[i]);
    row->addWidget(new QLabel(Latin1(kPolarIntervalUnit), this));
    form->addRow(label, row);
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &ViewIntervalsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  fields_[0]->selectAll();
  fields_[0]->setFocus();
}

void ViewIntervalsDialog::accept() {
  std::array<std::string, 3> texts;
  for (size_t i = 0; i < fields_.size(); ++i) texts[i] = fields_[i]->text().toStdString();
  const std::optional<GraphIntervals> read = ReadGraphIntervalFields(ui_, texts);
  if (!read) return;
  intervals_ = *read;
  QDialog::accept();
}

}  // namespace trelvik
