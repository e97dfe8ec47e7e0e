#pragma once
// The KML "trip" folder of one flight: the flight statistics as text, one
// placemark per distance optimisation, and the track with its metadata and
// keyed hash. The logbook, the single-flight file and the competition output
// all hold such folders.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analysis/optimisation_result.hpp"
#include "records/text_buffer.hpp"
#include "records/track_point.hpp"
#include "trackfiles/igc_encoder.hpp"

namespace trelvik {

inline constexpr TrackTime kNoDownloadTime = 0xFFFFFFFFu;
inline constexpr size_t kKmlTripBufferStart = 10000;

// Room that one trip folder's text of `points` positions usually stays within.
inline constexpr size_t KmlTripTextEstimate(size_t points) { return points * 48 + 8000; }

// What the folder is built from.
struct KmlTripInput {
  std::span<const TrackPoint> points;  // the flight; never changed (times are checked on a copy)
  TrackTime firstTime = 0;
  TrackTime lastTime = 0;
  uint32_t duration = 0;                   // seconds
  TrackTime downloaded = kNoDownloadTime;  // for the metadata
  int32_t isSigned = 0;                    // 1 = write the hash attribute
  int32_t hasIds = 0;                      // 1 = compId and civlId are meaningful
  int32_t compId = -1;                     // negative = unknown
  int32_t civlId = -1;
  int32_t utcTimes = 0;
  int32_t hasPressureAltitude = 0;
  // Flight statistics: whole metres, km/h, metres, m/s.
  int32_t lowestAltitude = 0;
  int32_t highestAltitude = 0;
  double topSpeed = 0;
  double greatestMeanSpeed = 0;
  double totalDistance = 0;
  double averageSpeed = 0;
  double leastClimb = 0;
  double greatestClimb = 0;
  OptimisationResult optimisation;
  int32_t loopFlightGap = 0;  // metres: the gap the loop searches ran with, shown in their headings
  int32_t programVersion = kTrelvikVersion;  // 100 x major + minor
};

inline constexpr int kKmlTripBufferFailed = -1;    // the buffer could not grow (and is freed)
inline constexpr int kKmlTripBadTitle = -2;        // the title is not UTF-8 (the buffer is freed)
inline constexpr int kKmlTripBadInput = -3;        // no points, or an index beyond them (buffer untouched)

// Appends one trip folder to `buffer`. `title` and `instrument` may be absent
// (an absent instrument is written as "unknown").
[[nodiscard]] int BuildKmlTrip(TextBuffer& buffer, const KmlTripInput& input, std::optional<std::string_view> title,
                               std::optional<std::string_view> instrument);

// The same folder appended straight to `text`, for a file that holds one trip
// (no copy through a buffer). On failure `text` may end in part of a folder.
[[nodiscard]] int AppendKmlTrip(std::string& text, const KmlTripInput& input, std::optional<std::string_view> title,
                                std::optional<std::string_view> instrument);

// The frame of the logbook, single-flight and competition files around their folders.
inline constexpr std::string_view kKmlFileHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n<open>1</open>\r\n";
inline constexpr std::string_view kKmlFileTail = "</Document>\r\n";

}  // namespace trelvik
