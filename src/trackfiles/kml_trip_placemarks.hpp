#pragma once
// The seven distance placemarks of a trip folder, from the optimisation result.
#include <span>
#include <string>

#include "trackfiles/kml_trip.hpp"

namespace trelvik {

// True when every index of every result lies inside `count` points.
bool KmlOptimisationIndexesValid(const OptimisationResult& result, size_t count);

// Appends the placemarks (5, 4, 3 points, open distance, out-and-return, flat
// and FAI triangle) to `out`. `points` are the flight with checked times.
void AppendKmlOptimisationPlacemarks(std::string& out, const KmlTripInput& input, std::span<const TrackPoint> points);

// "%.6f,%.6f,%d": longitude and latitude in degrees, GPS altitude in whole metres.
std::string KmlCoordinateText(const TrackPoint& point);

}  // namespace trelvik
