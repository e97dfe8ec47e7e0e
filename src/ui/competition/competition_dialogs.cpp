#include "ui/competition/competition_dialogs.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"

namespace trelvik {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(dialog);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QLineEdit* Row(QFormLayout* form, const QString& label, const std::string& value, int limit, QWidget* parent) {
  auto* field = new QLineEdit(Text(value), parent);
  field->setMaxLength(limit);
  field->setAccessibleName(QString(label).remove(QLatin1Char('&')));
  auto* name = new QLabel(label, parent);
  name->setBuddy(field);
  form->addRow(name, field);
  return field;
}

}  // namespace

SetCompetitionTimesDialog::SetCompetitionTimesDialog(TrackTime start, TrackTime stop, UserInterface& ui,
                                                     QWidget* parent)
    : QDialog(parent), ui_(ui), times_{start, stop} {
  setWindowTitle(QStringLiteral("Set Competition Times"));
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(QStringLiteral("Set the UTC date/times. Positions with timestamp outside these limits are "
                                         "removed. Leave entry/entries blank to skip the test."),
                          this);
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* form = new QFormLayout;
  start_ = Row(form, QStringLiteral("Start (YYYY-MM-DD  HH:MM:SS)"), CompetitionTimeText(start), 30, this);
  stop_ = Row(form, QStringLiteral("Stop (YYYY-MM-DD  HH:MM:SS)"), CompetitionTimeText(stop), 30, this);
  layout->addLayout(form);
  layout->addWidget(OkCancel(this));
}

void SetCompetitionTimesDialog::accept() {
  const std::optional<CompetitionTimes> times =
      CheckCompetitionTimes(ui_, start_->text().toStdString(), stop_->text().toStdString());
  if (!times) return;
  times_ = *times;
  QDialog::accept();
}

CompetitionModeDialog::CompetitionModeDialog(bool modeOn, int pilots, CompetitionTimes times,
                                             CompetitionModeActions actions, QWidget* parent)
    : QDialog(parent), actions_(std::move(actions)) {
  setWindowTitle(QStringLiteral("Competition Mode"));
  auto* layout = new QVBoxLayout(this);
  mode_ = new QCheckBox(QStringLiteral("Competition &mode enabled"), this);
  mode_->setChecked(modeOn);
  layout->addWidget(mode_);
  auto* listRow = new QHBoxLayout;
  auto* read = new QPushButton(QStringLiteral("&Read pilot list"), this);
  pilots_ = new QLabel(Text(CFormat("%d pilots", pilots)), this);
  listRow->addWidget(read);
  listRow->addWidget(pilots_);
  layout->addLayout(listRow);
  auto* timeRow = new QHBoxLayout;
  auto* set = new QPushButton(QStringLiteral("&Set comp. time"), this);
  start_ = new QLabel(this);
  stop_ = new QLabel(this);
  timeRow->addWidget(set);
  timeRow->addWidget(start_);
  timeRow->addWidget(stop_);
  layout->addLayout(timeRow);
  ShowTimes(times);
  layout->addWidget(OkCancel(this));
  connect(read, &QPushButton::clicked, this, [this] {
    if (!actions_.readPilotList) return;
    const int count = actions_.readPilotList();
    if (count >= 0) pilots_->setText(Text(CFormat("%d pilots", count)));
  });
  connect(set, &QPushButton::clicked, this, [this] {
    if (!actions_.setTimes) return;
    if (const std::optional<CompetitionTimes> changed = actions_.setTimes()) ShowTimes(*changed);
  });
}

void CompetitionModeDialog::ShowTimes(const CompetitionTimes& times) {
  start_->setText(Text(CompetitionTimeLine(times.start, "No start time")));
  stop_->setText(Text(CompetitionTimeLine(times.stop, "No stop time")));
}

SaveCompetitionLogDialog::SaveCompetitionLogDialog(const SaveLogDialogContent& content, const PilotList& pilots,
                                                   UserInterface& ui, std::function<bool()> readList, QWidget* parent)
    : QDialog(parent), pilots_(pilots), ui_(ui), readList_(std::move(readList)) {
  setWindowTitle(Text(content.title));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  compId_ = Row(form, QStringLiteral("COMP ID"), content.current.compId, 10, this);
  civlId_ = Row(form, QStringLiteral("CIVL ID"), content.current.civlId, 10, this);
  name_ = Row(form, QStringLiteral("Pilot name"), content.current.name, static_cast<int>(kDialogPilotNameLimit), this);
  listFile_ = Row(form, QStringLiteral("Pilot list file"), pilots.path, 260, this);
  listFile_->setReadOnly(true);
  auto* browseList = new QPushButton(QStringLiteral("B&rowse..."), this);
  form->addRow(QString(), browseList);
  layout->addLayout(form);
  list_ = new QListWidget(this);
  list_->setAccessibleName(QStringLiteral("Pilot list"));
  layout->addWidget(list_);
  auto* folderForm = new QFormLayout;
  folder_ = Row(folderForm, QStringLiteral("Track log folder"), content.folder, 260, this);
  auto* browseFolder = new QPushButton(QStringLiteral("&Browse..."), this);
  folderForm->addRow(QString(), browseFolder);
  layout->addLayout(folderForm);
  layout->addWidget(OkCancel(this));
  FillList(content.compId, content.civlId);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { TakeEntry(row); });
  connect(compId_, &QLineEdit::textEdited, this, [this] { TypedId(false); });
  connect(civlId_, &QLineEdit::textEdited, this, [this] { TypedId(true); });
  connect(browseFolder, &QPushButton::clicked, this, [this] { BrowseFolder(); });
  connect(browseList, &QPushButton::clicked, this, [this] {
    if (!readList_ || !readList_()) return;
    listFile_->setText(Text(pilots_.path));
    FillList(-1, -1);
  });
}

