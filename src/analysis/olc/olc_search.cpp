#include "analysis/olc/olc_search.hpp"

#include <new>

#include "analysis/coarse_search.hpp"
#include "analysis/fine_search.hpp"
#include "analysis/olc/olc_fine.hpp"

namespace trelvik::olc {
namespace {

bool Halted(const std::atomic<bool>* halt) { return halt != nullptr && halt->load(std::memory_order_relaxed); }

}  // namespace

std::string_view StepText(OlcStep step) {
  switch (step) {
    case OlcStep::DistanceMatrix: return "Computing distance matrix";
    case OlcStep::MaxDistance: return "Max. distance search";
    case OlcStep::OutAndReturn: return "Out-and-return search";
    case OlcStep::Triangles: return "Triangle search";
  }
  return {};
}

std::string_view AbortedText(OlcStep step) {
  switch (step) {
    case OlcStep::DistanceMatrix: return "Computation halted";
    case OlcStep::MaxDistance: return "Max. distance search aborted";
    case OlcStep::OutAndReturn: return "Out-and-return search aborted";
    case OlcStep::Triangles: return "Triangle search aborted";
  }
  return {};
}

void ChooseBest(OlcResult& r) {
  r.freeDistancePoints = r.fivePoints.total * kFreeDistanceFactor;
  r.freeTrianglePoints = r.freeTriangle.found ? r.freeTriangle.score * kFreeTriangleFactor : 0.0;
  r.faiTrianglePoints = r.faiTriangle.found ? r.faiTriangle.score * kFaiTriangleFactor : 0.0;
  // The FAI triangle wins every tie.
  if (r.freeDistancePoints > r.freeTrianglePoints) {
    r.best = r.freeDistancePoints > r.faiTrianglePoints ? BestKind::FreeDistance : BestKind::FaiTriangle;
  } else {
    r.best = r.freeTrianglePoints > r.faiTrianglePoints ? BestKind::FreeTriangle : BestKind::FaiTriangle;
  }
  auto corners = [](const Triangle& t) {
    return std::array<int32_t, 5>{t.start, t.turnpoint1, t.turnpoint2, t.turnpoint3, t.end};
  };
  switch (r.best) {
    case BestKind::FreeDistance:
      r.bestPoints = r.freeDistancePoints;
      r.w = r.fivePoints.index;
      break;
    case BestKind::FreeTriangle:
      r.bestPoints = r.freeTrianglePoints;
      r.w = corners(r.freeTriangle);
      break;
    case BestKind::FaiTriangle:
      r.bestPoints = r.faiTrianglePoints;
      r.w = corners(r.faiTriangle);
      break;
  }
}

OlcSearch::OlcSearch(std::vector<TrackPoint> points, Engine engine)
    : points_(std::move(points)), engine_(engine), samples_(SampleFlight(points_)) {
  matrix_.Allocate(samples_.Count());
}

OlcOutcome OlcSearch::Run(const std::atomic<bool>* halt, WorkCounter* work, const StepStarted& step) {
  WorkCounter unused;
  WorkCounter& counter = work != nullptr ? *work : unused;
  auto begin = [&step](OlcStep s) {
    if (step) step(s);
  };
  OlcResult r;
  try {
    begin(OlcStep::DistanceMatrix);
    if (!BuildMatrix(samples_, matrix_, halt, &counter)) return OlcOutcome::Halted;
    BuildGapTables(matrix_);

    // The free distance is the flight optimisation's five-point distance, by
    // the very same searches.
    begin(OlcStep::MaxDistance);
    counter.Begin(1);
    if (Halted(halt)) return OlcOutcome::Halted;
    CoarseOptions openOnly;
    openOnly.loopSearches = false;
    CoarseResult open;
    if (CoarseSearchFast(samples_, openOnly, {}, open) < 0) return OlcOutcome::MemoryError;
    OptimisationResult refined;
    RefineOnTrack(points_, samples_, open, 0, refined);
    r.twoPoints = refined.twoPoints;
    r.fivePoints = refined.fivePoints;
    counter.Add(1);

    begin(OlcStep::OutAndReturn);
    CoarseOutAndReturn outAndReturn;
    if (!SearchOutAndReturn(matrix_, engine_, halt, &counter, outAndReturn)) return OlcOutcome::Halted;
    r.outAndReturn = RefineOutAndReturn(points_, samples_, outAndReturn);

    begin(OlcStep::Triangles);
    CoarseTriangles triangles;
    if (!SearchTriangles(matrix_, engine_, halt, &counter, triangles)) return OlcOutcome::Halted;
    r.freeTriangle = RefineTriangle(points_, samples_, triangles.free, false);
    r.faiTriangle = RefineTriangle(points_, samples_, triangles.fai, true);
  } catch (const std::bad_alloc&) {
    return OlcOutcome::MemoryError;
  }
  ChooseBest(r);
  result_ = r;
  return OlcOutcome::Completed;
}

std::optional<OlcResult> ScoreOlcFlight(std::span<const TrackPoint> points, Engine engine) {
  if (points.size() < kLeastOlcPoints) return std::nullopt;
  try {
    OlcSearch search(std::vector<TrackPoint>(points.begin(), points.end()), engine);
    if (search.Run(nullptr, nullptr, {}) != OlcOutcome::Completed) return std::nullopt;
    return search.Result();
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace trelvik::olc
