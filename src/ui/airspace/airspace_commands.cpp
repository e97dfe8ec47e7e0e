#include "ui/airspace/airspace_commands.hpp"

#include <QTableView>
#include <any>
#include <memory>
#include <optional>

#include "access/gps_job.hpp"
#include "access/job_table.hpp"
#include "airspace/ctr_edit.hpp"
#include "airspace/ctr_file.hpp"
#include "airspace/ctr_google.hpp"
#include "airspace/ctr_gpx.hpp"
#include "airspace/ctr_selection.hpp"
#include "airspace/ctr_waypoints.hpp"
#include "airspace/openair_writer.hpp"
#include "records/protocol_type.hpp"
#include "records/track_time.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "ui/airspace/airspace_list_model.hpp"
#include "ui/airspace/ctr_editor_dialog.hpp"
#include "ui/airspace/dy_notice_dialog.hpp"
#include "ui/airspace/selected_rows.hpp"
#include "ui/analysis/value_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/main_window.hpp"
#include "ui/menu_table.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {

namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

constexpr std::string_view kDownloadCtrCaption = "Download CTR";

class AirspaceCommands {
 public:
  AirspaceCommands(MainWindow& window, const AirspaceCommandContext& context)
      : window_(window), context_(context), binding_(new ViewBinding(window, ViewMode::Airspace, new AirspaceListModel(context.airspace))) {
    if (!context_.notifyDy) context_.notifyDy = WindowDyNotifier(&window);
  }

  ViewBinding& Binding() { return *binding_; }

  void ReadFile() {
    const int count = ReadCtrFile(context_.ui, context_.airspace, context_.settings.ctrDir, std::nullopt,
                                  window_.JobRunning(), context_.notifyDy);
    if (count > 0) window_.RefreshList();
  }

  void WriteFile() {
    if (!Allowed(kWriteCtrFileCaption)) return;
    (void)WriteCtrFile(context_.ui, Areas(), Rows(), context_.settings.ctrDir);
  }

  void WriteGpx() {
    if (!Allowed(kCtrGpxCaption)) return;
    const CtrExportStamp stamp{kTrelvikVersion, CurrentUtcTime()};
    (void)WriteCtrGpx(context_.ui, Areas(), Rows(), context_.settings.ctrSegError, stamp, context_.settings.ctrDir);
  }

  void WriteGoogleApi() {
    if (!Allowed(kCtrGoogleCaption)) return;
    (void)WriteCtrGoogleApi(context_.ui, Areas(), Rows(), context_.settings.ctrSegError, CurrentTrackTime(),
                            context_.settings.ctrDir);
  }

  void Edit() {
    if (!Allowed(kEditCtrCaption)) return;
    const std::optional<CtrEditorContent> content = EditCtrText(context_.ui, Areas(), Rows());
    if (!content) return;
    const size_t row = content->row;
    RunEditor(*content, [this, row](const std::string& text, const std::string& warning) {
      return EditCtr(context_.ui, Areas(), row, text, warning, context_.notifyDy);
    });
  }

  void New() {
    if (!Allowed(kEditCtrCaption)) return;
    RunEditor(NewCtrText(), [this](const std::string& text, const std::string& warning) {
      return NewCtr(context_.ui, Areas(), text, warning, context_.notifyDy);
    });
  }

  void Delete() {
    if (!Allowed(kEditCtrCaption)) return;
    if (DeleteCtrs(context_.ui, Areas(), Rows())) window_.RefreshList();
  }

  void ShowAsWaypoints() {
    if (!Allowed(kShowCtrCaption)) return;
    if (ShowCtrAsWaypoints(context_.ui, context_.airspace, Rows(), context_.settings.ctrSegError, CurrentTrackTime(),
                           context_.waypoints)) {
      window_.ShowView(ViewMode::Waypoints);
    }
  }

  // "Send to ...": the selected airspaces go to the job as a copy with their
  // selected flags; the instrument driver walks those.
  void Upload(const MenuEntry& entry) {
    if (!Allowed(kUploadCtrCaption)) return;
    if (!MarkCtrSelection(context_.ui, Areas(), Rows(), kUploadCtrCaption)) return;
    const size_t nameLength = entry.job.row->airspaceNameLength;
    if (nameLength > 0 && !CtrNamesFit(context_.ui, Areas(), nameLength)) return;
    (void)window_.StartInstrumentJob(
        entry.job, kUploadCtrCaption, [this](GpsJob&) { window_.SetJobRunning(false); }, {}, std::any(Areas()));
  }

