#pragma once
// The airspace view of the main list: one row per airspace in list order,
// with the columns and cell texts of the airspace core. Cells are made when
// the view paints them, as in the other views.
#include <QAbstractTableModel>
#include <QObject>
#include <QPointer>

#include "airspace/airspace_list.hpp"

namespace trelvik {

class MainWindow;

class AirspaceListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The store belongs to the window thread and outlives the model.
  explicit AirspaceListModel(const AirspaceList& store, QObject* parent = nullptr);

  // Rebinds the rows after the store changed.
  void Refresh();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  const AirspaceList& store_;
};

// Puts the airspace rows into the window's list whenever the window shows its
// airspace view, and the window's own rows back for the other views. The
// window rebinds its list on every view change and refresh; the binding
// follows those, so the window's commands (select all, refresh, the column
// widths) work on the airspace rows unchanged.
class AirspaceViewBinding : public QObject {
  Q_OBJECT

 public:
  AirspaceViewBinding(MainWindow& window, const AirspaceList& store);

  AirspaceListModel& Model() { return *model_; }

 private:
  void Follow();

  MainWindow& window_;
  AirspaceListModel* model_ = nullptr;
};

}  // namespace trelvik
