#pragma once
// The fine stage of the OLC loop searches: each chosen sample moves up to two
// track points either way and every combination is scored on the ellipsoid.
#include <span>

#include "analysis/flight_samples.hpp"
#include "analysis/olc/olc_coarse.hpp"
#include "analysis/olc/olc_result.hpp"
#include "records/track_point.hpp"

namespace trelvik::olc {

// Nothing (found false) without a coarse result.
OutAndReturn RefineOutAndReturn(std::span<const TrackPoint> points, const FlightSamples& samples,
                                const CoarseOutAndReturn& coarse);
// `fai` adds the 28 % rule on the ellipsoid.
Triangle RefineTriangle(std::span<const TrackPoint> points, const FlightSamples& samples, const CoarseTriangle& coarse,
                        bool fai);

}  // namespace trelvik::olc
