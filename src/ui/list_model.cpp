#include "ui/list_model.hpp"

namespace trelvik {

ListModel::ListModel(const TrackLog& log, const WaypointList& waypoints, QObject* parent)
    : QAbstractTableModel(parent), log_(log), waypoints_(waypoints) {}

void ListModel::SetView(ViewMode mode, bool utm) {
  beginResetModel();
  mode_ = mode;
  utm_ = utm;
  endResetModel();
}

void ListModel::Refresh() {
  beginResetModel();
  endResetModel();
}

int ListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  switch (mode_) {
    case ViewMode::Waypoints: return waypoints_.Count();
    case ViewMode::TrackLog: return log_.Count();
    case ViewMode::Airspace:
    case ViewMode::PilotList: return 0;  // their stores are not held by the window yet
  }
  return 0;
}

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(Columns().size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  std::string text;
  if (mode_ == ViewMode::TrackLog) {
    text = TrackCell(log_, index.row(), index.column(), utm_);
  } else if (mode_ == ViewMode::Waypoints) {
    text = WaypointCell(waypoints_, index.row(), index.column(), utm_);
  }
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::span<const ListColumn> columns = Columns();
  if (section < 0 || section >= static_cast<int>(columns.size())) return {};
  return QString::fromLatin1(columns[static_cast<size_t>(section)].header);
}

}  // namespace trelvik
