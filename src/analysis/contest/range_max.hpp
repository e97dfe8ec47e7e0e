#pragma once
// The greatest of a list of values over any range of it, in constant time.
#include <algorithm>
#include <bit>
#include <vector>

namespace trelvik::contest {

class RangeMax {
 public:
  explicit RangeMax(std::vector<double> values) {
    levels_.push_back(std::move(values));
    const size_t n = levels_[0].size();
    for (size_t width = 2; width <= n; width *= 2) {
      const std::vector<double>& below = levels_.back();
      std::vector<double> level(n - width + 1);
      for (size_t i = 0; i < level.size(); ++i) level[i] = std::max(below[i], below[i + width / 2]);
      levels_.push_back(std::move(level));
    }
  }
  double Max(size_t first, size_t last) const {
    const size_t level = std::bit_width(last - first + 1) - 1;
    return std::max(levels_[level][first], levels_[level][last + 1 - (size_t{1} << level)]);
  }

 private:
  std::vector<std::vector<double>> levels_;
};

}  // namespace trelvik::contest
