#include "ui/competition/pilot_list_model.hpp"

#include "ui/list_model.hpp"

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
    : StoreTableModel(parent), pilots_(pilots) {}

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

}  // namespace trelvik
