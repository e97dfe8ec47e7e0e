// Any bytes through the OpenAir parser; what it accepts goes on through the
// writers and the outline conversion, which must cope with whatever the
// parser lets in. Seeds: seeds/openair_fuzzer/.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "airspace/ctr_google.hpp"
#include "airspace/ctr_gpx.hpp"
#include "airspace/ctr_names.hpp"
#include "airspace/ctr_points.hpp"
#include "airspace/openair_parser.hpp"
#include "airspace/openair_writer.hpp"
#include "base/silent_user_interface.hpp"

namespace {

// Outlines are cut into pieces at the segment error; keep the work per input small.
constexpr int kMaxSegmentsForOutlines = 64;

// Says Yes to "Fix name by appending number ?", so that repeated names are renamed.
class AgreeingUserInterface : public trelvik::SilentUserInterface {
 public:
  trelvik::Answer Ask(trelvik::QuestionKind, std::string_view, std::string_view) override {
    return trelvik::Answer::Yes;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  trelvik::SilentUserInterface ui;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  trelvik::CtrList list;
  int notices = 0;
  const int count = trelvik::ParseOpenAir(ui, text, list, [&](std::string_view) { return ++notices > 1; });
  if (count <= 0) return 0;
  // A file read behind the list's airspaces has its repeated names fixed.
  AgreeingUserInterface agreeing;
  trelvik::CtrList renamed = list;
  renamed.insert(renamed.end(), list.begin(), list.end());
  trelvik::FixEqualCtrNames(agreeing, renamed);

  int segments = 0;
  for (trelvik::CtrArea& area : list) {
    area.selected = true;
    segments += area.SegmentCount();
  }
  std::string written;
  if (trelvik::FormatCtrOpenAir(ui, list, written) >= 0) {
    trelvik::CtrList again;
    (void)trelvik::ParseOpenAir(ui, written, again);
  }
  if (segments > kMaxSegmentsForOutlines) return 0;
  for (size_t i = 0; i < list.size(); ++i) {
    std::vector<trelvik::Waypoint> points;
    (void)trelvik::CtrToPoints(list[i], static_cast<int>(i), 10, 0, points);
  }
  std::string gpx;
  (void)trelvik::FormatCtrGpx(ui, list, 10, trelvik::CtrExportStamp{472, {}}, gpx);
  std::string google;
  (void)trelvik::FormatCtrGoogleApi(list, 10, 0, google);
  return 0;
}
