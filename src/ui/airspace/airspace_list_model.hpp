#pragma once
// The airspace view of the main list: one row per airspace in list order,
// with the columns and cell texts of the airspace core. Cells are made when
// the view paints them, as in the other views.
#include "airspace/airspace_list.hpp"
#include "ui/view_binding.hpp"

namespace trelvik {

class AirspaceListModel : public StoreTableModel {
 public:
  explicit AirspaceListModel(const AirspaceList& store, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  const AirspaceList& store_;
};

}  // namespace trelvik
