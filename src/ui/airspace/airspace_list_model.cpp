#include "ui/airspace/airspace_list_model.hpp"

#include <QItemSelectionModel>
#include <QTableView>

#include "airspace/ctr_list_view.hpp"
#include "ui/list_model.hpp"
#include "ui/main_window.hpp"

namespace trelvik {

AirspaceListModel::AirspaceListModel(const AirspaceList& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void AirspaceListModel::Refresh() {
  beginResetModel();
  endResetModel();
}

int AirspaceListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(store_.areas.size());
}

int AirspaceListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kCtrColumns.size());
}

QVariant AirspaceListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
    return {};
  }
  const std::string text =
      CtrRowTexts(store_.areas[static_cast<size_t>(index.row())])[static_cast<size_t>(index.column())];
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant AirspaceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= columnCount()) return {};
  const std::string_view header = kCtrColumns[static_cast<size_t>(section)].header;
  return QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size()));
}

AirspaceViewBinding::AirspaceViewBinding(MainWindow& window, const AirspaceList& store)
    : QObject(&window), window_(window), model_(new AirspaceListModel(store, this)) {
  // The window resets its model on every view change and refresh, before it
  // sets the column widths; swapping here lets those widths land on the rows shown.
  connect(&window.Model(), &QAbstractItemModel::modelReset, this, &AirspaceViewBinding::Follow);
  Follow();
}

void AirspaceViewBinding::Follow() {
  QTableView& list = window_.List();
  QAbstractItemModel* wanted =
      window_.Mode() == ViewMode::Airspace ? static_cast<QAbstractItemModel*>(model_) : &window_.Model();
  if (wanted == model_) model_->Refresh();
  if (list.model() == wanted) return;
  // Another view's binding may hold the list; only our own rows are taken back.
  if (wanted != model_ && list.model() != model_) return;
  QItemSelectionModel* previous = list.selectionModel();
  list.setModel(wanted);
  // The view made a new selection model; the old one would stay behind.
  if (previous != nullptr) previous->deleteLater();
}

}  // namespace trelvik
