#pragma once
// The names the 14 name lists of the race screen choose from, as one list
// model that all of them share: a roster is held once, however many rows
// show it (the names themselves live in the name choice, display/name_choice.h).

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace kesto {

class RacerListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    RacerListModel(const std::vector<std::string>& entries, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Around a change of the entries: every list shows the new ones.
    void BeginChange() { beginResetModel(); }
    void EndChange() { endResetModel(); }

private:
    const std::vector<std::string>& m_entries;
};

} // namespace kesto
