// The text parsers on B-record-sized fields, one field per call.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "b_record_fields.hpp"
#include "records/angle_parsers.hpp"
#include "records/date_time_parsers.hpp"
#include "records/number_parsers.hpp"

namespace trelvik::bench {
namespace {

template <typename Parse>
void RunOverFields(benchmark::State& state, const std::vector<std::string>& fields, Parse parse) {
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(parse(fields[i]));
    if (++i == fields.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_ParseHhmmss(benchmark::State& state) {
  RunOverFields(state, Flight().times, [](const std::string& field) {
    TimeOfDay time;
    const int rc = ParseHhmmss(field, time);
    benchmark::DoNotOptimize(time);
    return rc;
  });
}
BENCHMARK(BM_ParseHhmmss);

void BM_ParseNmeaAngleLatitude(benchmark::State& state) {
  RunOverFields(state, Flight().latitudes, [](const std::string& field) {
    double radians = 0;
    const int rc = ParseNmeaAngle(field, true, radians);
    benchmark::DoNotOptimize(radians);
    return rc;
  });
}
BENCHMARK(BM_ParseNmeaAngleLatitude);

void BM_ParseNmeaAngleLongitude(benchmark::State& state) {
  RunOverFields(state, Flight().longitudes, [](const std::string& field) {
    double radians = 0;
    const int rc = ParseNmeaAngle(field, false, radians);
    benchmark::DoNotOptimize(radians);
    return rc;
  });
}
BENCHMARK(BM_ParseNmeaAngleLongitude);

void BM_ParseSignedIntAltitude(benchmark::State& state) {
  RunOverFields(state, Flight().altitudes, [](const std::string& field) {
    int32_t value = 0;
    const int rc = ParseSignedInt(field, value);
    benchmark::DoNotOptimize(value);
    return rc;
  });
}
BENCHMARK(BM_ParseSignedIntAltitude);

}  // namespace
}  // namespace trelvik::bench