  // "Read from ...": a successful download replaces the list, unless the
  // transfer was aborted meanwhile (the busy flag already fell).
  void Download(const MenuEntry& entry) {
    (void)window_.StartInstrumentJob(entry.job, kDownloadCtrCaption, [this](GpsJob& job) {
      CtrList* downloaded = std::any_cast<CtrList>(&job.ctrList);
      if (job.result >= 0 && window_.JobRunning() && downloaded != nullptr) {
        FreeCtrList(Areas());
        Areas() = std::move(*downloaded);
        job.ctrList.reset();
        window_.RefreshList();
      }
      window_.SetJobRunning(false);
    });
  }

  void SetAccuracy() {
    ValueDialogContent content;
    content.title = Latin1(kSegErrorDialogTitle);
    content.notes = {Latin1(kSegErrorExplanation)};
    content.label = QStringLiteral("Max. segment &error (m):");
    content.value = QString::fromStdString(SegErrorFieldText(context_.settings.ctrSegError));
    ValueDialog dialog(
        content,
        [this](const std::string& field) {
          return ParseSegErrorInput(context_.ui, field, context_.settings.ctrSegError);
        },
        &window_);
    Place(dialog);
    dialog.exec();
  }

 private:
  bool Allowed(std::string_view caption) {
    return CtrCommandAllowed(context_.ui, window_.JobRunning(), window_.Mode() == ViewMode::Airspace, caption);
  }
  CtrList& Areas() { return context_.airspace.areas; }
  std::vector<int> Rows() const { return SelectedRows(window_.List()); }

  void Place(QWidget& dialog) { context_.qtUi.PlaceSmallDialog(dialog); }

  void RunEditor(const CtrEditorContent& content, CtrEditorDialog::Accept accept) {
    CtrEditorDialog dialog(content, std::move(accept), &window_);
    if (dialog.exec() == QDialog::Accepted) window_.RefreshList();
  }

  MainWindow& window_;
  AirspaceCommandContext context_;
  ViewBinding* binding_;  // owned by the window
};

}  // namespace

ViewBinding& InstallAirspaceCommands(MainWindow& window, const AirspaceCommandContext& context) {
  using namespace command;
  auto commands = std::make_shared<AirspaceCommands>(window, context);
  const std::pair<int, void (AirspaceCommands::*)()> handlers[] = {
      {kReadCtrFile, &AirspaceCommands::ReadFile},
      {kWriteCtrFile, &AirspaceCommands::WriteFile},
      {kWriteCtrGpx, &AirspaceCommands::WriteGpx},
      {kWriteCtrGoogleApi, &AirspaceCommands::WriteGoogleApi},
      {kEditCtr, &AirspaceCommands::Edit},
      {kNewCtr, &AirspaceCommands::New},
      {kDeleteCtrs, &AirspaceCommands::Delete},
      {kShowCtrAsWaypoints, &AirspaceCommands::ShowAsWaypoints},
      {kSetCtrAccuracy, &AirspaceCommands::SetAccuracy},
  };
  for (const auto& [id, handler] : handlers) {
    window.SetHandler(id, [commands, handler = handler] { ((*commands).*handler)(); });
  }
  if (context.jobs != nullptr) {
    for (const MenuEntry& entry : MainMenuTable()) {
      if (entry.job.row == nullptr) continue;
      const AccessFunction function = entry.job.accessFunction;
      const bool upload = function == AccessFunction::UploadCtr;
      if (!upload && function != AccessFunction::DownloadCtr) continue;
      if (context.jobs->Find(function, entry.job.Protocol()) == nullptr) continue;
      const MenuEntry* row = &entry;
      window.SetHandler(entry.id, [commands, row, upload] {
        if (upload) {
          commands->Upload(*row);
        } else {
          commands->Download(*row);
        }
      });
    }
  }
  return commands->Binding();
}

}  // namespace trelvik
