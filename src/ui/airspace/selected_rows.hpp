#pragma once
// The rows of the main list that the user selected, in list order.
#include <vector>

class QAbstractItemView;

namespace trelvik {

// 0-based row indexes in ascending order; empty without a selection.
std::vector<int> SelectedRows(const QAbstractItemView& list);

}  // namespace trelvik
