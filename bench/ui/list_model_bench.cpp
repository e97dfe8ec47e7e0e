// The main list over track logs of growing length: opening an IGC file into
// the list (reading it and binding the model, as the window does), and making
// the cells of one screen of rows at the end of the log. The screen should
// cost the same for 1,000 and 200,000 points: the model keeps no object per
// row; opening grows with the file only through the reading.
#include <benchmark/benchmark.h>

#include <QModelIndex>
#include <QVariant>
#include <cstdio>
#include <string>

#include "records/track_log.hpp"
#include "trackfiles/igc_reader.hpp"
#include "ui/list_model.hpp"

namespace {

using trelvik::ListModel;
using trelvik::TrackLog;
using trelvik::TrackPoint;
using trelvik::ViewMode;
using trelvik::WaypointList;

constexpr int kScreenRows = 30;

// A flight climbing and drifting east, one point a second.
TrackLog MakeLog(int points) {
  TrackLog log;
  log.points.resize(static_cast<size_t>(points));
  for (int i = 0; i < points; ++i) {
    TrackPoint& p = log.points[static_cast<size_t>(i)];
    p.flags = i == 0 ? trelvik::kNewSegment : 0;
    p.time = 600000000u + static_cast<uint32_t>(i);
    p.lat = 550000000;
    p.lon = 90000000 + i * 700;
    p.gpsAlt = 12000 + (i % 3000) * 3;
    p.baroAlt = 1200 + (i % 3000) / 3;
  }
  return log;
}

// An IGC file of `points` fixes a second apart.
std::string MakeIgcFile(int points) {
  std::string text = "AXXX001\r\nHFDTE070608\r\n";
  char line[64];
  for (int i = 0; i < points; ++i) {
    const int second = i % 86400;
    std::snprintf(line, sizeof line, "B%02d%02d%02d4015%03dN00455%03dWA%05d%05d\r\n", second / 3600, second / 60 % 60,
                  second % 60, i % 1000, (i / 7) % 1000, 1000 + i % 2000, 1100 + i % 2000);
    text += line;
  }
  return text;
}

void BM_OpenIgcFile(benchmark::State& state) {
  const std::string file = MakeIgcFile(static_cast<int>(state.range(0)));
  const WaypointList waypoints;
  for (auto _ : state) {
    TrackLog log;
    trelvik::TrackFileRead read = trelvik::ReadIgcTrackFile(file);
    log.points = std::move(read.records.points);
    ListModel model(log, waypoints);
    model.SetView(ViewMode::TrackLog, false);
    model.Refresh();
    if (model.rowCount() != state.range(0)) state.SkipWithError("the file did not read whole");
  }
}
BENCHMARK(BM_OpenIgcFile)->Arg(1000)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_ScreenOfRowsAtTheEnd(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const TrackLog log = MakeLog(points);
  const WaypointList waypoints;
  ListModel model(log, waypoints);
  model.SetView(ViewMode::TrackLog, false);
  const int columns = model.columnCount();
  for (auto _ : state) {
    for (int row = points - kScreenRows; row < points; ++row) {
      for (int column = 0; column < columns; ++column) {
        benchmark::DoNotOptimize(model.data(model.index(row, column)));
      }
    }
  }
  state.counters["per_row"] =
      benchmark::Counter(static_cast<double>(kScreenRows), benchmark::Counter::kIsIterationInvariantRate |
                                                               benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScreenOfRowsAtTheEnd)->Arg(1000)->Arg(10000)->Arg(200000)->Unit(benchmark::kMicrosecond);

}  // namespace
