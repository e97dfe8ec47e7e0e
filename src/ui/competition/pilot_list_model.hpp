#pragma once
// The pilot list view of the main list: one row per pilot with the name, the
// two IDs and the instruments the pilot used.
#include <QAbstractTableModel>
#include <QObject>

#include "competition/pilot_list.hpp"

namespace trelvik {

class MainWindow;

class PilotListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The list belongs to the window thread and outlives the model.
  explicit PilotListModel(const PilotList& pilots, QObject* parent = nullptr);
  void Refresh();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  const PilotList& pilots_;
};

// Shows the pilot rows whenever the window shows its pilot list view (as the
// airspace view's binding does for airspaces).
class PilotViewBinding : public QObject {
  Q_OBJECT

 public:
  PilotViewBinding(MainWindow& window, const PilotList& pilots);
  PilotListModel& Model() { return *model_; }

 private:
  void Follow();

  MainWindow& window_;
  PilotListModel* model_ = nullptr;
};

}  // namespace trelvik
