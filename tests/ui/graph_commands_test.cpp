// The vario, glide and polar views in the window: the refusals before a graph
// opens, one graph window at a time, the pictures they draw (grabbed
// offscreen, in the light and the dark palette), the mouse readout and "Set
// view intervals".
//
// With TRELVIK_SCREENSHOT_HOLD_MS set, each view stays on screen that long
// (for the screenshots under a real display); with TRELVIK_DARK_PALETTE set
// the views are drawn in the dark palette.
#include "ui/analysis/graph_commands.hpp"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <QTest>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "analysis/graphs/graph_texts.hpp"
#include "analysis/test_flight.hpp"
#include "analysis_modal_script.hpp"
#include "qt_application.hpp"
#include "support/scripted_user_interface.hpp"
#include "trackfiles/igc_reader.hpp"
#include "ui/analysis/graph_window.hpp"
#include "ui/analysis/view_intervals_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#include "window_look.hpp"

namespace trelvik {
namespace {

using testing::DarkLook;
using testing::HoldForScreenshot;
using testing::Luminance;
using testing::ModalScript;
using testing::RecordedBox;
namespace cmd = command;

RecordedBox Error(const std::string& text, const std::string& caption) { return {MessageKind::Error, text, caption}; }

constexpr TrackTime kNoon = 1089979200;  // 2024-07-14 12:00:00

TrackPoint Fix(uint32_t seconds, int32_t baroAlt, int32_t latOffset) {
  TrackPoint p;
  p.time = kNoon + seconds;
  p.lat = 554000000 + latOffset;  // about 46.4 N
  p.lon = 95000000;
  p.baroAlt = baroAlt;
  return p;
}

struct CommandOfKind {
  GraphKind kind;
  int id;
};
constexpr CommandOfKind kGraphCommands[] = {
    {GraphKind::Vario, cmd::kShowVario}, {GraphKind::Glide, cmd::kShowGlide}, {GraphKind::Polar, cmd::kShowPolar}};

class GraphCommandsTest : public ::testing::Test {
 protected:
  GraphCommandsTest() {
    testing::Application();
    if (qEnvironmentVariableIsSet("TRELVIK_DARK_PALETTE")) dark = std::make_unique<DarkLook>();
    MainWindowOptions options;
    options.portName = "/dev/ttyUSB0";
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, options, &recorder);
    commands = &InstallGraphCommands(*window, {log, recorder, qtUi});
  }
  ~GraphCommandsTest() override {
    window.reset();
    QApplication::processEvents();
  }

  void LoadLog(std::vector<TrackPoint> points) {
    log = TrackLog();
    log.points = std::move(points);
    log.utcTimes = 1;
    window->ShowView(ViewMode::TrackLog);
    window->List().selectAll();
  }

  // Closes the open graph and lets Qt delete it.
  void CloseGraph() {
    ASSERT_NE(commands->Graph(), nullptr);
    commands->Graph()->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(commands->Graph(), nullptr);
  }

  // The graph a command opened; the test stops when none did.
  GraphWindow& ShownGraph() {
    GraphWindow* graph = commands->Graph();
    if (graph == nullptr) {
      const std::string said = recorder.boxes.empty() ? "nothing" : recorder.boxes.back().text;
      throw std::runtime_error("no graph opened; the last message: " + said);
    }
    EXPECT_TRUE(QTest::qWaitForWindowExposed(graph));
    return *graph;
  }

