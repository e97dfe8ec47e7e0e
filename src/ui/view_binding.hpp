#pragma once
// Rows that the window's list shows from a store of their own (airspaces,
// pilots) instead of the window's model, whenever the window shows their view.
#include <QAbstractTableModel>
#include <QObject>

#include "analysis/list_columns.hpp"

namespace trelvik {

class MainWindow;

// A table over a store that belongs to the window thread and outlives it.
class StoreTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;
  // Rebinds the rows after the store changed.
  void Refresh() {
    beginResetModel();
    endResetModel();
  }
};

// Puts the model's rows into the window's list whenever the window shows
// `view`, and the window's own rows back for the other views. The window
// rebinds its list on every view change and refresh, before it sets the
// column widths; the binding follows those, so the window's commands (select
// all, refresh, the column widths) work on these rows unchanged. Owned by the
// window; owns the model.
class ViewBinding : public QObject {
 public:
  ViewBinding(MainWindow& window, ViewMode view, StoreTableModel* model);

  StoreTableModel& Model() { return *model_; }

 private:
  void Follow();

  MainWindow& window_;
  ViewMode view_;
  StoreTableModel* model_;
};

}  // namespace trelvik
