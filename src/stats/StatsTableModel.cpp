#include "StatsTableModel.h"

#include <QFont>

namespace stats {

StatsTableModel::StatsTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void StatsTableModel::setTable(stats::TextTable table) {
    beginResetModel();
    cells = std::move(table);
    endResetModel();
}

int StatsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells.rows.size());
}

int StatsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells.header.size());
}

QVariant StatsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const QStringList& row = cells.rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() < row.size() ? row[index.column()] : QString();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(
            (index.column() == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter));
    case Qt::FontRole:
        if (index.row() + 1 == rowCount()) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ToolTipRole:
        return cells.header[index.column()];
    default:
        return {};
    }
}

QVariant StatsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::ToolTipRole) return cells.header[section];
    if (role != Qt::DisplayRole) return {};
    // "Avg" over "Time (min)": the columns stay as narrow as their numbers.
    QString label = cells.header[section];
    if (section >= 3) label.replace(label.indexOf(QLatin1Char(' ')), 1, QLatin1Char('\n'));
    return label;
}

} // namespace stats
