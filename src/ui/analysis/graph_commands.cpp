#include "ui/analysis/graph_commands.hpp"

#include <QEvent>
#include <QTableView>
#include <new>
#include <vector>

#include "base/message_box.hpp"
#include "ui/airspace/selected_rows.hpp"
#include "ui/analysis/graph_window.hpp"
#include "ui/analysis/view_intervals_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {

GraphCommands::GraphCommands(MainWindow& window, const GraphCommandContext& context)
    : QObject(&window), window_(window), context_(context) {
  window.installEventFilter(this);
}

void GraphCommands::Show(GraphKind kind) {
  // A closed graph may wait a moment for its deletion; only a shown one counts.
  if (graph_ && graph_->isVisible()) return;
  const std::string_view caption = GraphCaption(kind);
  if (window_.JobRunning()) {
    ShowError(context_.ui, "Busy GPS driver", caption);
    return;
  }
  if (window_.Mode() != ViewMode::TrackLog) {
    ShowError(context_.ui, "Incorrect view mode", caption);
    return;
  }
  std::vector<TrackPoint> points;
  try {
    for (const int row : SelectedRows(window_.List())) {
      if (row < context_.log.Count()) points.push_back(context_.log.points[static_cast<size_t>(row)]);
    }
  } catch (const std::bad_alloc&) {
    ShowError(context_.ui, "Track log memory allocation", caption);
    return;
  }
  if (kind == GraphKind::Polar) {
    std::optional<std::vector<PolarSample>> samples = PreparePolarSamples(context_.ui, points, intervals_.polarPoints);
    if (!samples) return;
    graph_ = new GraphWindow(std::move(*samples), context_.ui, &window_);
  } else {
    const int32_t interval = kind == GraphKind::Vario ? intervals_.varioSeconds : intervals_.glideSeconds;
    std::optional<SecondSeries> series = PrepareSecondSeries(context_.ui, points, kind, interval);
    if (!series) return;
    graph_ = new GraphWindow(kind, std::move(*series), context_.ui, &window_);
  }
  // Beside the main window, not over its list.
  graph_->move(window_.frameGeometry().topRight() + QPoint(8, 0));
  graph_->show();
}

void GraphCommands::SetIntervals() {
  ViewIntervalsDialog dialog(intervals_, context_.ui, &window_);
  context_.qtUi.PlaceSmallDialog(dialog);
  dialog.exec();
}

bool GraphCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Close && graph_) graph_->close();
  return QObject::eventFilter(watched, event);
}

GraphCommands& InstallGraphCommands(MainWindow& window, const GraphCommandContext& context) {
  using namespace command;
  auto* commands = new GraphCommands(window, context);
  window.SetHandler(kShowVario, [commands] { commands->Show(GraphKind::Vario); });
  window.SetHandler(kShowGlide, [commands] { commands->Show(GraphKind::Glide); });
  window.SetHandler(kShowPolar, [commands] { commands->Show(GraphKind::Polar); });
  window.SetHandler(kViewIntervals, [commands] { commands->SetIntervals(); });
  return *commands;
}

}  // namespace trelvik
