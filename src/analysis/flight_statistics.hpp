#pragma once
// Times, heights, speeds, distance and climb of a flight, and their texts in
// the flight statistics dialog.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "analysis/optimisation_result.hpp"
#include "records/track_point.hpp"
#include "records/track_time.hpp"

namespace trelvik {

struct FlightStatistics {
  TrackTime firstTime = 0;
  TrackTime lastTime = 0;
  uint32_t duration = 0;        // seconds
  int32_t lowestAltitude = 0;   // whole metres
  int32_t highestAltitude = 0;  // whole metres
  double topSpeed = 0;          // km/h over 10 s
  double greatestMeanSpeed = 0; // km/h over 60 s
  double totalDistance = 0;     // metres
  double averageSpeed = 0;      // km/h; 0 when first and last time are equal
  double leastClimb = 0;        // m/s over 60 s, within -9999..9999
  double greatestClimb = 0;
};

// Needs at least one point.
FlightStatistics ComputeFlightStatistics(std::span<const TrackPoint> points);

struct FlightStatisticsTexts {
  std::string date;         // "%4d-%02d-%02d"
  std::string start;        // "%02d:%02d:%02d"
  std::string finish;
  std::string duration;     // "%d : %02d : %02d"
  std::string highest;      // "%d m"
  std::string lowest;
  std::string meanSpeed;    // "%d km/h", rounded
  std::string topSpeed;
  std::string distance;     // "%.1f km"
};
FlightStatisticsTexts FormatFlightStatistics(const FlightStatistics& statistics);

// The seven distances in km, "%.2f": 2, 3, 4, 5 points, out-and-return, flat
// triangle, FAI triangle.
std::array<std::string, 7> FormatOptimisedDistances(const OptimisationResult& result);

}  // namespace trelvik
