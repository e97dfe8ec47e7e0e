#include "ui/competition/pilot_list_model.hpp"

#include <QItemSelectionModel>
#include <QTableView>

#include "ui/list_model.hpp"
#include "ui/main_window.hpp"

namespace trelvik {
namespace {

std::string IdText(int32_t id) { return id < 0 ? std::string() : std::to_string(id); }

std::string DevicesText(const PilotEntry& entry) {
  std::string text;
  for (const std::string& device : entry.devices) {
    if (device.empty()) continue;
    if (!text.empty()) text += ", ";
    text += device;
  }
  return text;
}

}  // namespace

PilotListModel::PilotListModel(const PilotList& pilots, QObject* parent)
    : QAbstractTableModel(parent), pilots_(pilots) {}

void PilotListModel::Refresh() {
  beginResetModel();
  endResetModel();
}

int PilotListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(pilots_.entries.size());
}

int PilotListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(ColumnsFor(ViewMode::PilotList, false).size());
}

QVariant PilotListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  const PilotEntry& entry = pilots_.entries[static_cast<size_t>(index.row())];
  std::string text;
  switch (index.column()) {
    case 0: text = entry.name; break;
    case 1: text = IdText(entry.compId); break;
    case 2: text = IdText(entry.civlId); break;
    case 3: text = DevicesText(entry); break;
    default: return {};
  }
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant PilotListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::span<const ListColumn> columns = ColumnsFor(ViewMode::PilotList, false);
  if (section < 0 || section >= static_cast<int>(columns.size())) return {};
  return QString::fromLatin1(columns[static_cast<size_t>(section)].header);
}

PilotViewBinding::PilotViewBinding(MainWindow& window, const PilotList& pilots)
    : QObject(&window), window_(window), model_(new PilotListModel(pilots, this)) {
  connect(&window.Model(), &QAbstractItemModel::modelReset, this, &PilotViewBinding::Follow);
  Follow();
}

void PilotViewBinding::Follow() {
  QTableView& list = window_.List();
  const bool shown = window_.Mode() == ViewMode::PilotList;
  if (shown) model_->Refresh();
  QAbstractItemModel* wanted = shown ? static_cast<QAbstractItemModel*>(model_) : &window_.Model();
  if (list.model() == wanted) return;
  // Another view's binding may hold the list; only our own rows are taken back.
  if (!shown && list.model() != model_) return;
  QItemSelectionModel* previous = list.selectionModel();
  list.setModel(wanted);
  if (previous != nullptr) previous->deleteLater();
}

}  // namespace trelvik
