// Loading a whole country's airspace: a generated OpenAir file of 5 MB in the
// style of the national exports (extended records, UTF-8 names, long polygons,
// circles and arcs), parsed from memory and read from a file.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "airspace/ctr_file.hpp"
#include "airspace/ctr_points.hpp"
#include "airspace/openair_parser.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/silent_user_interface.hpp"

namespace {

constexpr size_t kCountrySize = 5 * 1024 * 1024;

std::string Coordinate(double value, bool lon) {
  const int tenths = static_cast<int>((value < 0 ? -value : value) * 36000 + 0.5);
  return trelvik::CFormat(lon ? "%03d:%02d:%02d.%d %c" : "%02d:%02d:%02d.%d %c", tenths / 36000,
                          tenths % 36000 / 600, tenths % 600 / 10, tenths % 10,
                          lon ? (value < 0 ? 'W' : 'E') : (value < 0 ? 'S' : 'N'));
}

std::string Position(double lat, double lon) { return Coordinate(lat, false) + " " + Coordinate(lon, true); }

// Airspaces spread over 45..48 N, 5..11 E until the text reaches 5 MB.
std::string CountryText() {
  static const char* const kClasses[] = {"C", "D", "E", "R", "Q", "P", "CTR", "GP", "RMZ"};
  static const char* const kNames[] = {"Genève", "Zürich", "Sion", "Bern-Belp", "Lugano", "Schaffhausen"};
  std::string text = "* Generated national airspace file\r\n* Übersicht aller Lufträume\r\n\r\n";
  unsigned seed = 12345;
  const auto next = [&seed](int range) {
    seed = seed * 1103515245 + 12345;
    return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
  };
  for (int n = 0; text.size() < kCountrySize; ++n) {
    const double lat = 45 + next(3000) / 1000.0;
    const double lon = 5 + next(6000) / 1000.0;
    text += trelvik::CFormat("AC %s\r\nAY TYPE\r\n", kClasses[n % 9]);
    text += trelvik::CFormat("AN %s %s %d\r\n", kNames[n % 6], kClasses[n % 9], n);
    text += trelvik::CFormat("AI %08x-%04d\r\nAF 1%02d.%03d\r\nAG %s Info\r\n", seed, n % 10000, next(40),
                             next(1000), kNames[n % 6]);
    text += trelvik::CFormat("AH FL %d\r\nAL %d ft AMSL\r\n", 65 + next(100), 1000 + next(9000));
    switch (n % 4) {
      case 0:
      case 1: {  // a long polygon, as borders and TMAs are
        const int corners = 20 + next(80);
        for (int k = 0; k < corners; ++k) {
          const double angle = 6.283185307179586 * k / corners;
          text += "DP " + Position(lat + 0.1 * std::sin(angle), lon + 0.15 * std::cos(angle)) + "\r\n";
        }
        break;
      }
      case 2:
        text += "V X=" + Position(lat, lon) + "\r\n";
        text += trelvik::CFormat("DC %d.%d\r\n", 1 + next(15), next(10));
        break;
      default:
        text += "DP " + Position(lat, lon - 0.1) + "\r\n";
        text += "V D=-\r\nV X=" + Position(lat, lon) + "\r\n";
        text += trelvik::CFormat("DA 5, %d, %d\r\n", next(180), 180 + next(180));
        text += "V D=+\r\nV X=" + Position(lat + 0.1, lon) + "\r\n";
        text += "DB " + Position(lat + 0.15, lon) + ", " + Position(lat + 0.1, lon + 0.05) + "\r\n";
        text += "V W=5\r\n";
        break;
    }
    text += "\r\n";
  }
  return text;
}

void BM_ParseOpenAirCountry(benchmark::State& state) {
  const std::string text = CountryText();
  trelvik::SilentUserInterface ui;
  int count = 0;
  for (auto _ : state) {
    trelvik::CtrList list;
    count = trelvik::ParseOpenAir(ui, text, list);
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["airspaces"] = count;
  state.counters["MB"] = static_cast<double>(text.size()) / (1024 * 1024);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseOpenAirCountry)->Unit(benchmark::kMillisecond);

// The whole command: read the file, parse, install, look for equal names.
void BM_ReadCtrFileCountry(benchmark::State& state) {
  const std::string path = "/tmp/trelvik-airspace-bench-" + std::to_string(::getpid()) + ".txt";
  if (trelvik::WriteFileAtomically(path, CountryText())) {
    state.SkipWithError("cannot write the country file");
    return;
  }
  trelvik::SilentUserInterface ui;
  int count = 0;
  for (auto _ : state) {
    trelvik::AirspaceList store;
    std::string folder;
    count = trelvik::ReadCtrFile(ui, store, folder, path, false);
    benchmark::DoNotOptimize(store.areas.data());
  }
  std::remove(path.c_str());
  state.counters["airspaces"] = count;
}
BENCHMARK(BM_ReadCtrFileCountry)->Unit(benchmark::kMillisecond);

// Every outline of the country turned into points at the default accuracy.
void BM_CtrToPointsCountry(benchmark::State& state) {
  trelvik::SilentUserInterface ui;
  trelvik::CtrList list;
  (void)trelvik::ParseOpenAir(ui, CountryText(), list);
  size_t points = 0;
  for (auto _ : state) {
    points = 0;
    for (size_t i = 0; i < list.size(); ++i) {
      std::vector<trelvik::Waypoint> outline;
      if (trelvik::CtrToPoints(list[i], static_cast<int>(i), trelvik::kDefaultCtrSegError, 0, outline) == 0) {
        points += outline.size();
      }
    }
  }
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_CtrToPointsCountry)->Unit(benchmark::kMillisecond);

}  // namespace
