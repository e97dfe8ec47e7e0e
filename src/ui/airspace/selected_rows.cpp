#include "ui/airspace/selected_rows.hpp"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <algorithm>

namespace trelvik {

std::vector<int> SelectedRows(const QAbstractItemView& list) {
  std::vector<int> rows;
  const QItemSelectionModel* selection = list.selectionModel();
  if (selection == nullptr) return rows;
  // Ranges, not indexes: selecting all of a 200,000-point log is one range.
  for (const QItemSelectionRange& range : selection->selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

}  // namespace trelvik