  std::unique_ptr<DarkLook> dark;
  TrackLog log;
  WaypointList waypoints;
  QtUserInterface qtUi;
  testing::ScriptedUserInterface recorder;
  std::unique_ptr<MainWindow> window;
  GraphCommands* commands = nullptr;
};

TEST_F(GraphCommandsTest, MenuEntriesAreOffered) {
  for (const int id : {cmd::kShowVario, cmd::kShowGlide, cmd::kShowPolar, cmd::kViewIntervals}) {
    ASSERT_NE(window->Action(id), nullptr) << id;
    EXPECT_TRUE(window->Action(id)->isEnabled()) << id;
  }
  EXPECT_EQ(window->Action(cmd::kShowVario)->text(), "Show &Vario");
  EXPECT_EQ(window->Action(cmd::kViewIntervals)->text(), "Set view intervals");
}

TEST_F(GraphCommandsTest, RefusalsNameTheGraph) {
  for (const auto& [kind, id] : kGraphCommands) {
    const std::string caption(GraphCaption(kind));
    SCOPED_TRACE(caption);
    recorder.boxes.clear();
    log = TrackLog();
    window->ShowView(ViewMode::Waypoints);
    window->Dispatch(id);  // the list shows waypoints
    window->ShowView(ViewMode::TrackLog);
    window->Dispatch(id);  // no log loaded, so nothing selected
    LoadLog(GenerateTestFlight());
    window->List().clearSelection();
    window->Dispatch(id);
    window->List().selectRow(5);
    window->Dispatch(id);
    window->List().selectAll();
    window->SetJobRunning(true);
    window->Dispatch(id);
    window->SetJobRunning(false);
    EXPECT_EQ(recorder.boxes,
              (std::vector<RecordedBox>{Error("Incorrect view mode", caption), Error("No positions selected", caption),
                                        Error("No positions selected", caption),
                                        Error("Less than 2 positions selected", caption),
                                        Error("Busy GPS driver", caption)}));
    EXPECT_EQ(commands->Graph(), nullptr);
  }
}

TEST_F(GraphCommandsTest, OneGraphWindowAtATime) {
  LoadLog(GenerateTestFlight());
  window->show();
  window->Dispatch(cmd::kShowVario);
  GraphWindow* vario = commands->Graph();
  ASSERT_NE(vario, nullptr);
  EXPECT_EQ(vario->windowTitle(), "Vario view");
  EXPECT_TRUE(vario->isVisible());
  // Opening another graph while one is shown does nothing.
  window->Dispatch(cmd::kShowPolar);
  window->Dispatch(cmd::kShowVario);
  EXPECT_EQ(commands->Graph(), vario);
  EXPECT_EQ(window->findChildren<GraphWindow*>().size(), 1);
  EXPECT_TRUE(recorder.boxes.empty());
  CloseGraph();
  window->Dispatch(cmd::kShowPolar);
  ASSERT_NE(commands->Graph(), nullptr);
  EXPECT_EQ(commands->Graph()->windowTitle(), "Polar view");
  // The graph goes with the main window.
  QPointer<GraphWindow> polar = commands->Graph();
  window->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(polar.isNull() || !polar->isVisible());
}

// The share of a picture's pixels near the background, and the counts of
// pixels near the curve's colour and of green ones (the axes).
struct PictureInk {
  double ground = 0;
  int curve = 0;
  int green = 0;
};
PictureInk InkOf(QWidget& view) {
  const QImage image = view.grab().toImage();
  const double base = Luminance(view.palette().color(QPalette::Base).rgb());
  const double text = Luminance(view.palette().color(QPalette::Text).rgb());
  PictureInk ink;
  int ground = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      const double l = Luminance(c);
      if (std::abs(l - base) < 12) ++ground;
      if (std::abs(l - text) < 40) ++ink.curve;
      if (qGreen(c) > qRed(c) + 60 && qGreen(c) > qBlue(c) + 60) ++ink.green;
    }
  }
  ink.ground = image.isNull() ? 0 : static_cast<double>(ground) / (image.width() * image.height());
  return ink;
}

TEST_F(GraphCommandsTest, ViewsAreDrawnInThePalettesColours) {
  LoadLog(GenerateTestFlight());
  window->show();
  for (const bool darkPass : {false, true}) {
    SCOPED_TRACE(darkPass ? "dark" : "as started");
    if (darkPass && !dark) dark = std::make_unique<DarkLook>();
    for (const auto& [kind, id] : kGraphCommands) {
      SCOPED_TRACE(std::string(GraphTitle(kind)));
      window->Dispatch(id);
      GraphWindow& graph = ShownGraph();
      graph.move(40, 40);
      const PictureInk ink = InkOf(graph);
      EXPECT_GT(ink.ground, 0.8);
      // The curve and its labels; the test flight's whole metres a second
      // put its polar dots on few distinct pixels.
      EXPECT_GT(ink.curve, kind == GraphKind::Polar ? 10 : 100);
      EXPECT_GT(ink.green, 300);  // two axes across the window
      EXPECT_FALSE(graph.accessibleName().isEmpty());
      CloseGraph();
    }
  }
}

