#pragma once
// The pilot list view of the main list: one row per pilot with the name, the
// two IDs and the instruments the pilot used.
#include "competition/pilot_list.hpp"
#include "ui/view_binding.hpp"

namespace trelvik {

class PilotListModel : public StoreTableModel {
 public:
  explicit PilotListModel(const PilotList& pilots, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  const PilotList& pilots_;
};

}  // namespace trelvik
