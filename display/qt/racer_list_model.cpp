#include "display/qt/racer_list_model.h"

namespace kesto {

RacerListModel::RacerListModel(const std::vector<std::string>& entries, QObject* parent)
    : QAbstractListModel(parent), m_entries(entries) {}

int RacerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant RacerListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_entries.size()) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return QString::fromStdString(m_entries[static_cast<size_t>(index.row())]);
}

} // namespace kesto
