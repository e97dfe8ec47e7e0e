#pragma once
// The two engines of the OLC loop searches, called through SearchOutAndReturn
// and SearchTriangles.
#include "analysis/olc/olc_coarse.hpp"

namespace trelvik::olc {

[[nodiscard]] bool OutAndReturnPlain(const SampleMatrix& matrix, const std::atomic<bool>* halt, WorkCounter* work,
                                     CoarseOutAndReturn& result);
[[nodiscard]] bool TrianglesPlain(const SampleMatrix& matrix, const std::atomic<bool>* halt, WorkCounter* work,
                                  CoarseTriangles& result);
[[nodiscard]] bool OutAndReturnFast(const SampleMatrix& matrix, const std::atomic<bool>* halt, WorkCounter* work,
                                    CoarseOutAndReturn& result);
[[nodiscard]] bool TrianglesFast(const SampleMatrix& matrix, const std::atomic<bool>* halt, WorkCounter* work,
                                 CoarseTriangles& result);

}  // namespace trelvik::olc
