#include "ui/waypoints/waypoint_commands.hpp"

#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <memory>
#include <optional>

#include "base/message_box.hpp"
#include "records/track_time.hpp"
#include "trackfiles/track_file_formats.hpp"
#include "ui/airspace/selected_rows.hpp"
#include "ui/command_ids.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/waypoints/waypoint_dialog.hpp"
#include "waypoints/waypoint_edit.hpp"
#include "waypoints/waypoint_file_formats.hpp"
#include "waypoints/waypoint_file_read.hpp"
#include "waypoints/waypoint_list_ops.hpp"

namespace trelvik {
namespace {

constexpr const char* kNewCaption = "New waypoint";
constexpr const char* kEditCaption = "Edit waypoint";
constexpr const char* kDeleteCaption = "Delete waypoint(s)";
constexpr const char* kReadCaption = "Read waypoints";
constexpr const char* kSaveCaption = "Save waypoints";
constexpr size_t kFileNameLimit = 256;  // bytes of a chosen name with its extension

// "Modify waypoint ID" with its four buttons.
FileQuestionAsker WindowModifyIdQuestion(QWidget* parent) {
  return [parent](const FileQuestion& question) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kModifyIdTitle),
                    QString::fromLatin1(kModifyIdText) + QStringLiteral("\n") +
                        QString::fromStdString(question.waypointName),
                    QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* all = box.addButton(QStringLiteral("Yes to &All"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No (skip)"), QMessageBox::NoRole);
    box.addButton(QStringLiteral("&Cancel"), QMessageBox::RejectRole);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == yes) return AnswerOf(ModifyIdAnswer::Yes);
    if (clicked == all) return AnswerOf(ModifyIdAnswer::YesToAll);
    if (clicked == no) return AnswerOf(ModifyIdAnswer::No);
    return AnswerOf(ModifyIdAnswer::Cancel);
  };
}

class WaypointCommands {
 public:
  WaypointCommands(MainWindow& window, const WaypointCommandContext& context) : window_(window), context_(context) {
    if (!context_.askModifyId) context_.askModifyId = WindowModifyIdQuestion(&window);
  }

  void New() {
    if (RefuseWhileBusy(kNewCaption)) return;
    const std::optional<Waypoint> made = RunEditor(NewWaypoint(CurrentTrackTime()));
    if (!made) return;
    (void)AddWaypoint(context_.ui, List(), *made);
    window_.ShowView(ViewMode::Waypoints);
    window_.RefreshList();
  }

  void Edit() {
    const std::optional<int> row = FirstSelected(kEditCaption);
    if (!row) return;
    const std::optional<Waypoint> edited = RunEditor(List().waypoints[static_cast<size_t>(*row)]);
    if (!edited) return;
    List().waypoints[static_cast<size_t>(*row)] = *edited;
    window_.RefreshList();
    window_.List().selectRow(*row);
  }

  void Delete() {
    if (!FirstSelected(kDeleteCaption)) return;
    DeleteWaypointRows(List(), Rows());
    window_.RefreshList();
  }

  void Open() {
    if (RefuseWhileBusy(kReadCaption)) return;
    const std::vector<FileTypeChoice> choices = WaypointOpenChoices();
    size_t entry = WaypointImportEntry(context_.settings.wptImportExt);
    const std::optional<std::string> path =
        Choose(FileDialogKind::Open, kReadCaption, FileTypeFilterListThenAll(choices), choices, entry);
    if (!path) return;
    context_.settings.wptImportExt = static_cast<int32_t>(entry <= choices.size() ? entry : 1);
    const std::optional<std::string> bytes = ReadWaypointFileBytes(context_.ui, *path, kReadCaption);
    if (!bytes) return;
    std::optional<std::vector<Waypoint>> read =
        ReadWaypointFile(context_.ui, *bytes, CurrentTrackTime(), context_.askModifyId);
    if (!read || read->empty()) return;
    InstallReadWaypoints(context_.ui, List(), std::move(*read));
    context_.ui.SetProduct(*path);
    window_.ShowView(ViewMode::Waypoints);
    window_.RefreshList();
  }

