// Reading the largest flight of the corpus (24,794 fixes) written in each
// track format, against reading it as IGC: every reader should stay within
// three times the IGC read. Formats without a writer of ours (Magellan, old
// FlightLog, TopNavigator) are written here from their layouts.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <string>

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "geo/transverse_mercator.hpp"
#include "trackfiles/igc_reader.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/track_file_formats.hpp"

namespace trelvik {
namespace {

const std::string& LargestFlight() {
  static const std::string bytes = [] {
    const char* dir = std::getenv("TRELVIK_FLIGHTS");
    const std::string folder = dir ? dir : std::string(TRELVIK_SOURCE_DIR) + "/../shared/flights";
    std::string text;
    if (!ReadWholeFile(folder + "/gl-lxnav-lx9070-2024-1s.igc", text)) text.clear();
    return text;
  }();
  return bytes;
}

std::string Magellan(const std::vector<TrackPoint>& points) {
  std::string text;
  for (const TrackPoint& p : points) {
    const SystemTime t = DateFromTrackTime(p.time);
    const double lat = std::abs(SemicircleToDegrees(p.lat)), lon = std::abs(SemicircleToDegrees(p.lon));
    const std::string body =
        CFormat("PMGNTRK,%02d%06.3f,%c,%03d%06.3f,%c,%05d,M,%02d%02d%02d.00,A,,%02d%02d%02d",
                static_cast<int>(lat), (lat - static_cast<int>(lat)) * 60, p.lat < 0 ? 'S' : 'N', static_cast<int>(lon),
                (lon - static_cast<int>(lon)) * 60, p.lon < 0 ? 'W' : 'E', p.gpsAlt / 10, t.hour, t.minute, t.second,
                t.day, t.month, t.year % 100);
    unsigned sum = 0;
    for (const char c : body) sum ^= static_cast<unsigned char>(c);
    text += "$" + body + CFormat("*%02X\r\n", sum);
  }
  return text;
}

std::string Dat(const std::vector<TrackPoint>& points) {
  UtmPosition first;
  LatLonToUtm(SemicircleToRadians(points.front().lat, points.front().lon), first);
  std::vector<uint32_t> words = {0, 0x01000000, static_cast<uint32_t>(points.size()),
                                 0x80000000u | (static_cast<uint32_t>(first.zone) << 8) |
                                     static_cast<uint8_t>(first.band)};
  for (const TrackPoint& p : points) {
    UtmPosition utm;
    utm.zone = first.zone;
    LatLonToUtm(SemicircleToRadians(p.lat, p.lon), utm);
    words.insert(words.end(), {p.time, static_cast<uint32_t>(utm.easting), static_cast<uint32_t>(utm.northing),
                               static_cast<uint32_t>(p.gpsAlt) & 0xFFFFFF});
  }
  uint32_t sum = 0;
  for (const uint32_t w : words) sum += w;
  words.push_back(0 - sum);
  std::string bytes;
  for (const uint32_t w : words) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(w >> shift);
  }
  return bytes;
}

// Blocks of 30 one-second positions, each opened by its time line.
std::string TopNav(const std::vector<TrackPoint>& points) {
  std::string text = "@TN 100A7------2405010000000000" + std::string(11, '-') + std::string(28, '0') + "--000000\r\n";
  for (size_t i = 0; i < points.size(); ++i) {
    if (i % 30 == 0) {
      const uint32_t t = static_cast<uint32_t>(i) % 86400;
      text += CFormat("%02u%02u%02u00000AC0\r\n", t / 3600, t / 60 % 60, t % 60);
    }
    const int32_t lat = static_cast<int32_t>(SemicircleToDegrees(points[i].lat) * 6000);
    const int32_t lon = static_cast<int32_t>(SemicircleToDegrees(points[i].lon) * 6000);
    text += CFormat("%06X%06X%04X00000000000000\r\n", static_cast<unsigned>(lat) & 0xFFFFFF,
                    static_cast<unsigned>(lon) & 0xFFFFFF, static_cast<unsigned>(points[i].gpsAlt / 10) & 0xFFFF);
  }
  return text + "@EOF\r\n";
}

// The flight in every readable format, by row name.
const std::map<std::string, std::string>& Files() {
  static const std::map<std::string, std::string> files = [] {
    std::map<std::string, std::string> out;
    const TrackFileRead igc = ReadIgcTrackFile(LargestFlight());
    if (!igc.Ok()) return out;
    out["igc"] = LargestFlight();
    TrackFileRecords records = igc.records;
    records.hasPressureAltitude = 1;
    for (const TrackFileFormat& row : TrackFileFormats()) {
      if (row.write != nullptr && row.read != nullptr) out[std::string(row.name)] = row.write(records, {}).bytes;
    }
    out["magellan"] = Magellan(records.points);
    out["flightlog-dat"] = Dat(records.points);
    out["topnavigator"] = TopNav(records.points);
    return out;
  }();
  return files;
}

void BM_ReadTrackFormat(benchmark::State& state, const char* name) {
  const auto found = Files().find(name);
  if (found == Files().end()) {
    state.SkipWithError("flight corpus not found (set TRELVIK_FLIGHTS)");
    return;
  }
  const TrackFileFormat& row = *FindTrackFileFormat(name);
  int32_t count = 0;
  for (auto _ : state) {
    const TrackFileRead read = row.read(found->second, FileReadContext{});
    count = read.records.Count();
    benchmark::DoNotOptimize(read.records.points.data());
  }
  state.counters["fixes"] = count;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(found->second.size()));
}

BENCHMARK_CAPTURE(BM_ReadTrackFormat, igc, "igc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadTrackFormat, kml, "kml-track")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadTrackFormat, ozi, "ozi-track")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadTrackFormat, dat, "flightlog-dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadTrackFormat, tnc, "topnavigator")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadTrackFormat, mps, "mapsource")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadTrackFormat, magellan, "magellan")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadTrackFormat, gpx, "gpx-track")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadTrackFormat, csv, "csv-track")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trelvik