// A real flight (a Flytec 6030, one fix every 3 s, 3.9 h) in each view with
// the mouse over it: the scenes of the screenshots.
TEST_F(GraphCommandsTest, RealFlightViews) {
  std::ifstream file("sim/flights/pg-flytec6030-2008-3s.igc", std::ios::binary);
  ASSERT_TRUE(file) << "run from the project root";
  std::ostringstream bytes;
  bytes << file.rdbuf();
  TrackFileRead read = ReadIgcTrackFile(bytes.str());
  ASSERT_TRUE(read.Ok());
  // The recorder repeats a second now and then, which the graphs refuse as a
  // time error; the fixes of a repeated second go, as the vario filter drops them.
  std::vector<TrackPoint> rising;
  for (const TrackPoint& point : read.records.points) {
    if (rising.empty() || point.time > rising.back().time) rising.push_back(point);
  }
  ASSERT_GT(rising.size(), 4000u);
  LoadLog(std::move(rising));
  window->show();
  for (const auto& [kind, id] : kGraphCommands) {
    SCOPED_TRACE(std::string(GraphTitle(kind)));
    window->Dispatch(id);
    GraphWindow& graph = ShownGraph();
    graph.move(40, 40);
    graph.resize(720, 450);
    const QPoint at = kind == GraphKind::Polar ? QPoint(330, 190) : QPoint(420, 70);
    QMouseEvent move(QEvent::MouseMove, at, graph.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&graph, &move);
    QApplication::processEvents();
    const PictureInk ink = InkOf(graph);
    EXPECT_GT(ink.ground, 0.6);
    EXPECT_GT(ink.curve, 300);
    EXPECT_GT(ink.green, 300);
    HoldForScreenshot();
    CloseGraph();
  }
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(GraphCommandsTest, VarioPictureFollowsTheScale) {
  // Level for 40 s, then 2 m/s up for 60 s: a step from 0 to 2 m/s.
  std::vector<TrackPoint> points;
  for (uint32_t s = 0; s <= 100; s += 10) points.push_back(Fix(s, s <= 40 ? 1000 : 1000 + 2 * (s - 40), s * 3000));
  LoadLog(points);
  window->Dispatch(cmd::kShowVario);
  GraphWindow& graph = ShownGraph();
  graph.resize(600, 400);
  QApplication::processEvents();
  const PlotArea& area = graph.Area();
  EXPECT_EQ(area.plotWidth, 540);
  EXPECT_EQ(area.plotHeight, 360);
  // The zero line is green across the plot, at (2 x 0.9 / 2 + 0.05) x 400.
  const QImage picture = graph.Picture().scaled(graph.size());
  const QRgb axis = picture.pixel(area.leftMargin + 300, 380);
  EXPECT_GT(qGreen(axis), qRed(axis) + 60);
  // At the right end the curve stands at 2 m/s: 360 pixels above the zero line.
  const QRgb curve = picture.pixel(area.leftMargin + area.plotWidth - 1, 20);
  EXPECT_LT(std::abs(Luminance(curve) - Luminance(graph.palette().color(QPalette::Text).rgb())), 40);
}

TEST_F(GraphCommandsTest, MouseWritesTheReadout) {
  LoadLog(GenerateTestFlight());
  for (const auto& [kind, id] : kGraphCommands) {
    SCOPED_TRACE(std::string(GraphTitle(kind)));
    window->Dispatch(id);
    GraphWindow& graph = ShownGraph();
    EXPECT_TRUE(graph.Readout().isEmpty());
    const QPoint at(graph.Area().leftMargin + 123, 77);
    QMouseEvent move(QEvent::MouseMove, at, graph.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&graph, &move);
    std::string expected;
    if (kind == GraphKind::Polar) {
      expected = PolarReadout(graph.Area(), at.x(), at.y());
      EXPECT_NE(expected.find(" Km/h,  "), std::string::npos);
    } else {
      const auto series = PrepareSecondSeries(recorder, log.points, kind, commands->Intervals().varioSeconds);
      ASSERT_TRUE(series);
      expected = TimeReadout(kind, *series, graph.Area(), ScaleTimeGraph(graph.Area(), *series), at.x(), at.y());
    }
    EXPECT_EQ(graph.Readout().toStdString(), expected);
    // The readout box is painted at the bottom left over the picture.
    const QImage shown = graph.grab().toImage();
    const QImage plain = graph.Picture().scaled(graph.size());
    const int row = graph.height() - 15;
    int changed = 0;
    for (int x = graph.Area().leftMargin + 10; x < graph.Area().leftMargin + 260; ++x) {
      if (shown.pixel(x, row) != plain.pixel(x, row)) ++changed;
    }
    EXPECT_GT(changed, 0);
    CloseGraph();
  }
}

TEST_F(GraphCommandsTest, TinyAndHugeWindowsDrawWithoutFault) {
  LoadLog(GenerateTestFlight());
  for (const auto& [kind, id] : kGraphCommands) {
    window->Dispatch(id);
    GraphWindow& graph = ShownGraph();
    for (const QSize size : {QSize(1, 1), QSize(150, 90), QSize(2400, 1600), QSize(199, 600)}) {
      graph.resize(size);
      QApplication::processEvents();
      QMouseEvent move(QEvent::MouseMove, QPoint(size.width() + 50, -20), QPoint(0, 0), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QApplication::sendEvent(&graph, &move);
      EXPECT_FALSE(graph.Readout().isEmpty());
    }
    // Below 200 pixels the plot keeps the width it had.
    EXPECT_EQ(graph.Area().plotWidth, 2160);
    CloseGraph();
  }
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(GraphCommandsTest, ViewIntervalsDialogKeepsItsValuesOrSaysWhy) {
  // Two fixes 30 s apart: with the default 20 s the vario shows 31 seconds.
  LoadLog({Fix(0, 1000, 0), Fix(30, 1030, 30000)});
  ModalScript script;
  script.Add([this](QWidget& modal) {
    auto* dialog = qobject_cast<ViewIntervalsDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Set view intervals");
    EXPECT_EQ(dialog->VarioField().text(), "20");
    EXPECT_EQ(dialog->GlideField().text(), "20");
    EXPECT_EQ(dialog->PolarField().text(), "1");
    // Each field is named for a screen reader and reached with Tab.
    for (QLineEdit* field : {&dialog->VarioField(), &dialog->GlideField(), &dialog->PolarField()}) {
      EXPECT_FALSE(field->accessibleName().isEmpty());
      EXPECT_TRUE(field->focusPolicy() & Qt::TabFocus);
    }
    EXPECT_EQ(dialog->PolarField().accessibleName(), "Polar interval (track points)");
    dialog->VarioField().setText("30");
    dialog->GlideField().setText("0");
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());  // "Bad input": the dialog stays
    EXPECT_EQ(commands->Intervals(), GraphIntervals{});
    dialog->GlideField().setText("15");
    dialog->PolarField().setText("2");
    dialog->accept();
  });
  window->Dispatch(cmd::kViewIntervals);
  EXPECT_EQ(script.Opened(), 1);
  EXPECT_EQ(commands->Intervals(), (GraphIntervals{30, 15, 2}));
  window->Dispatch(cmd::kShowVario);
  window->Dispatch(cmd::kShowPolar);
  EXPECT_EQ(recorder.boxes,
            (std::vector<RecordedBox>{Error("Bad input", "Decode input"),
                                      Error("Flight time less than the climb rate interval (30 s)", "Show vario"),
                                      Error("Position count less than the polar interval (2)", "Show polar")}));
  EXPECT_EQ(commands->Graph(), nullptr);

  // Cancel keeps what was set.
  ModalScript cancel;
  cancel.Add([](QWidget& modal) {
    auto* dialog = qobject_cast<ViewIntervalsDialog*>(&modal);
    dialog->VarioField().setText("5");
    dialog->reject();
  });
  window->Dispatch(cmd::kViewIntervals);
  EXPECT_EQ(commands->Intervals(), (GraphIntervals{30, 15, 2}));
}

}  // namespace
}  // namespace trelvik
