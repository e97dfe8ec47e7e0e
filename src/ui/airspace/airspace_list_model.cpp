#include "ui/airspace/airspace_list_model.hpp"

#include "airspace/ctr_list_view.hpp"

namespace trelvik {

AirspaceListModel::AirspaceListModel(const AirspaceList& store, QObject* parent)
    : StoreTableModel(parent), store_(store) {}

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

}  // namespace trelvik