void SaveCompetitionLogDialog::FillList(int32_t compId, int32_t civlId) {
  filling_ = true;
  list_->clear();
  for (const PilotEntry& entry : pilots_.entries) list_->addItem(Text(PilotEntryLabel(entry)));
  if (const std::optional<size_t> preselected = PreselectedPilot(pilots_, compId, civlId)) {
    list_->setCurrentRow(static_cast<int>(*preselected));
    if (compId >= 0 || civlId >= 0) {
      filling_ = false;
      TakeEntry(static_cast<int>(*preselected));
    }
  }
  filling_ = false;
}

void SaveCompetitionLogDialog::TakeEntry(int row) {
  if (filling_ || row < 0 || static_cast<size_t>(row) >= pilots_.entries.size()) return;
  const PilotFields fields = FieldsOfEntry(pilots_.entries[static_cast<size_t>(row)]);
  compId_->setText(Text(fields.compId));
  civlId_->setText(Text(fields.civlId));
  name_->setText(Text(fields.name));
}

void SaveCompetitionLogDialog::TypedId(bool civl) {
  const std::string typed = (civl ? civlId_ : compId_)->text().toStdString();
  if (const std::optional<size_t> found = EntryWithTypedId(pilots_, typed, civl)) {
    filling_ = true;
    list_->setCurrentRow(static_cast<int>(*found));
    filling_ = false;
    const PilotFields fields = FieldsOfEntry(pilots_.entries[*found]);
    (civl ? compId_ : civlId_)->setText(Text(civl ? fields.compId : fields.civlId));
    name_->setText(Text(fields.name));
    return;
  }
  (civl ? compId_ : civlId_)->clear();
  name_->clear();
}

void SaveCompetitionLogDialog::BrowseFolder() {
  FileDialogRequest request;
  request.kind = FileDialogKind::Save;
  request.title = "Get track log folder";
  request.typeName = "Comp. files";
  request.extension = ".kml";
  request.folder = Folder();
  request.fileName = "<Name>.<Time>.<CIVLID>.<COMPID>";
  const std::optional<std::string> chosen = ui_.ChooseFile(request);
  if (chosen) folder_->setText(Text(FolderOf(*chosen)));
}

std::string SaveCompetitionLogDialog::Folder() const { return folder_->text().toStdString(); }

SelectPilotDialog::SelectPilotDialog(const std::string& title, PilotFields current, PilotList& pilots, bool withNnn,
                                     UserInterface& ui, QWidget* parent)
    : QDialog(parent), pilots_(pilots), ui_(ui), name_(current.name) {
  setWindowTitle(Text(title));
  auto* layout = new QVBoxLayout(this);
  auto* note =
      new QLabel(QStringLiteral("Running in competition mode. Type your CIVL and/or pilot ID, or select from a list."));
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* form = new QFormLayout;
  civlId_ = Row(form, QStringLiteral("CIVL ID"), current.civlId, 10, this);
  compId_ = Row(form, QStringLiteral("COMP ID"), current.compId, 10, this);
  layout->addLayout(form);
  const QString label =
      pilots.Loaded() ? Text(CFormat("&Select pilot from list (%d pilots)", static_cast<int>(pilots.entries.size())))
                      : QStringLiteral("&Select pilot from list");
  auto* listLabel = new QLabel(label, this);
  list_ = new QListWidget(this);
  listLabel->setBuddy(list_);
  list_->setAccessibleName(QStringLiteral("Select pilot from list"));
  for (const PilotEntry& entry : pilots.entries) list_->addItem(Text(PilotEntryLabel(entry)));
  list_->setEnabled(pilots.Loaded());
  layout->addWidget(listLabel);
  layout->addWidget(list_);
  nnn_ = new QCheckBox(QStringLiteral("-NNN"), this);
  nnn_->setChecked(withNnn);
  layout->addWidget(nnn_);
  layout->addWidget(OkCancel(this));
  int32_t compId = -1;
  int32_t civlId = -1;
  if (!current.compId.empty()) compId = std::atoi(current.compId.c_str());
  if (!current.civlId.empty()) civlId = std::atoi(current.civlId.c_str());
  if (const std::optional<size_t> preselected = PreselectedPilot(pilots, compId, civlId)) {
    list_->setCurrentRow(static_cast<int>(*preselected));
  }
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0 || static_cast<size_t>(row) >= pilots_.entries.size()) return;
    const PilotFields fields = FieldsOfEntry(pilots_.entries[static_cast<size_t>(row)]);
    compId_->setText(Text(fields.compId));
    civlId_->setText(Text(fields.civlId));
  });
}

void SelectPilotDialog::accept() {
  const int row = list_->currentRow();
  const std::optional<size_t> selected = row < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(row));
  const std::optional<ChosenPilot> chosen =
      CheckSelectPilot(ui_, {compId_->text().toStdString(), civlId_->text().toStdString(), name_}, pilots_, selected);
  if (!chosen) return;
  chosen_ = *chosen;
  QDialog::accept();
}

void SaveCompetitionLogDialog::accept() {
  const std::optional<ChosenPilot> chosen = CheckSaveLogPilot(
      ui_, {compId_->text().toStdString(), civlId_->text().toStdString(), name_->text().toStdString()});
  if (!chosen) return;
  chosen_ = *chosen;
  QDialog::accept();
}

}  // namespace trelvik
