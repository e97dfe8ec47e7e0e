#pragma once
// "Show &Vario", "Show &Glide", "Show &Polar" and "Set view intervals" in the
// window: the checks before a graph opens, the one graph window at a time
// beside the main window, and the intervals kept while the program runs.
#include <QObject>
#include <QPointer>

#include "analysis/graphs/graph_intervals.hpp"
#include "analysis/graphs/graph_series.hpp"
#include "base/user_interface.hpp"
#include "records/track_log.hpp"
#include "ui/analysis/graph_window.hpp"

namespace trelvik {

class MainWindow;
class QtUserInterface;

struct GraphCommandContext {
  TrackLog& log;          // the window's track log
  UserInterface& ui;      // messages (the window's, or a test's recorder)
  QtUserInterface& qtUi;  // places the small dialog
};

class GraphCommands : public QObject {
  Q_OBJECT

 public:
  GraphCommands(MainWindow& window, const GraphCommandContext& context);

  // Opens the graph of the selected track rows unless a graph window is open.
  void Show(GraphKind kind);
  void SetIntervals();

  GraphWindow* Graph() const { return graph_; }
  const GraphIntervals& Intervals() const { return intervals_; }

 protected:
  // Closes the graph when the main window closes.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  MainWindow& window_;
  GraphCommandContext context_;
  GraphIntervals intervals_;
  QPointer<GraphWindow> graph_;
};

// Registers the four commands; the commands live as long as the window.
GraphCommands& InstallGraphCommands(MainWindow& window, const GraphCommandContext& context);

}  // namespace trelvik
