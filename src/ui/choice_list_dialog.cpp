#include "ui/choice_list_dialog.hpp"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The line's fields in the columns; a line that does not split into as many
// fields as there are heads stays whole in the first column.
QStringList Columns(const std::string& line, int heads) {
  const QString text = FromUtf8(line);
  if (heads > 1) {
    const QStringList fields = text.split(QRegularExpression(QStringLiteral(" {2,}")), Qt::SkipEmptyParts);
    if (fields.size() == heads) return fields;
  }
  return {text};
}

}  // namespace

ChoiceListDialog::ChoiceListDialog(const ChoiceList& choices, QWidget* parent) : QDialog(parent) {
  setWindowTitle(FromUtf8(choices.title));
  auto* layout = new QVBoxLayout(this);
  if (!choices.note.empty()) layout->addWidget(new QLabel(FromUtf8(choices.note), this));

  lines_ = new QTreeWidget(this);
  lines_->setObjectName(QStringLiteral("choiceLines"));
  lines_->setRootIsDecorated(false);
  lines_->setSelectionMode(choices.multipleSelection ? QAbstractItemView::ExtendedSelection
                                                     : QAbstractItemView::SingleSelection);
  const int heads = std::max(1, static_cast<int>(choices.columnHeads.size()));
  QStringList headTexts;
  for (const std::string& head : choices.columnHeads) headTexts << FromUtf8(head);
  lines_->setColumnCount(heads);
  if (headTexts.isEmpty()) {
    lines_->setHeaderHidden(true);
  } else {
    lines_->setHeaderLabels(headTexts);
  }
  for (const std::string& line : choices.lines) new QTreeWidgetItem(lines_, Columns(line, heads));
  for (int column = 0; column < heads; ++column) lines_->resizeColumnToContents(column);
  if (choices.preselected >= 0 && choices.preselected < lines_->topLevelItemCount()) {
    QTreeWidgetItem* first = lines_->topLevelItem(choices.preselected);
    lines_->setCurrentItem(first);
    first->setSelected(true);
  }
  connect(lines_, &QTreeWidget::itemDoubleClicked, this, [this] { Accept(false); });
  layout->addWidget(lines_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(FromUtf8(choices.okLabel), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { Accept(false); });
  if (choices.allButton) {
    QPushButton* all = buttons->addButton(QStringLiteral("&All"), QDialogButtonBox::ActionRole);
    connect(all, &QPushButton::clicked, this, [this] { Accept(true); });
  }
  QPushButton* cancel = buttons->addButton(FromUtf8(choices.cancelLabel), QDialogButtonBox::RejectRole);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(std::max(sizeHint().width(), 420), sizeHint().height());
}

void ChoiceListDialog::Accept(bool all) {
  std::vector<int> chosen;
  for (int row = 0; row < lines_->topLevelItemCount(); ++row) {
    if (all || lines_->topLevelItem(row)->isSelected()) chosen.push_back(row);
  }
  chosen_ = std::move(chosen);
  accept();
}

std::optional<std::vector<int>> ChooseFromList(QtUserInterface& qtUi, const ChoiceList& choices) {
  std::optional<std::vector<int>> chosen;
  (void)qtUi.RunOnWindowThread([&] {
    ChoiceListDialog dialog(choices, qtUi.Owner());
    qtUi.PlaceSmallDialog(dialog);
    dialog.exec();
    chosen = dialog.Chosen();
  });
  return chosen;
}

std::optional<std::vector<int>> QtTrackListChooser::ChooseTracks(const TrackListQuestion& question) {
  ChoiceList choices;
  choices.title = question.title;
  choices.note = question.note;
  choices.columnHeads = question.columnHeads;
  choices.lines = question.lines;
  choices.multipleSelection = question.multipleSelection;
  choices.allButton = question.allButton;
  choices.preselected = question.preselected;
  std::optional<std::vector<int>> chosen = ChooseFromList(qtUi_, choices);
  // OK with no line selected is a choice of nothing, as Cancel.
  if (chosen && chosen->empty()) return std::nullopt;
  return chosen;
}

FileTrackChooser QtFileTrackChooser(QtUserInterface& qtUi) {
  return [&qtUi](const TrackListRequest& request) {
    ChoiceList choices;
    choices.title = request.title;
    choices.note = request.prompt;
    choices.columnHeads = {request.columnHead};
    choices.lines = request.lines;
    choices.multipleSelection = false;
    choices.okLabel = request.okLabel.empty() ? "OK" : request.okLabel;
    choices.cancelLabel = request.cancelLabel.empty() ? "&Cancel" : request.cancelLabel;
    const std::optional<std::vector<int>> chosen = ChooseFromList(qtUi, choices);
    if (!chosen) return kTrackListCancelled;
    if (chosen->empty()) return kTrackListNoSelection;
    return chosen->front();
  };
}

SplitLogChooser QtSplitLogChooser(QtUserInterface& qtUi) {
  return [&qtUi](const SplitLogDialog& dialog) -> std::optional<std::vector<int32_t>> {
    ChoiceList choices;
    choices.title = dialog.title;
    choices.lines = dialog.lines;
    choices.preselected = dialog.preselected;
    const std::optional<std::vector<int>> chosen = ChooseFromList(qtUi, choices);
    if (!chosen) return std::nullopt;
    return std::vector<int32_t>(chosen->begin(), chosen->end());
  };
}

}  // namespace trelvik
