#pragma once
// The fine stage of the flight optimisation: each chosen sample is moved up to
// two track points either way, every combination is scored on the ellipsoid,
// and the legs of the results are measured again between the chosen points.
#include <span>

#include "analysis/coarse_search.hpp"
#include "analysis/optimisation_result.hpp"
#include "records/track_point.hpp"

namespace trelvik {

// Fills every search of `result` that has a coarse combination; the others
// stay 0. Does not touch the run flag.
void RefineOnTrack(std::span<const TrackPoint> points, const FlightSamples& samples, const CoarseResult& coarse,
                   int32_t loopFlightGap, OptimisationResult& result);

}  // namespace trelvik
