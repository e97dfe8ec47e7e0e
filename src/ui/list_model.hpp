#pragma once
// The main list as a virtual table over the stores: no object per row, cells
// are made when the view paints them, so a log of 200,000 points scrolls as
// smoothly as one of ten.
#include <QAbstractTableModel>

#include "analysis/list_columns.hpp"
#include "records/track_log.hpp"

namespace trelvik {

class ListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The stores belong to the window thread and outlive the model.
  ListModel(const TrackLog& log, const WaypointList& waypoints, QObject* parent = nullptr);

  // Drops all rows and columns and binds those of the view.
  void SetView(ViewMode mode, bool utm);
  // Rebinds the rows after a store was replaced.
  void Refresh();
  ViewMode Mode() const { return mode_; }
  bool Utm() const { return utm_; }
  std::span<const ListColumn> Columns() const { return ColumnsFor(mode_, utm_); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  const TrackLog& log_;
  const WaypointList& waypoints_;
  ViewMode mode_ = ViewMode::Waypoints;
  bool utm_ = false;
};

}  // namespace trelvik
