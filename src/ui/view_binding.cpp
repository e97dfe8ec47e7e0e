#include "ui/view_binding.hpp"

#include <QItemSelectionModel>
#include <QTableView>

#include "ui/list_model.hpp"
#include "ui/main_window.hpp"

namespace trelvik {

ViewBinding::ViewBinding(MainWindow& window, ViewMode view, StoreTableModel* model)
    : QObject(&window), window_(window), view_(view), model_(model) {
  model_->setParent(this);
  connect(&window.Model(), &QAbstractItemModel::modelReset, this, &ViewBinding::Follow);
  Follow();
}

void ViewBinding::Follow() {
  QTableView& list = window_.List();
  const bool shown = window_.Mode() == view_;
  if (shown) model_->Refresh();
  QAbstractItemModel* wanted = shown ? static_cast<QAbstractItemModel*>(model_) : &window_.Model();
  if (list.model() == wanted) return;
  // Another view's binding may hold the list; only our own rows are taken back.
  if (!shown && list.model() != model_) return;
  QItemSelectionModel* previous = list.selectionModel();
  list.setModel(wanted);
  // The view made a new selection model; the old one would stay behind.
  if (previous != nullptr) previous->deleteLater();
}

}  // namespace trelvik