  void SaveAs() {
    const std::vector<Waypoint> selected = SelectedWaypoints();
    if (selected.empty()) {
      ShowError(context_.ui, "No waypoints selected", kSaveCaption);
      return;
    }
    const std::vector<FileTypeChoice> choices = WaypointSaveChoices();
    size_t entry = WaypointExportEntry(context_.settings.wptExportExt);
    std::optional<std::string> path =
        Choose(FileDialogKind::Save, kSaveCaption, FileTypeFilterList(choices), choices, entry);
    if (!path) return;
    const std::optional<FileTypeEntry> type = FileTypeOfEntry(entry, choices.size());
    const size_t choice = type ? type->choice : 0;
    if (type && type->typed && FileExtensionOf(*path).empty()) *path += choices[choice].extension;
    if (path->size() > kFileNameLimit) {
      ShowError(context_.ui, "Too long file name", "Error opening file");
      return;
    }
    context_.settings.wptExportExt = static_cast<int32_t>(choice + 1);
    if (!CreateWithOverwriteQuestion(context_.ui, *path)) return;
    const WaypointFileFormat& format = *WaypointFileSaveList()[choice];
    (void)SaveWaypointFile(context_.ui, format, selected, *path, WaypointWriteOptions{CurrentTrackTime()});
  }

 private:
  WaypointList& List() { return context_.waypoints; }

  bool RefuseWhileBusy(const char* caption) {
    if (!window_.JobRunning()) return false;
    ShowError(context_.ui, "Busy GPS driver", caption);
    return true;
  }

  // The waypoint rows selected in the waypoint view, in list order.
  std::vector<int> Rows() const {
    if (window_.Mode() != ViewMode::Waypoints) return {};
    std::vector<int> rows;
    for (const int row : SelectedRows(window_.List())) {
      if (row < context_.waypoints.Count()) rows.push_back(row);
    }
    return rows;
  }

  std::vector<Waypoint> SelectedWaypoints() const {
    std::vector<Waypoint> selected;
    for (const int row : Rows()) selected.push_back(context_.waypoints.waypoints[static_cast<size_t>(row)]);
    return selected;
  }

  std::optional<int> FirstSelected(const char* caption) {
    if (List().waypoints.empty()) {
      ShowError(context_.ui, "No waypoints in list", caption);
      return std::nullopt;
    }
    const std::vector<int> rows = Rows();
    if (rows.empty()) {
      ShowError(context_.ui, "No waypoint selected", caption);
      return std::nullopt;
    }
    return rows.front();
  }

  std::optional<Waypoint> RunEditor(const Waypoint& waypoint) {
    WaypointDialog dialog(context_.ui, waypoint, editorUtm_, &window_);
    context_.qtUi.PlaceSmallDialog(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
  }

  std::optional<std::string> Choose(FileDialogKind kind, const char* title, const std::vector<std::string>& filters,
                                    const std::vector<FileTypeChoice>& choices, size_t& entry) {
    FileDialogRequest request;
    request.kind = kind;
    request.title = title;
    const std::optional<FileTypeEntry> type = FileTypeOfEntry(entry, choices.size());
    if (type) {
      request.typeName = std::string(choices[type->choice].typeName);
      request.extension = std::string(choices[type->choice].extension);
    }
    request.folder = context_.settings.waypointDir;
    std::optional<std::string> path = context_.ui.ChooseFileOfType(request, filters, entry);
    if (!path) return std::nullopt;
    const size_t slash = path->rfind('/');
    if (slash != std::string::npos) context_.settings.waypointDir = path->substr(0, slash);
    return path;
  }

  MainWindow& window_;
  WaypointCommandContext context_;
  bool editorUtm_ = false;  // the editor's "UTM" box, remembered between openings
};

}  // namespace

void InstallWaypointCommands(MainWindow& window, const WaypointCommandContext& context) {
  using namespace command;
  auto commands = std::make_shared<WaypointCommands>(window, context);
  const std::pair<int, void (WaypointCommands::*)()> handlers[] = {
      {kNewWaypoint, &WaypointCommands::New},       {kEditWaypoint, &WaypointCommands::Edit},
      {kDeleteWaypoints, &WaypointCommands::Delete}, {kOpenWaypoints, &WaypointCommands::Open},
      {kSaveWaypointsAs, &WaypointCommands::SaveAs},
  };
  for (const auto& [id, handler] : handlers) {
    window.SetHandler(id, [commands, handler = handler] { ((*commands).*handler)(); });
  }
}

}  // namespace trelvik
