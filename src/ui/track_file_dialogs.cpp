#include "ui/track_file_dialogs.hpp"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace trelvik {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

std::optional<TrackFileChoice> ChooseTrackFile(QWidget* owner, const TrackFileDialog& request) {
  QFileDialog dialog(owner, FromUtf8(request.title), FromUtf8(request.folder));
  QStringList filters;
  for (const std::string& filter : request.filters) filters << FromUtf8(filter);
  dialog.setNameFilters(filters);
  if (request.startEntry >= 1 && request.startEntry <= request.filters.size()) {
    dialog.selectNameFilter(filters[static_cast<int>(request.startEntry - 1)]);
  }
  if (request.kind == FileDialogKind::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the program asks its own question
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const qsizetype entry = filters.indexOf(dialog.selectedNameFilter());
  return TrackFileChoice{dialog.selectedFiles().front().toStdString(), entry < 0 ? 0 : static_cast<size_t>(entry + 1)};
}

NewLogAnswer AskNewLog(QWidget* owner, const NewLogQuestion& question) {
  QDialog dialog(owner);
  dialog.setWindowTitle("New Track Log");
  auto* grid = new QGridLayout(&dialog);
  const char* heads[] = {"", "First", "Last", "Duration"};
  for (int column = 0; column < 4; ++column) grid->addWidget(new QLabel(heads[column]), 0, column);
  const NewLogSummary* rows[] = {&question.current, &question.incoming};
  const char* names[] = {"Current log", "New log"};
  for (int row = 0; row < 2; ++row) {
    grid->addWidget(new QLabel(names[row]), row + 1, 0);
    grid->addWidget(new QLabel(FromUtf8(rows[row]->first)), row + 1, 1);
    grid->addWidget(new QLabel(FromUtf8(rows[row]->last)), row + 1, 2);
    grid->addWidget(new QLabel(FromUtf8(rows[row]->duration)), row + 1, 3);
  }
  auto* buttons = new QDialogButtonBox(&dialog);
  NewLogAnswer answer = NewLogAnswer::Cancel;
  const auto add = [&](const char* text, NewLogAnswer value) {
    QPushButton* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &answer, value] {
      answer = value;
      dialog.accept();
    });
  };
  add("&Overwrite", NewLogAnswer::Overwrite);
  add("&Append", NewLogAnswer::Append);
  add("&Cancel", NewLogAnswer::Cancel);
  grid->addWidget(buttons, 3, 0, 1, 4);
  dialog.exec();  // closing the dialog cancels
  return answer;
}

std::optional<std::vector<std::string>> ChooseFiles(QWidget* owner, const FileDialogRequest& request) {
  QFileDialog dialog(owner, FromUtf8(request.title), FromUtf8(request.folder));
  dialog.setNameFilter(FromUtf8(request.typeName + " (*" + request.extension + ")"));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<std::string> files;
  for (const QString& file : dialog.selectedFiles()) files.push_back(file.toStdString());
  return files;
}

}  // namespace

TrackFileDialogs QtTrackFileDialogs(QWidget* owner) {
  return {[owner](const TrackFileDialog& request) { return ChooseTrackFile(owner, request); },
          [owner](const NewLogQuestion& question) { return AskNewLog(owner, question); },
          [owner](const FileDialogRequest& request) { return ChooseFiles(owner, request); }};
}

}  // namespace trelvik
